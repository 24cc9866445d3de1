// SPDX-License-Identifier: Apache-2.0
#include "config/decimal_text.h"

#include <algorithm>

namespace qn470 {

LeadingDecimal readLeadingDecimal(std::string_view text, const DecimalMode& mode) {
    std::size_t i = 0;
    while (i < text.size() && isDecimalBlank(text[i], mode.blanks)) {
        ++i;
    }
    bool negative = false;
    if (mode.sign != DecimalSign::None && i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = mode.sign == DecimalSign::Read && text[i] == '-';
        ++i;
    }
    // Magnitude of the most negative int64; larger numbers stick there.
    constexpr uint64_t kLimit = static_cast<uint64_t>(std::numeric_limits<int64_t>::max()) + 1;
    LeadingDecimal result;
    uint64_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const auto digit = static_cast<uint64_t>(text[i] - '0');
        magnitude = magnitude > (kLimit - digit) / 10 ? kLimit : magnitude * 10 + digit;
        ++result.digits;
    }
    result.end = i;
    int64_t value = 0;
    if (negative) {
        value = magnitude == kLimit ? std::numeric_limits<int64_t>::min()
                                    : -static_cast<int64_t>(magnitude);
    } else {
        value = magnitude == kLimit ? std::numeric_limits<int64_t>::max()
                                    : static_cast<int64_t>(magnitude);
    }
    result.value = std::clamp(value, mode.min, mode.max);
    return result;
}

}  // namespace qn470
