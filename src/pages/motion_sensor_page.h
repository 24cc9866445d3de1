// SPDX-License-Identifier: Apache-2.0
#pragma once

// The Motion Sensor tab: reporting in the static and moving states, what is reported when the
// state changes, the thresholds that decide the state and the sensor sensitivity.

#include "pages/page.h"

namespace qn470 {

class CSensor : public CPage {
    Q_OBJECT

public:
    explicit CSensor(const PageContext& context, QWidget* parent = nullptr);
};

}  // namespace qn470
