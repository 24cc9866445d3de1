#pragma once

// The Communication tab: mobile data connection, server, acknowledgements and SMS templates.
// Its controls are not in place yet: the page opens empty, loads and stores nothing.

#include "pages/page.h"

namespace qn470 {

class CCommunicationPage : public CPage {
    Q_OBJECT

public:
    explicit CCommunicationPage(const PageContext& context, QWidget* parent = nullptr);
};

}  // namespace qn470
