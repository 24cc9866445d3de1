// SPDX-License-Identifier: Apache-2.0
#pragma once

// The one reader of a decimal number at the start of a text. The callers differ only in which
// blanks may come first, what a sign means, and where an over-long number sticks.

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>

namespace qn470 {

enum class DecimalBlanks : uint8_t {
    None,      // the number starts at the first character
    SpaceTab,  // ' ' and '\t' (profile values, typed fields)
    CSpace,    // ' ' and '\t' to '\r', like C's isspace (tracker reports, the baud box)
};

enum class DecimalSign : uint8_t {
    None,     // a sign is not part of the number, so nothing is read
    Read,     // '+' or '-' is read and kept
    Skipped,  // '+' or '-' is read over but dropped: the value is the magnitude
};

struct DecimalMode {
    DecimalBlanks blanks = DecimalBlanks::CSpace;
    DecimalSign sign = DecimalSign::Read;
    int64_t min = std::numeric_limits<int64_t>::min();  // larger numbers stick at the bounds
    int64_t max = std::numeric_limits<int64_t>::max();
};

struct LeadingDecimal {
    int64_t value = 0;       // 0 when there are no digits
    std::size_t digits = 0;  // how many digits were read
    std::size_t end = 0;     // where reading stopped
};

// Blanks, a sign and digits as the mode allows; the value is the exact number clamped to
// [mode.min, mode.max], so no length of digits overflows.
LeadingDecimal readLeadingDecimal(std::string_view text, const DecimalMode& mode);

inline bool isDecimalBlank(char c, DecimalBlanks blanks) {
    switch (blanks) {
        case DecimalBlanks::None:
            return false;
        case DecimalBlanks::SpaceTab:
            return c == ' ' || c == '\t';
        case DecimalBlanks::CSpace:
            return c == ' ' || (c >= '\t' && c <= '\r');
    }
    return false;
}

}  // namespace qn470
