// SPDX-License-Identifier: Apache-2.0
#pragma once

// The Function tab: ping, distance accumulator, speed alarms, geofence and parking alarm. Media,
// action and parking-trigger fields are filled by their choice dialogs; the numbers are checked
// while they are typed (PA and K2 also when they are left).

#include "pages/page.h"

namespace qn470 {

class CReportPage1 : public CPage {
    Q_OBJECT

public:
    enum : int { kParkingField = 1217 };

    explicit CReportPage1(const PageContext& context, QWidget* parent = nullptr);
};

}  // namespace qn470
