// SPDX-License-Identifier: Apache-2.0
#include "config/wire_value.h"

#include "config/command_line.h"
#include "config/hex_text.h"
#include "config/parameter_value.h"

namespace qn470 {

std::string formatWireValue(const ParameterSet& set, const Parameter& p, Wire wire) {
    switch (wire) {
        case Wire::Dec:
            return std::to_string(readNumber(set, p));
        case Wire::Bit:
        case Wire::Bool:
            return readNumber(set, p) != 0 ? "1" : "0";
        case Wire::Hex2:
            return formatHexDigits(static_cast<uint64_t>(readNumber(set, p)), 2);
        case Wire::Hex4:
            return formatHexDigits(static_cast<uint64_t>(readNumber(set, p)), 4);
        case Wire::Text:
            return readText(set, p);
        case Wire::QText:
            return kTextQuote + readText(set, p) + kTextQuote;
        case Wire::None:
            return p.isText() ? readText(set, p) : std::to_string(readNumber(set, p));
    }
    return {};
}

}  // namespace qn470
