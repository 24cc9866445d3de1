#pragma once

// The Security tab: SOS phone numbers, SOS reporting and voice-monitor calls.
// Its controls are not in place yet: the page opens empty, loads and stores nothing.

#include "pages/page.h"

namespace qn470 {

class CSecurityPage : public CPage {
    Q_OBJECT

public:
    explicit CSecurityPage(const PageContext& context, QWidget* parent = nullptr);
};

}  // namespace qn470
