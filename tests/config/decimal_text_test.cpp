// SPDX-License-Identifier: Apache-2.0
#include "config/decimal_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "config/hex_text.h"

namespace qn470 {
namespace {

constexpr int64_t kInt64Min = std::numeric_limits<int64_t>::min();
constexpr int64_t kInt64Max = std::numeric_limits<int64_t>::max();

struct DecimalCase {
    const char* name;
    std::string_view text;
    DecimalMode mode;
    int64_t value;
    std::size_t digits;
    std::size_t end;
};

class LeadingDecimalRead : public testing::TestWithParam<DecimalCase> {};

TEST_P(LeadingDecimalRead, GivesValueDigitsAndEnd) {
    const DecimalCase& c = GetParam();
    const LeadingDecimal read = readLeadingDecimal(c.text, c.mode);
    EXPECT_EQ(read.value, c.value);
    EXPECT_EQ(read.digits, c.digits);
    EXPECT_EQ(read.end, c.end);
}

constexpr DecimalMode kC{DecimalBlanks::CSpace, DecimalSign::Read};
constexpr DecimalMode kTab{DecimalBlanks::SpaceTab, DecimalSign::Read};
constexpr DecimalMode kBare{DecimalBlanks::None, DecimalSign::None};
constexpr DecimalMode kMagnitude{DecimalBlanks::SpaceTab, DecimalSign::Skipped, 0, 4294967295};
constexpr DecimalMode kInt32{DecimalBlanks::SpaceTab, DecimalSign::Read, -2147483648, 2147483647};

INSTANTIATE_TEST_SUITE_P(
    Cases, LeadingDecimalRead,
    testing::Values(
        DecimalCase{"Empty", "", kC, 0, 0, 0}, DecimalCase{"StopsAtLetter", "12x3", kC, 12, 2, 2},
        DecimalCase{"CSpaceSkipsNewlineAndVerticalTab", "\n\v 42", kC, 42, 2, 5},
        DecimalCase{"SpaceTabStopsAtNewline", "\n42", kTab, 0, 0, 0},
        DecimalCase{"NoBlanksStopsAtSpace", " 42", kBare, 0, 0, 0},
        DecimalCase{"SignRead", "-17", kC, -17, 2, 3}, DecimalCase{"PlusRead", "+17", kC, 17, 2, 3},
        DecimalCase{"SignNotAllowed", "-17", kBare, 0, 0, 0},
        DecimalCase{"SignSkipped", "\t-17", kMagnitude, 17, 2, 4},
        DecimalCase{"SignAloneNoDigits", "-", kC, 0, 0, 1},
        DecimalCase{"Int64MaxExact", "9223372036854775807", kC, kInt64Max, 19, 19},
        DecimalCase{"Int64MaxSticks", "99999999999999999999999", kC, kInt64Max, 23, 23},
        DecimalCase{"Int64MinExact", "-9223372036854775808", kC, kInt64Min, 19, 20},
        DecimalCase{"Int64MinSticks", "-99999999999999999999999", kC, kInt64Min, 23, 24},
        DecimalCase{"Int32MaxSticks", "2147483648", kInt32, 2147483647, 10, 10},
        DecimalCase{"Int32MinSticks", "-2147483649", kInt32, -2147483648, 10, 11},
        DecimalCase{"MagnitudeSticksAtUint32Max", "-99999999999", kMagnitude, 4294967295, 11, 12}),
    [](const testing::TestParamInfo<DecimalCase>& info) { return std::string(info.param.name); });

struct HexCase {
    const char* name;
    uint64_t value;
    int digits;
    std::string_view text;
};

class HexDigitsFormat : public testing::TestWithParam<HexCase> {};

TEST_P(HexDigitsFormat, KeepsTheLowDigitsInLowerCase) {
    EXPECT_EQ(formatHexDigits(GetParam().value, GetParam().digits), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HexDigitsFormat,
    testing::Values(HexCase{"ByteZeroPadded", 0x5, 2, "05"},
                    HexCase{"ByteLowerCase", 0xA3, 2, "a3"},
                    HexCase{"ByteDropsHighBits", 0x1FF, 2, "ff"},
                    HexCase{"WordOfNegative", static_cast<uint64_t>(int64_t{-2}), 4, "fffe"},
                    HexCase{"WordZeroPadded", 0x42, 4, "0042"}),
    [](const testing::TestParamInfo<HexCase>& info) { return std::string(info.param.name); });

TEST(HexDigitValue, OnlyLowerCaseCounts) {
    EXPECT_EQ(hexDigitValue('0'), 0u);
    EXPECT_EQ(hexDigitValue('9'), 9u);
    EXPECT_EQ(hexDigitValue('a'), 10u);
    EXPECT_EQ(hexDigitValue('f'), 15u);
    EXPECT_EQ(hexDigitValue('A'), 0u);
    EXPECT_EQ(hexDigitValue('g'), 0u);
}

}  // namespace
}  // namespace qn470
