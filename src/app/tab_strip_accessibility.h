// SPDX-License-Identifier: Apache-2.0
#pragma once

// How assistive technology sees the tab strip: a page tab list whose children are page tabs,
// named by their labels, the current one selected. Without this its checkable buttons read as
// check boxes.

namespace qn470 {

// Safe to call more than once; the first call registers the factory for the whole program.
void installTabStripAccessibility();

}  // namespace qn470
