#pragma once

// The Function tab: ping, distance accumulator, speed alarms, geofence and parking alarm.
// Its controls are not in place yet: the page opens empty, loads and stores nothing.

#include "pages/page.h"

namespace qn470 {

class CReportPage1 : public CPage {
    Q_OBJECT

public:
    explicit CReportPage1(const PageContext& context, QWidget* parent = nullptr);
};

}  // namespace qn470
