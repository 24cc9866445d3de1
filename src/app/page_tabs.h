// SPDX-License-Identifier: Apache-2.0
#pragma once

// The tabs of the view in strip order: each tab's label and how its page is made.

#include <QString>
#include <functional>
#include <vector>

#include "pages/page.h"

namespace qn470 {

struct PageTab {
    QString label;
    std::function<CPage*(const PageContext& context, QWidget* parent)> create;
};

// Main, GPS, Communication, Security, Function, Timer, Stopwatch, Counter, Input / Output,
// Motion Sensor, Serial Port; the labels are translated when the list is made.
std::vector<PageTab> pageTabs();

}  // namespace qn470
