// SPDX-License-Identifier: Apache-2.0
#include "csv/csv_text.h"

#include <csv.h>

#include "config/shown_text.h"

namespace qn470 {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// "-" digits, optionally "." digits.
bool isPlainNegativeNumber(std::string_view text) {
    std::size_t at = 1;
    const auto digits = [&] {
        const std::size_t start = at;
        while (at < text.size() && isDigit(text[at])) {
            ++at;
        }
        return at > start;
    };
    if (text.empty() || text[0] != '-' || !digits()) {
        return false;
    }
    if (at < text.size() && text[at] == '.') {
        ++at;
        if (!digits()) {
            return false;
        }
    }
    return at == text.size();
}

bool spreadsheetWouldEvaluate(std::string_view text) {
    constexpr std::string_view kFormulaStarts = "=+-@\t\r";
    return !text.empty() && kFormulaStarts.find(text.front()) != std::string_view::npos &&
           !isPlainNegativeNumber(text);
}

}  // namespace

std::string csvField(std::string_view text) {
    std::string field = spreadsheetWouldEvaluate(text) ? "'" : "";
    field += escapeControls(text);
    if (field.find_first_of(",\"") == std::string::npos) {
        return field;
    }
    // libcsv quotes the field and doubles its quotes; asked once for the size, once to write.
    std::string quoted(csv_write(nullptr, 0, field.data(), field.size()), '\0');
    csv_write(quoted.data(), quoted.size(), field.data(), field.size());
    return quoted;
}

std::string csvRecord(const std::vector<std::string>& fields) {
    std::string record;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) {
            record += ',';
        }
        record += csvField(fields[i]);
    }
    return record + '\n';
}

}  // namespace qn470
