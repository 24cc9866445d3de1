// SPDX-License-Identifier: Apache-2.0
// What a terminal, the window and a spreadsheet get of a stored value: control characters
// escaped, formulas kept as text, RFC 4180 quoting.

#include <gtest/gtest.h>

#include <string>

#include "config/shown_text.h"
#include "csv/csv_text.h"
#include "journal/journal_text.h"
#include "support/case_name.h"

namespace qn470 {
namespace {

struct Shown {
    const char* name;
    std::string text;
    std::string shown;
};

class EscapeControls : public testing::TestWithParam<Shown> {};

TEST_P(EscapeControls, ShowsEveryControlAsHexAndKeepsTheRest) {
    EXPECT_EQ(escapeControls(GetParam().text), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, EscapeControls,
    testing::Values(
        Shown{"plain", "356938035643809", "356938035643809"},
        Shown{"erase_screen", "\x1b[2J", "\\x1B[2J"},
        Shown{"osc_title", "\x1b]0;owned\x07x", "\\x1B]0;owned\\x07x"},
        Shown{"nul_tab_lf_cr", std::string("a\0b\tc\nd\re", 9), "a\\x00b\\x09c\\x0Ad\\x0De"},
        Shown{"unit_separator_and_del", "\x1f\x7f", "\\x1F\\x7F"},
        Shown{"c1_csi_as_utf8",
              "\xc2\x9b"
              "31m",
              "\\x9B31m"},
        Shown{"c1_bounds", "\xc2\x80\xc2\x9f\xc2\xa0", "\\x80\\x9F\xc2\xa0"},  // NBSP is text
        Shown{"raw_byte_not_utf8",
              "ab\x9b"
              "c\xff",
              "ab\\x9Bc\\xFF"},
        Shown{"overlong_slash", "\xc0\xaf", "\\xC0\\xAF"},
        Shown{"surrogate", "\xed\xa0\x80", "\\xED\\xA0\\x80"},
        Shown{"cut_short", "\xe2\x82", "\\xE2\\x82"},
        Shown{"multibyte_kept", "S\xc3\xbc\x64 \xe2\x84\x96 \xf0\x9f\x9a\x9a",
              "S\xc3\xbc\x64 \xe2\x84\x96 \xf0\x9f\x9a\x9a"},
        Shown{"backslash_kept", "C:\\x1B", "C:\\x1B"}),
    [](const auto& info) { return std::string(info.param.name); });

// A tracker's single-byte text through the Qt path: each byte one character, controls escaped.
TEST(TrackerText, KeepsEveryByteAndShowsItEscaped) {
    std::string bytes;
    for (int i = 0; i < 256; ++i) {
        bytes += char(i);
    }
    const QString text = trackerText(bytes);
    EXPECT_EQ(text.size(), 256);
    EXPECT_EQ(text.toLatin1().toStdString(), bytes);
    const std::string shown = escapeControls(text).toStdString();
    EXPECT_EQ(shown.substr(0, 8), "\\x00\\x01");
    EXPECT_NE(shown.find("~\\x7F\\x80"), std::string::npos);
    EXPECT_NE(shown.find("\\x9F\xc2\xa0"), std::string::npos);  // U+00A0 on: text
    EXPECT_EQ(shown.find('\x1b'), std::string::npos);
}

class CsvFields : public testing::TestWithParam<std::pair<std::string, std::string>> {};

TEST_P(CsvFields, AreTextQuotedAndEscaped) {
    EXPECT_EQ(csvField(GetParam().first), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, CsvFields,
    testing::Values(std::pair<std::string, std::string>{"", ""}, std::pair{"plain", "plain"},
                    std::pair{"=cmd|' /C calc'!A0", "'=cmd|' /C calc'!A0"},
                    std::pair{"@SUM(1)", "'@SUM(1)"}, std::pair{"+35600", "'+35600"},
                    std::pair{"-2+3", "'-2+3"}, std::pair{"-", "'-"}, std::pair{"-5", "-5"},
                    std::pair{"-12.5", "-12.5"}, std::pair{"-12.", "'-12."},
                    std::pair{"-1e5", "'-1e5"}, std::pair{"\t=1", "'\\x09=1"},
                    std::pair{"\r=1", "'\\x0D=1"}, std::pair{"a=1", "a=1"},
                    std::pair{"A,1", "\"A,1\""}, std::pair{"=1,2", "\"'=1,2\""},
                    std::pair{"say \"hi\"", "\"say \"\"hi\"\"\""},
                    std::pair{"line\nbreak", "line\\x0Abreak"}, std::pair{"\x1b[2J", "\\x1B[2J"}),
    [](const auto& info) { return caseName(info.param.first); });

TEST(CsvRecord, JoinsFieldsAndEndsInLineFeed) {
    EXPECT_EQ(csvRecord({"1", "=x", "a,b", ""}), "1,'=x,\"a,b\",\n");
}

}  // namespace
}  // namespace qn470
