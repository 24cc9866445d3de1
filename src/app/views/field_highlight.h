// SPDX-License-Identifier: Apache-2.0
#pragma once

// A brief frame around a control, to show where a search led. Drawn on a separate transparent
// widget, so the control's own look (style sheet, palette, change marks) is never touched.

class QWidget;

namespace qn470 {

inline constexpr int kHighlightMs = 1500;

// The frame's objectName, for finding it while it shows.
inline constexpr char kHighlightName[] = "fieldHighlight";

// Shows the frame for durationMs; it goes earlier with the control's parent.
void flashHighlight(QWidget& control, int durationMs = kHighlightMs);

}  // namespace qn470
