#pragma once

// The Input / Output tab: ACC and digital inputs, analog thresholds and the digital outputs.
// Its controls are not in place yet: the page opens empty, loads and stores nothing.

#include "pages/page.h"

namespace qn470 {

class CDigital : public CPage {
    Q_OBJECT

public:
    explicit CDigital(const PageContext& context, QWidget* parent = nullptr);
};

}  // namespace qn470
