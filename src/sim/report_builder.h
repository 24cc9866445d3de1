// SPDX-License-Identifier: Apache-2.0
#pragma once

// The report a tracker sends in answer to the load command: every parameter it holds, as lines of
//   KXs,KorvelantQN-470,<mark>,<line>,<code>=<value>,...*<checksum>!CR LF
// with the values in the forms of set lines. Z4 rides in the last line only; the report is laid
// out so that a client's completion count (ReportDecoder::kCompleteCount) first reaches its end
// at that line.

#include <cstddef>
#include <string>
#include <vector>

#include "config/parameter_set.h"
#include "config/parameter_table.h"

namespace qn470 {

// At most this many event texts share a line. Keeps the report short enough, whatever the text
// lengths, that only its last line completes the count.
inline constexpr int kEventTextsPerLine = 2;

// Every line, each ending in CR LF, in sending order.
std::vector<std::string> buildReport(const ParameterSet& set);

// The value of one report item. Event texts are quoted when a comma inside them is followed by
// "$" (the receiver finds their end by the closing quote); a text without a comma goes unquoted,
// because a receiver cuts such an item at the next comma and would keep a closing quote.
std::string reportValue(const ParameterSet& set, const Parameter& p);

}  // namespace qn470
