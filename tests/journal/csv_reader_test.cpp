// SPDX-License-Identifier: Apache-2.0
// The CSV reader as spreadsheets save files: separators, quoting, line ends and line numbers.

#include <gtest/gtest.h>

#include "csv/csv_reader.h"

namespace qn470 {
namespace {

struct ReadCase {
    const char* name;
    std::string text;
    // Each record as "line:field|field"; or the error when the read fails.
    std::vector<std::string> records;
    std::string error;
};

std::string shown(const CsvRecord& record) {
    std::string text = std::to_string(record.line) + ":";
    for (std::size_t i = 0; i < record.fields.size(); ++i) {
        text += (i > 0 ? "|" : "") + record.fields[i];
    }
    return text;
}

class CsvReader : public testing::TestWithParam<ReadCase> {};

TEST_P(CsvReader, ReadsRecordsWithTheirLines) {
    const CsvRead read = readCsv(GetParam().text);
    EXPECT_EQ(read.error, GetParam().error);
    std::vector<std::string> records;
    for (const CsvRecord& record : read.records) {
        records.push_back(shown(record));
    }
    EXPECT_EQ(records, GetParam().records);
}

INSTANTIATE_TEST_SUITE_P(
    , CsvReader,
    testing::Values(
        ReadCase{"CommasAndLf", "imei,O5\n1,a\n", {"1:imei|O5", "2:1|a"}, ""},
        ReadCase{
            "SemicolonsWhenTheHeaderHasNoComma", "imei;O5\n1;a,b\n", {"1:imei|O5", "2:1|a,b"}, ""},
        ReadCase{
            "CommasWinWhenTheHeaderHasBoth", "imei,O5;x\n1,a;b\n", {"1:imei|O5;x", "2:1|a;b"}, ""},
        ReadCase{
            "CrLfAndNoLastLineEnd", "imei,O5\r\n1,a\r\n2,b", {"1:imei|O5", "2:1|a", "3:2|b"}, ""},
        ReadCase{"ByteOrderMarkPassedOver", "\xEF\xBB\xBFimei\n1\n", {"1:imei", "2:1"}, ""},
        ReadCase{"QuotedCommaQuoteAndLineBreak",
                 "imei,O5\n1,\"a,\"\"b\"\"\nc\"\n2,d\n",
                 {"1:imei|O5", "2:1|a,\"b\"\nc", "4:2|d"},
                 ""},
        ReadCase{"BlankLinesPassedOver", "imei\n\n1\n\n2\n", {"1:imei", "3:1", "5:2"}, ""},
        ReadCase{"EmptyFieldsKept", "imei,O5,C1\n1,,\n", {"1:imei|O5|C1", "2:1||"}, ""},
        ReadCase{"QuoteInsideAnUnquotedField",
                 "imei,O5\n1,a\"b\n",
                 {},
                 "line 2: a quote where a field may not have one, or one never closed"},
        ReadCase{"QuoteNeverClosed",
                 "imei,O5\n1,\"a\n2,b\n",
                 {},
                 "line 3: a quote where a field may not have one, or one never closed"}),
    [](const testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qn470
