// SPDX-License-Identifier: Apache-2.0
#pragma once

// The GPS tab: GPS power timing, NMEA output and what happens when the antenna fails. The
// GPS-off-time settings (C7 to CB) have no visible controls but are loaded and stored all the
// same.
//
// Opening checks the two GPS-on times first: a value the tracker cannot take stops the opening
// with an "error" box, and the page then shows only what it checked.

#include <vector>

#include "pages/page.h"

namespace qn470 {

class CGPSPage : public CPage {
    Q_OBJECT

public:
    // Control ids, also the widgets' objectNames.
    enum : int {
        kC1 = 1002,
        kC2 = 1003,
        kC3 = 2101,
        kC5 = 1010,
        kCC = 1184,
        kCD = 1185,
        kC7 = 1071,
        kC8 = 1004,
        kC9 = 1005,
        kCA = 1006,
        kCB = 1079,
    };

    explicit CGPSPage(const PageContext& context, QWidget* parent = nullptr);

    StoreResult StoreValues() override;

protected:
    void onOpen() override;
    void afterLoad() override;

private:
    bool showChecked(int id, const char* code);
    void stopOpening(std::vector<int> shown);
    void applyOffTimeEnabling();

    // The controls the opening filled when it stopped early; empty once the page shows the
    // whole record.
    std::vector<int> m_partial;
};

}  // namespace qn470
