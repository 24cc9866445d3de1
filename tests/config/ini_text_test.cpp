// SPDX-License-Identifier: Apache-2.0
#include "config/ini_text.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace qn470 {
namespace {

struct LookupCase {
    const char* name;
    std::string_view text;
    std::string_view key;
    std::optional<std::string_view> expected;

    friend void PrintTo(const LookupCase& c, std::ostream* os) { *os << c.name; }
};

class IniLookup : public testing::TestWithParam<LookupCase> {};

TEST_P(IniLookup, FindsTheValueTheRulesSay) {
    const LookupCase& c = GetParam();
    const auto section = IniSection::parse(c.text, "QN-470");
    ASSERT_TRUE(section.has_value());
    EXPECT_EQ(section->value(c.key), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniLookup,
    testing::Values(
        LookupCase{"CrLf", "[QN-470]\r\nC1=5\r\nC2=6\r\n", "C2", "6"},
        LookupCase{"LfOnly", "[QN-470]\nC1=5\nC2=6\n", "C2", "6"},
        LookupCase{"NoFinalLineEnd", "[QN-470]\r\nC1=5", "C1", "5"},
        LookupCase{"SectionNameAnyCase", "[qn-470]\r\nC1=5\r\n", "C1", "5"},
        LookupCase{"SectionNameBlanks", "  [ QN-470 ]  \r\nC1=5\r\n", "C1", "5"},
        LookupCase{"KeyAnyCase", "[QN-470]\r\npa1=7\r\n", "Pa1", "7"},
        LookupCase{"FirstKeyWins", "[QN-470]\r\nC1=1\r\nc1=2\r\nC1=3\r\n", "C1", "1"},
        LookupCase{"BlanksTrimmed", "[QN-470]\r\n \t C1 \t=  a b \t\r\n", "C1", "a b"},
        LookupCase{"EmptyValuePresent", "[QN-470]\r\nC1=\r\n", "C1", ""},
        LookupCase{"ValueHoldsEquals", "[QN-470]\r\nO3=a=b\r\n", "O3", "a=b"},
        LookupCase{"ValueStartsWithSemicolon", "[QN-470]\r\nO3=;x\r\n", "O3", ";x"},
        LookupCase{"QuotesKeptByValue", "[QN-470]\r\nBA=\"x\"\r\n", "BA", "\"x\""},
        LookupCase{"CommentLine", "[QN-470]\r\n;C1=5\r\n", "C1", std::nullopt},
        LookupCase{"LineWithoutEquals", "[QN-470]\r\nC1\r\n", "C1", std::nullopt},
        LookupCase{"KeyBeforeSection", "C1=5\r\n[QN-470]\r\n", "C1", std::nullopt},
        LookupCase{"KeyInOtherSection", "[Other]\r\nC1=5\r\n[QN-470]\r\n", "C1", std::nullopt},
        LookupCase{"SectionEndsAtNext", "[QN-470]\r\n[Other]\r\nC1=5\r\n", "C1", std::nullopt},
        LookupCase{"FirstSectionWins", "[QN-470]\r\nC1=1\r\n[QN-470]\r\nC2=2\r\n", "C2",
                   std::nullopt},
        LookupCase{"KeyIsWholeName", "[QN-470]\r\nPa1=7\r\n", "Pa", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IniSection, MissingSectionIsNoSection) {
    EXPECT_FALSE(IniSection::parse("", "QN-470").has_value());
    EXPECT_FALSE(IniSection::parse("C1=5\r\n", "QN-470").has_value());
    EXPECT_FALSE(IniSection::parse("[QN-4700]\r\nC1=5\r\n", "QN-470").has_value());
    EXPECT_FALSE(IniSection::parse(";[QN-470]\r\n", "QN-470").has_value());
    const auto empty = IniSection::parse("[QN-470]", "QN-470");
    ASSERT_TRUE(empty.has_value());
    EXPECT_EQ(empty->keyCount(), 0u);
}

TEST(IniSection, StringReaderRemovesOnePairOfQuotes) {
    struct Case {
        std::string_view stored;
        std::string_view read;
    };
    const Case cases[] = {
        {"abc", "abc"},         {"\"abc\"", "abc"},   {"'abc'", "abc"},   {"\"\"", ""},
        {"\"", "\""},           {"\"abc'", "\"abc'"}, {"\"abc", "\"abc"}, {"a\"b\"", "a\"b\""},
        {"\"\"x\"\"", "\"x\""}, {"\" x \"", " x "},
    };
    for (const Case& c : cases) {
        const std::string text = "[QN-470]\r\nK=" + std::string(c.stored) + "\r\n";
        const auto section = IniSection::parse(text, "QN-470");
        ASSERT_TRUE(section.has_value());
        EXPECT_EQ(section->readString("K", "default"), c.read) << c.stored;
        EXPECT_EQ(section->readString("Missing", "default"), "default");
    }
}

TEST(IniSection, NumberReader) {
    constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
    constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
    struct Case {
        std::string_view value;
        int64_t number;
    };
    const Case cases[] = {
        {"0", 0},
        {"42", 42},
        {"  42", 42},
        {"+7", 7},
        {"-29", -29},
        {"12abc", 12},
        {"1 2", 1},
        {"abc", 0},
        {"", 0},
        {"-", 0},
        {"- 5", 0},
        {"0x10", 0},
        {"4294967294", 4294967294},
        {"9223372036854775807", kMax},
        {"9223372036854775808", kMax},
        {"99999999999999999999999", kMax},
        {"-9223372036854775808", kMin},
        {"-9223372036854775809", kMin},
        {"-99999999999999999999999", kMin},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(parseIniInt(c.value), c.number) << '"' << c.value << '"';
    }
    const auto section = IniSection::parse("[QN-470]\r\nA=-5\r\nB=\r\n", "QN-470");
    ASSERT_TRUE(section.has_value());
    EXPECT_EQ(section->readInt("a", 9), -5);
    EXPECT_EQ(section->readInt("B", 9), 0);        // present but empty: not a number
    EXPECT_EQ(section->readInt("Missing", 9), 9);  // missing: the fallback
}

TEST(IniWriter, WritesSectionThenKeyLines) {
    IniWriter writer("QN-470");
    writer.add("A0", "1");
    writer.add("BA", "\"x,$6,$1\"");
    writer.add("O5", "");
    EXPECT_EQ(writer.text(), "[QN-470]\r\nA0=1\r\nBA=\"x,$6,$1\"\r\nO5=\r\n");
}

TEST(IniWriter, LineBreaksInAValueCannotMakeKeys) {
    IniWriter writer("QN-470");
    writer.add("O5", "a\r\nZE=1\rb\n[Other]");
    writer.add("C1", "5");
    EXPECT_EQ(writer.text(), "[QN-470]\r\nO5=aZE=1b[Other]\r\nC1=5\r\n");
    const auto section = IniSection::parse(writer.text(), "QN-470");
    ASSERT_TRUE(section.has_value());
    EXPECT_EQ(section->keyCount(), 2u);
    EXPECT_EQ(section->value("C1"), "5");
}

}  // namespace
}  // namespace qn470
