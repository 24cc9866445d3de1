#pragma once

// The Motion Sensor tab: reporting in the static and moving states and the state thresholds.
// Its controls are not in place yet: the page opens empty, loads and stores nothing.

#include "pages/page.h"

namespace qn470 {

class CSensor : public CPage {
    Q_OBJECT

public:
    explicit CSensor(const PageContext& context, QWidget* parent = nullptr);
};

}  // namespace qn470
