// SPDX-License-Identifier: Apache-2.0
// Readable names for the cases of value-parameterised suites, so that `ctest -N` lists words
// and `ctest -R` can pick one case. GoogleTest accepts only letters, digits and '_' in a name.
#pragma once

#include <cctype>
#include <cstdio>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>
#include <type_traits>

namespace qn470 {

namespace case_name_detail {

inline const char* wordFor(char c) {
    switch (c) {
        case ' ':
            return "sp";
        case '\t':
            return "tab";
        case '\r':
            return "cr";
        case '\n':
            return "lf";
        case '-':
            return "minus";
        case '+':
            return "plus";
        case '.':
            return "dot";
        case ',':
            return "comma";
        case '/':
            return "slash";
        case '(':
            return "open";
        case ')':
            return "close";
        case '$':
            return "dollar";
        case '=':
            return "eq";
        case '*':
            return "star";
        case '"':
            return "quote";
        case ':':
            return "colon";
        case ';':
            return "semicolon";
        default:
            return nullptr;
    }
}

inline void appendSeparator(std::string& name) {
    if (!name.empty() && name.back() != '_')
        name += '_';
}

}  // namespace case_name_detail

// Maps any text to an identifier: letters and digits are kept, a few punctuation marks become
// words ("-5" gives "minus_5"), any other byte its hex code; runs of '_' are collapsed and an
// empty text is "empty".
inline std::string caseName(std::string_view text) {
    std::string name;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80 && std::isalnum(byte)) {
            name += c;
        } else if (c == '_') {
            case_name_detail::appendSeparator(name);
        } else {
            case_name_detail::appendSeparator(name);
            if (const char* word = case_name_detail::wordFor(c)) {
                name += word;
            } else {
                char hex[4];
                std::snprintf(hex, sizeof hex, "x%02X", byte);
                name += hex;
            }
            name += '_';
        }
    }
    while (!name.empty() && name.back() == '_')
        name.pop_back();
    return name.empty() ? std::string("empty") : name;
}

// A number as a name part: -5 gives "minus_5".
template <typename Number, typename = std::enable_if_t<std::is_arithmetic_v<Number>>>
std::string caseName(Number number) {
    return caseName(std::to_string(number));
}

// The parts, each mapped by caseName, joined with '_'.
inline std::string caseNames(std::initializer_list<std::string> parts) {
    std::string name;
    for (const std::string& part : parts) {
        case_name_detail::appendSeparator(name);
        name += caseName(part);
    }
    return name;
}

// A text followed by a label and a list of numbers: ("0e", "click", {3, 7}) gives
// "0e_click_3_7", an empty list "0e_click_none".
template <typename Numbers>
std::string caseNameWith(std::string_view text, std::string_view label, const Numbers& numbers) {
    std::string name = caseName(text) + "_" + caseName(label);
    if (std::empty(numbers))
        return name + "_none";
    for (const auto number : numbers)
        name += "_" + caseName(number);
    return name;
}

// The name of a typed edit on a page: the control id, the keys typed and, where the case has
// it, whether the focus moves on afterwards ("f2207_80_leave").
template <typename Case>
std::string typingCaseName(const Case& c) {
    std::string name = "f" + std::to_string(c.id) + "_" + caseName(c.keys);
    if constexpr (requires { c.leave; }) {
        if (c.leave)
            name += "_leave";
    }
    return name;
}

}  // namespace qn470
