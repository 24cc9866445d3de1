// SPDX-License-Identifier: Apache-2.0
#include "config/shown_text.h"

#include <cstdint>
#include <cstdio>

namespace qn470 {
namespace {

// The length of the well-formed UTF-8 sequence at text[at] and its code point, or 0 when the
// byte there starts none (a stray continuation byte, an overlong form, a surrogate, beyond
// U+10FFFF or cut short).
std::size_t sequenceAt(std::string_view text, std::size_t at, char32_t& codePoint) {
    const auto byte = [&](std::size_t i) { return static_cast<uint8_t>(text[at + i]); };
    const uint8_t lead = byte(0);
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    }
    std::size_t length = 0;
    char32_t min = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        min = 0x80;
        codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        min = 0x800;
        codePoint = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        min = 0x10000;
        codePoint = lead & 0x07;
    } else {
        return 0;
    }
    if (text.size() - at < length) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return 0;
        }
        codePoint = (codePoint << 6) | (byte(i) & 0x3F);
    }
    if (codePoint < min || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
        return 0;
    }
    return length;
}

bool isControl(char32_t codePoint) {
    return codePoint < 0x20 || (codePoint >= 0x7F && codePoint <= 0x9F);
}

void appendEscaped(std::string& out, unsigned value) {
    char hex[5];
    std::snprintf(hex, sizeof hex, "\\x%02X", value & 0xFFu);
    out += hex;
}

}  // namespace

std::string escapeControls(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        char32_t codePoint = 0;
        const std::size_t length = sequenceAt(utf8, at, codePoint);
        if (length == 0) {
            appendEscaped(out, static_cast<uint8_t>(utf8[at]));
            ++at;
        } else if (isControl(codePoint)) {
            appendEscaped(out, static_cast<unsigned>(codePoint));
            at += length;
        } else {
            out.append(utf8.substr(at, length));
            at += length;
        }
    }
    return out;
}

}  // namespace qn470
