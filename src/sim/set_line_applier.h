// SPDX-License-Identifier: Apache-2.0
#pragma once

// How the tracker takes in a set line ("KXS,KorvelantQN-470,<mark>,<block>,<code>=<value>...").
// It applies the same value rules as a client decoding a report (ranges, hex digits, quoted
// event texts), so the report decoder does the work; the codes a report never carries but set
// lines do (T0..T3, U0..U2) are stored here as well.

#include <optional>
#include <string_view>

#include "config/parameter_set.h"

namespace qn470 {

// Where a set line sits in its series: its mark (1 first, 0 inside, 2 closing) and block.
struct SetLineFrame {
    int mark = -1;
    int block = -1;
};

// The frame of a set line for this device; nothing when it is not one.
std::optional<SetLineFrame> setLineFrame(std::string_view line);

// Applies every item of a set line to set. False (and nothing changed) when the line is not a
// set line for this device.
bool applySetLine(std::string_view line, ParameterSet& set);

}  // namespace qn470
