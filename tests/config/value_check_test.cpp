// SPDX-License-Identifier: Apache-2.0
#include "config/value_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "config/default_profile.h"
#include "config/parameter_value.h"
#include "config/profile_check.h"
#include "config/report_completeness.h"
#include "config/report_decoder.h"
#include "config/set_command_encoder.h"
#include "support/random_set.h"

namespace qn470 {
namespace {

ParameterSet defaults() {
    ParameterSet set;
    EXPECT_TRUE(loadDefaultProfile(set).ok);
    return set;
}

// The set lines of a series as the tracker reports them back.
std::string asReport(std::string line) {
    return line.replace(0, 3, "KXs");
}

TEST(ValueCheck, EveryDefaultPassesAndEncodesFaithfully) {
    const ParameterSet set = defaults();
    EXPECT_EQ(describeProblems(checkParameterSet(set)), "");
    const SetCommandTable table = SetCommandEncoder::encode(set);
    EXPECT_TRUE(table.complete()) << table.describeUnfaithful();
}

struct NumberCase {
    const char* code;
    int64_t value;
    bool accepted;
};

TEST(ValueCheck, NumbersTheTrackerTakes) {
    const NumberCase cases[] = {
        {"C1", 59, false},   {"C1", 60, true},         {"C1", 600, true},
        {"C1", 601, false},  {"C1", 4464, false},      {"C1", 65531, false},
        {"E1", 0, true},     {"E1", 80, true},         {"E1", 81, false},
        {"E1", 1023, false}, {"E1", 1024, true},       {"E1", 65535, true},
        {"E3", 34463, true}, {"E3", 65536, false},     {"E3", -1, false},
        {"A2", 255, true},   {"A2", 256, false},       {"A0", 1, true},
        {"A0", 2, false},    {"Pb", 2, false},         {"W3", 127, true},
        {"W3", 128, false},  {"J5", -40, true},        {"J5", -41, false},
        {"O6", 46800, true}, {"O6", 46801, false},     {"OS", 0, false},
        {"OS", 65535, true}, {"CA", 4294967295, true}, {"CA", 4294967296, false},
        {"CC", 255, true},   {"SJ", 65536, false},     {"OT", -1, true},
        {"F2", 2, false},
    };
    for (const NumberCase& c : cases) {
        EXPECT_EQ(!numberProblem(parameter(c.code), c.value).has_value(), c.accepted)
            << c.code << "=" << c.value;
    }
    EXPECT_EQ(numberProblem(parameter("C1"), 70000).value_or(""), "must be between 60 and 600");
    EXPECT_EQ(numberProblem(parameter("E1"), 5).value_or(""),
              "must be 0, 80 or between 1024 and 65535");
}

struct TextCase {
    const char* code;
    std::string text;
    const char* problem;  // a part of the message; nullptr when the text passes
};

TEST(ValueCheck, TextsThatDecodeBackToThemselves) {
    const TextCase cases[] = {
        {"E0", "host.example", nullptr},
        {"E0", "host.example,A2=9", "comma"},
        {"E0", "\"quoted", "double quote"},
        {"E0", "a\rb", "line break"},
        {"E0", std::string("a\0b", 3), "NUL"},
        {"E0", "bell\a", "0x07"},
        {"E0", "caf\xE9", nullptr},
        {"E0", "x*QQ!y", "\"*\""},
        {"E0", std::string(32, 'h'), "longer than 31"},
        {"O3", "SPRXAB27GHKLMn*U!", nullptr},
        {"O3", "SPRX", "end with"},
        {"O3", "", "end with"},
        {"BA", "00Hello", nullptr},
        {"BA", "00Ping$6,$1, then more, commas", nullptr},
        {"BA", "say \"hi\"", nullptr},
        {"BA", "00a\",$1", "double quote followed by a comma"},
        {"BA", "00a, b$6,$1", "first comma"},
        {"BA", "00a,", "first comma"},
        {"BA", ",$x", "starts with a comma"},
        {"BA", "\"00a", "double quote"},
        {"B2", "356938035643809", nullptr},
    };
    for (const TextCase& c : cases) {
        const std::optional<std::string> problem = textProblem(parameter(c.code), c.text);
        if (c.problem == nullptr) {
            EXPECT_FALSE(problem.has_value()) << c.code << "=" << c.text << ": " << *problem;
        } else {
            EXPECT_NE(problem.value_or("").find(c.problem), std::string::npos)
                << c.code << "=" << c.text << ": " << problem.value_or("(passed)");
        }
    }
}

// Texts that break a rule on the wire are caught by the encoder's decode-back as well, with the
// codes they would damage, so nothing but the check's own rules stands between them and the
// tracker.
TEST(ValueCheck, EncoderRefusesLinesThatDecodeDifferently) {
    struct Smuggled {
        const char* code;
        std::string text;
        std::vector<std::string> damaged;
    };
    const Smuggled cases[] = {
        {"E0", "host.example,A2=9", {"A2", "E0"}},
        {"D1", "\"quoted", {"D1"}},
        {"K6", "1*xx!", {"K6", "K7"}},
        {"BA", "00a, b$6,$1", {"BA"}},
        {"BB", "00a\",C1=100,$1", {"BB", "C1"}},
    };
    for (const Smuggled& c : cases) {
        ParameterSet set = defaults();
        writeText(set, c.code, c.text);
        const SetCommandTable table = SetCommandEncoder::encode(set);
        EXPECT_FALSE(table.complete()) << c.code;
        std::vector<std::string> codes = table.unfaithfulCodes();
        std::sort(codes.begin(), codes.end());
        EXPECT_EQ(codes, c.damaged) << table.describeUnfaithful();
        EXPECT_TRUE(textProblem(parameter(c.code), c.text).has_value()) << c.code;
    }
    ParameterSet set = defaults();
    writeNumber(set, "C1", 4464);  // what C1=70000 in a profile used to become
    EXPECT_EQ(SetCommandEncoder::encode(set).unfaithfulCodes(), std::vector<std::string>{"C1"});
    EXPECT_EQ(describeProblems(checkParameterSet(set)), "C1=4464 (must be between 60 and 600)");
}

// Random sets built only from values the check passes always encode faithfully, and their lines
// decode into a fresh set as exactly those values.
TEST(ValueCheck, CheckedValuesAlwaysRoundTripThroughTheWire) {
    std::mt19937 random(470);
    for (int round = 0; round < 40; ++round) {
        const ParameterSet set = randomCheckedSet(random);
        ASSERT_EQ(describeProblems(checkParameterSet(set)), "");
        const SetCommandTable table = SetCommandEncoder::encode(set);
        ASSERT_TRUE(table.complete()) << table.describeUnfaithful();
        ParameterSet decoded = defaults();
        for (const LineSlot& slot : table.lines) {
            if (!slot.empty()) {
                ReportDecoder{}.decode(asReport(slot.line), decoded);
            }
        }
        for (int block = 0; block < kEncodedBlockCount; ++block) {
            for (const std::string& code : SetCommandEncoder::blockCodes(block)) {
                const Parameter& p = parameter(code);
                if (p.decode == Decode::None) {
                    continue;
                }
                EXPECT_EQ(
                    p.isText() ? readText(decoded, p) : std::to_string(readNumber(decoded, p)),
                    p.isText() ? readText(set, p) : std::to_string(readNumber(set, p)))
                    << code << " in round " << round;
            }
        }
    }
}

TEST(ReportCompleteness, EachDroppedLineNamesExactlyItsCodes) {
    const SetCommandTable table = SetCommandEncoder::encode(defaults());
    for (int dropped = 0; dropped < kEncodedBlockCount; ++dropped) {
        ParameterSet set = defaults();
        CodeSet arrived;
        for (int block = 0; block < kEncodedBlockCount; ++block) {
            if (block != dropped) {
                ReportDecoder{}.decode(asReport(table.lines[block].line), set, &arrived);
            }
        }
        std::vector<std::string_view> expected;
        for (const std::string& code : SetCommandEncoder::blockCodes(dropped)) {
            if (parameter(code).decode != Decode::None) {
                expected.push_back(parameter(code).code);
            }
        }
        std::vector<std::string_view> missing = missingReportCodes(arrived);
        std::sort(missing.begin(), missing.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(missing, expected) << "block " << dropped;
    }
    // Codes only the tracker reports are welcome but never required.
    for (const char* code : {"B2", "B3", "O7", "OT", "C4", "E8", "Bk", "T0", "U2"}) {
        EXPECT_FALSE(requiredReportCodes().test(parameterIndex(parameter(code)))) << code;
    }
    EXPECT_EQ(listCodes({"A0", "A1", "A2"}, 2), "A0, A1 and 1 more");
}

struct ProfileCase {
    const char* name;
    std::string text;
    std::string problems;  // describeProblem of each, joined by " | "
};

std::string joined(const std::vector<ProfileProblem>& problems) {
    std::string text;
    for (const ProfileProblem& p : problems) {
        text += (text.empty() ? "" : " | ") + describeProblem(p);
    }
    return text;
}

class ProfileCheck : public ::testing::TestWithParam<ProfileCase> {};

TEST_P(ProfileCheck, NamesLineKeyValueAndProblem) {
    EXPECT_EQ(joined(checkProfileText(GetParam().text)), GetParam().problems);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileCheck,
    ::testing::Values(
        ProfileCase{"Clean", "[QN-470]\r\nC1=300\r\nCA=-2\r\nE1=0\r\nBA=\"00Hi\"\r\n", ""},
        ProfileCase{"OutOfRange", "[QN-470]\r\nC1=70000\r\nA2=300\r\nE3=99999\r\n",
                    "line 2: C1=70000: must be between 60 and 600 | line 3: A2=300: must be "
                    "between 0 and 255 | line 4: E3=99999: must be 0, 80 or between 1024 and "
                    "65535"},
        ProfileCase{"NotNumbers", "[QN-470]\nC1=abc\nC2=-5\nC3=12x\n",
                    "line 2: C1=abc: is not a whole number | line 3: C2=-5: must be between 10 "
                    "and 120 | line 4: C3=12x: is not a whole number"},
        ProfileCase{"UnknownKeyAndBadLine", "[QN-470]\rZZ=1\rjust text\rC4=3\r",
                    "line 2: ZZ=1: no parameter has this key | line 3: \"just text\" is not "
                    "key=value | line 4: C4=3: no parameter has this key"},
        ProfileCase{"KeyTwiceAnyCase", "[QN-470]\r\nPa1=5\r\npa1=6\r\nPA=7\r\n",
                    "line 3: pa1=6: the key is given twice; only the first counts"},
        ProfileCase{"SecondSection",
                    "[QN-470]\r\nC1=300\r\n[other]\r\nC1=1\r\n[qn-470]\r\nC1=2\r\n",
                    "line 5: a second [QN-470] section; only the first counts"},
        ProfileCase{"SmuggledItem", "[QN-470]\r\nE0=host.example,A2=9\r\n",
                    "line 2: E0=host.example,A2=9: holds a comma, which would end the value on "
                    "the tracker"},
        ProfileCase{"NoSection", "C1=300\r\n", "no [QN-470] section"},
        ProfileCase{"ByteOrderMark", "\xEF\xBB\xBF[QN-470]\r\nC1=1\r\n",
                    "line 2: C1=1: must be between 60 and 600"}),
    [](const auto& info) { return std::string(info.param.name); });

// Files with other line ends, or a byte-order mark, read like the CR LF file they stand for.
TEST(ProfileCheck, LineEndsAndByteOrderMarkReadAlike) {
    const std::string crlf = "[QN-470]\r\nC1=300\r\nE0=a.example\r\nBA=\"00Hi\"\r\n";
    ParameterSet expected;
    ASSERT_TRUE(readProfileText(crlf, expected).ok);
    for (const std::string& variant :
         {std::string("[QN-470]\rC1=300\rE0=a.example\rBA=\"00Hi\"\r"),
          std::string("[QN-470]\nC1=300\nE0=a.example\nBA=\"00Hi\""), "\xEF\xBB\xBF" + crlf}) {
        ParameterSet set;
        const ReadResult read = readProfileText(variant, set);
        ASSERT_TRUE(read.ok);
        EXPECT_TRUE(read.problems.empty()) << joined(read.problems);
        EXPECT_EQ(readNumber(set, "C1"), 300);
        EXPECT_EQ(profileText(set), profileText(expected));
    }
    ParameterSet set;
    EXPECT_TRUE(readProfileBytes("\xEF\xBB\xBF" + crlf, set).ok);
}

}  // namespace
}  // namespace qn470
