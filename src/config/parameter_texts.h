// SPDX-License-Identifier: Apache-2.0
#pragma once

// What a parameter is called where it is shown: the label before its control, the hint after it
// and the unit its number counts in. One row per code that a page shows, so a page, a search or a
// list of differences names a parameter in the same words.
//
// The texts are the window's own, byte for byte, odd spellings and double blanks included: users
// and their notes know the fields by them. Every text is a string literal, so `data()` of a
// non-empty one is NUL-terminated.

#include <span>
#include <string_view>

namespace qn470 {

struct ParameterText {
    std::string_view code;
    std::string_view label;  // e.g. "(O2) Datalogger interval :"
    std::string_view hint;   // e.g. "(0 ~ 65535 sec, 0=disable)"; empty when none
    std::string_view unit;   // "sec", "mV", "m", "km/h"; empty for a count, a text or a choice
};

// Every row, grouped by the page that shows it.
std::span<const ParameterText> parameterTexts();

// The row of a code (case-sensitive), or nullptr when no page shows it.
const ParameterText* findParameterText(std::string_view code);

}  // namespace qn470
