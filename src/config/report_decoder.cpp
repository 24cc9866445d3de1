// SPDX-License-Identifier: Apache-2.0
#include "config/report_decoder.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>

#include "config/command_line.h"
#include "config/decimal_text.h"
#include "config/hex_text.h"
#include "config/parameter_table.h"
#include "config/parameter_value.h"

namespace qn470 {
namespace {

// The decimal number a value begins with: optional white space, an optional sign, digits; 0 when
// there is none. Read into 64 bits and saturated, so every 32-bit value the tracker sends (CA up
// to 4294967295, O6 negative) comes back as itself instead of overflowing.
int64_t leadingNumber(std::string_view value) {
    return readLeadingDecimal(value, DecimalMode{DecimalBlanks::CSpace, DecimalSign::Read}).value;
}

void store(ParameterSet& set, const Parameter& p, std::string_view value) {
    switch (p.decode) {
        case Decode::None:
            return;
        case Decode::Bit:
            writeNumber(set, p, value.empty() || value.front() != '0' ? 1 : 0);
            return;
        case Decode::Int: {
            const int64_t n = leadingNumber(value);
            if (p.condition.accepts(n)) {
                writeNumber(set, p, n);
            }
            return;
        }
        case Decode::Hex2:
            // Lower-case hex; any other character, or one missing at the end, counts as 0.
            writeNumber(set, p, parseHexText(value, 2));
            return;
        case Decode::Hex4:
            writeNumber(set, p, parseHexText(value, 4));
            return;
        case Decode::Weekday:
            writeNumber(set, p, parseHexText(value, 2) & 0x7Fu);
            return;
        case Decode::Text:
            writeText(set, p, value);
            return;
        case Decode::WholeText:
            // A report format is only usable complete; a cut one would lose its closing "!".
            if (!value.empty() && value.size() <= static_cast<std::size_t>(p.maxTextLength()) &&
                value.back() == '!') {
                writeText(set, p, value);
            }
            return;
    }
}

}  // namespace

int ReportDecoder::decode(std::string_view line, ParameterSet& set, CodeSet* arrived) const {
    const std::size_t at = line.find(kReportMark);
    if (at == std::string_view::npos) {
        return kNotReport;
    }
    // Work on a copy: the framing "*" is turned into a comma below, so the checksum reads as one
    // more item.
    std::string text(line.substr(at));
    if (const std::size_t framing = findFramingEnd(text); framing != std::string::npos) {
        text[framing] = kItemSeparator;
    }

    int result = kBlock;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(kItemSeparator, start);
        if (comma == std::string::npos) {
            break;  // what follows the last comma is the checksum
        }
        std::size_t end = comma;
        const bool quotedToEnd = commaInsideQuotedText(text, comma);
        if (quotedToEnd) {
            // The item is a quoted event text with a comma inside: it runs to the closing quote
            // that a comma follows. Without one the rest of the line is unusable.
            end = text.find(kQuotedTextEnd, start);
            if (end == std::string::npos) {
                break;
            }
        }
        const std::string_view item(text.data() + start, end - start);
        start = end + 1;

        const std::size_t equals = item.find('=');
        if (equals == std::string_view::npos || item.size() < 2) {
            continue;  // header word, device name, numbering fields
        }
        const Parameter* p = findParameter(item.substr(0, 2));
        if (p == nullptr) {
            continue;
        }
        std::string_view value = item.substr(equals + 1);
        const bool quoted = !value.empty() && value.front() == kTextQuote;
        while (!value.empty() && value.front() == kTextQuote) {
            value.remove_prefix(1);
        }
        // A quoted text without a "$"-comma in it ends at the comma behind its closing quote;
        // that quote closes the value and is not part of the text.
        if (quoted && !quotedToEnd && !value.empty() && value.back() == kTextQuote) {
            value.remove_suffix(1);
        }
        store(set, *p, value);
        if (arrived != nullptr) {
            arrived->set(parameterIndex(*p));
        }
        if (p->endsReport) {
            result = kLastBlock;
        }
    }
    return result;
}

}  // namespace qn470
