// SPDX-License-Identifier: Apache-2.0
#pragma once

// Media bytes, weekday masks, output masks and trigger words are shown and typed as lower-case
// hexadecimal text. Reading is deliberately forgiving: only "0"-"9" and "a"-"f" count, and any
// other character (an upper-case letter too) or a missing one stands for 0.

#include <cstdint>
#include <string>
#include <string_view>

namespace qn470 {

// The low `digits` hex digits of value, lower case, the most significant first ("0042").
std::string formatHexDigits(uint64_t value, int digits);

// The byte as exactly two lower-case hex digits ("05", "a3").
std::string formatHexByte(uint8_t value);

// The 16-bit value as exactly four lower-case hex digits ("0042").
std::string formatHexWord(uint16_t value);

// One character's value: "0"-"9" and "a"-"f" only, anything else 0.
uint32_t hexDigitValue(char c);

// The first `digits` characters of text as hex digits, the first the most significant.
uint32_t parseHexText(std::string_view text, int digits);

inline uint8_t parseHexByte(std::string_view text) {
    return static_cast<uint8_t>(parseHexText(text, 2));
}
inline uint16_t parseHexWord(std::string_view text) {
    return static_cast<uint16_t>(parseHexText(text, 4));
}

}  // namespace qn470
