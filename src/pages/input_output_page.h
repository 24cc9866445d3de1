// SPDX-License-Identifier: Apache-2.0
#pragma once

// The Input / Output tab: what the tracker reports, and which action it runs, when the ACC
// input or a digital input changes; the analog-input thresholds; and the digital output status,
// set through the "Dout all" dialog.

#include "pages/page.h"

namespace qn470 {

class CDigital : public CPage {
    Q_OBJECT

public:
    explicit CDigital(const PageContext& context, QWidget* parent = nullptr);
};

}  // namespace qn470
