// SPDX-License-Identifier: Apache-2.0
#pragma once

// The Counter tab: four event counters, each with a trigger level, an automatic reset, a report
// media and an action.

#include "pages/page.h"

namespace qn470 {

class CCounter : public CPage {
    Q_OBJECT

public:
    explicit CCounter(const PageContext& context, QWidget* parent = nullptr);
};

}  // namespace qn470
