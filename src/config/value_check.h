// SPDX-License-Identifier: Apache-2.0
#pragma once

// The one check of a parameter's value, used by profiles, the pages, the command-line tool and
// before every save: is it a value the tracker takes, and does its set line decode back to exactly
// this value?
//
// Numbers: the range of the decoder's condition inside what the field holds (flags and boolean
// bytes 0 or 1, weekday masks 0 to 127, ports 0, 80 or 1024 to 65535).
// Texts: at most the field's length; printable single-byte characters only (no CR, LF or NUL);
// no "*" with "!" three characters after it, which the tracker takes for the end of the line.
// Texts sent as they stand hold no comma (it ends the item) and do not start with a double
// quote (the decoder skips leading quotes). Event texts do not hold `",` (it ends the text), do
// not start with a comma or a quote, and their first comma, if any, is followed by "$" (the
// tracker's "$6,$1"), so the decoder knows the comma is inside the text. O3 and ON end in "!".

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/parameter_set.h"
#include "config/parameter_table.h"

namespace qn470 {

struct NumberRange {
    int64_t min = 0;
    int64_t max = 0;
};

// The numbers a numeric parameter may hold (the port rule aside: see numberProblem).
NumberRange acceptedRange(const Parameter& p);

// Nothing when the number is accepted, else what is wrong ("must be between 60 and 600").
std::optional<std::string> numberProblem(const Parameter& p, int64_t n);

// Nothing when every character may stand in the text, else what is wrong. Length aside, so a
// page can check while the user types.
std::optional<std::string> textCharacterProblem(const Parameter& p, std::string_view text);

// The part of textCharacterProblem that no further typing can cure: everything but the rules on
// where an event text's first comma stands (a comma is typed before the "$" that follows it).
std::optional<std::string> textTypingProblem(const Parameter& p, std::string_view text);

// Characters, length and the shape a text must have.
std::optional<std::string> textProblem(const Parameter& p, std::string_view text);

struct ValueProblem {
    const Parameter* parameter = nullptr;
    std::string value;    // as a profile shows it
    std::string problem;  // what is wrong
};

// Every value of the set that a profile or a set line carries and that breaks its rule, in table
// order.
std::vector<ValueProblem> checkParameterSet(const ParameterSet& set);

// "C1=70000 (must be between 60 and 600); E0=a,b (holds a comma ...)" for messages.
std::string describeProblems(const std::vector<ValueProblem>& problems, std::size_t shown = 5);

}  // namespace qn470
