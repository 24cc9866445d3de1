// SPDX-License-Identifier: Apache-2.0
#pragma once

// The Timer tab: four timers (W, X, Y, Z), each with its start and end time of day, report
// interval, weekday mask, report media and action. Times and intervals are checked while they
// are typed; the mask, media and action fields are filled by their choice dialogs.

#include "pages/page.h"

namespace qn470 {

class CReportPage2 : public CPage {
    Q_OBJECT

public:
    explicit CReportPage2(const PageContext& context, QWidget* parent = nullptr);
};

}  // namespace qn470
