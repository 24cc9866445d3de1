#pragma once

// The Timer tab: four timers with their weekday masks, media and actions.
// Its controls are not in place yet: the page opens empty, loads and stores nothing.

#include "pages/page.h"

namespace qn470 {

class CReportPage2 : public CPage {
    Q_OBJECT

public:
    explicit CReportPage2(const PageContext& context, QWidget* parent = nullptr);
};

}  // namespace qn470
