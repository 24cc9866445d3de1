// SPDX-License-Identifier: Apache-2.0
#pragma once

// Reading and writing one parameter of a ParameterSet through its table row. Integers are copied
// byte-wise (record members may be unaligned); texts are cut to their field and zero-filled.

#include <cstdint>
#include <string>
#include <string_view>

#include "config/parameter_set.h"
#include "config/parameter_table.h"

namespace qn470 {

// The value of a numeric parameter: flag bits as 0/1, signed fields sign-extended, others
// zero-extended. Texts give 0.
int64_t readNumber(const ParameterSet& set, const Parameter& p);

// Stores the low bits of value into the field; a flag bit is set when value is non-zero.
void writeNumber(ParameterSet& set, const Parameter& p, int64_t value);

// The text of a text parameter up to its terminator (empty for numbers).
std::string readText(const ParameterSet& set, const Parameter& p);

// Copies at most maxTextLength() characters and fills the rest of the field with zeros.
void writeText(ParameterSet& set, const Parameter& p, std::string_view text);

// Convenience lookups by code for callers outside the core (pages, tests, tools).
inline int64_t readNumber(const ParameterSet& set, std::string_view code) {
    return readNumber(set, parameter(code));
}
inline void writeNumber(ParameterSet& set, std::string_view code, int64_t value) {
    writeNumber(set, parameter(code), value);
}
inline std::string readText(const ParameterSet& set, std::string_view code) {
    return readText(set, parameter(code));
}
inline void writeText(ParameterSet& set, std::string_view code, std::string_view text) {
    writeText(set, parameter(code), text);
}

}  // namespace qn470
