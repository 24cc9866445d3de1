// SPDX-License-Identifier: Apache-2.0
#pragma once

// The Stopwatch tab: four stopwatches (W, X, Y, Z), each with a report interval, a number of
// reports, a report media, an action and an enable switch.

#include "pages/page.h"

namespace qn470 {

class CStopwatch : public CPage {
    Q_OBJECT

public:
    explicit CStopwatch(const PageContext& context, QWidget* parent = nullptr);
};

}  // namespace qn470
