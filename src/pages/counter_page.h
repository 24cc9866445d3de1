#pragma once

// The Counter tab: four event counters.
// Its controls are not in place yet: the page opens empty, loads and stores nothing.

#include "pages/page.h"

namespace qn470 {

class CCounter : public CPage {
    Q_OBJECT

public:
    explicit CCounter(const PageContext& context, QWidget* parent = nullptr);
};

}  // namespace qn470
