#pragma once

// The GPS tab: GPS power timing, NMEA output and what happens when the antenna fails.
// Its controls are not in place yet: the page opens empty, loads and stores nothing.

#include "pages/page.h"

namespace qn470 {

class CGPSPage : public CPage {
    Q_OBJECT

public:
    explicit CGPSPage(const PageContext& context, QWidget* parent = nullptr);
};

}  // namespace qn470
