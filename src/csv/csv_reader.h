// SPDX-License-Identifier: Apache-2.0
#pragma once

// Reads a CSV file as a spreadsheet saves it (RFC 4180 quoting, through libcsv): UTF-8 or plain
// ASCII with or without a byte-order mark, comma or semicolon between fields (a spreadsheet set
// to a decimal comma saves semicolons; the header line tells which), CR LF or LF line ends.
// Blank lines are passed over. Quoting that breaks the rules (a quote inside an unquoted field,
// an unclosed quote) fails the whole read.

#include <string>
#include <string_view>
#include <vector>

namespace qn470 {

struct CsvRecord {
    int line = 0;  // 1-based line of the file where the record starts
    std::vector<std::string> fields;
};

struct CsvRead {
    std::vector<CsvRecord> records;
    std::string error;  // "line 4: malformed quoting", empty when the read succeeded
    bool ok() const { return error.empty(); }
};

CsvRead readCsv(std::string_view text);

}  // namespace qn470
