// SPDX-License-Identifier: Apache-2.0
#include "config/hex_text.h"

namespace qn470 {

std::string formatHexDigits(uint64_t value, int digits) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out(static_cast<std::size_t>(digits), '0');
    for (int i = digits - 1; i >= 0; --i) {
        out[static_cast<std::size_t>(i)] = kHex[value & 0xFu];
        value >>= 4;
    }
    return out;
}

uint32_t hexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return static_cast<uint32_t>(c - '0');
    }
    if (c >= 'a' && c <= 'f') {
        return static_cast<uint32_t>(c - 'a' + 10);
    }
    return 0;
}

std::string formatHexByte(uint8_t value) {
    return formatHexDigits(value, 2);
}

std::string formatHexWord(uint16_t value) {
    return formatHexDigits(value, 4);
}

uint32_t parseHexText(std::string_view text, int digits) {
    uint32_t value = 0;
    for (int i = 0; i < digits; ++i) {
        const std::size_t at = static_cast<std::size_t>(i);
        value = value * 16 + (at < text.size() ? hexDigitValue(text[at]) : 0);
    }
    return value;
}

}  // namespace qn470
