// SPDX-License-Identifier: Apache-2.0
#include "csv/csv_reader.h"

#include <csv.h>

#include <algorithm>

namespace qn470 {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// A semicolon only when the header line holds one and no comma; a comma otherwise.
unsigned char delimiterOf(std::string_view text) {
    const std::string_view header = text.substr(0, text.find_first_of("\r\n"));
    const bool semicolons =
        header.find(';') != std::string_view::npos && header.find(',') == std::string_view::npos;
    return semicolons ? ';' : ',';
}

std::string errorText(csv_parser& parser) {
    const int error = csv_error(&parser);
    return error == CSV_EPARSE ? "a quote where a field may not have one, or one never closed"
                               : csv_strerror(error);
}

struct Reader {
    CsvRead result;
    CsvRecord record;
    int line = 1;            // the line being fed to the parser
    int breaksInRecord = 0;  // line ends inside the quoted fields of the record so far
};

void onField(void* data, std::size_t size, void* context) {
    auto& reader = *static_cast<Reader*>(context);
    std::string field(static_cast<const char*>(data), data != nullptr ? size : 0);
    reader.breaksInRecord += static_cast<int>(std::count(field.begin(), field.end(), '\n'));
    reader.record.fields.push_back(std::move(field));
}

void onRecordEnd(int, void* context) {
    auto& reader = *static_cast<Reader*>(context);
    // The record ends on the line being fed; it started as many lines earlier as its fields hold.
    reader.record.line = reader.line - reader.breaksInRecord;
    reader.result.records.push_back(std::move(reader.record));
    reader.record = {};
    reader.breaksInRecord = 0;
}

}  // namespace

CsvRead readCsv(std::string_view text) {
    if (text.starts_with(kByteOrderMark)) {
        text.remove_prefix(kByteOrderMark.size());
    }
    csv_parser parser;
    if (csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI) != 0) {
        return {{}, "out of memory"};
    }
    csv_set_delim(&parser, delimiterOf(text));
    Reader reader;
    // Fed a line at a time, so a record's line number is known.
    std::string_view rest = text;
    while (!rest.empty() && reader.result.error.empty()) {
        const std::size_t end = rest.find('\n');
        const std::string_view chunk =
            rest.substr(0, end == std::string_view::npos ? end : end + 1);
        if (csv_parse(&parser, chunk.data(), chunk.size(), onField, onRecordEnd, &reader) !=
            chunk.size()) {
            reader.result.error = "line " + std::to_string(reader.line) + ": " + errorText(parser);
        }
        rest.remove_prefix(chunk.size());
        ++reader.line;
    }
    if (reader.result.error.empty()) {
        --reader.line;  // the last record ends on the last line fed
        if (csv_fini(&parser, onField, onRecordEnd, &reader) != 0) {
            reader.result.error = "line " + std::to_string(reader.line) + ": " + errorText(parser);
        }
    }
    csv_free(&parser);
    if (!reader.result.error.empty()) {
        reader.result.records.clear();
    }
    return std::move(reader.result);
}

}  // namespace qn470
