#pragma once

// The Stopwatch tab: four stopwatches.
// Its controls are not in place yet: the page opens empty, loads and stores nothing.

#include "pages/page.h"

namespace qn470 {

class CStopwatch : public CPage {
    Q_OBJECT

public:
    explicit CStopwatch(const PageContext& context, QWidget* parent = nullptr);
};

}  // namespace qn470
