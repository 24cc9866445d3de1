// SPDX-License-Identifier: Apache-2.0
// The Qt-free rules behind the pages: the typing scan, the exchange parse, and the media and
// action text conversions the choice dialogs and pages share.

#include <gtest/gtest.h>

#include "config/action_text.h"
#include "config/hex_text.h"
#include "config/report_media.h"
#include "pages/field_rules.h"
#include "support/case_name.h"

namespace qn470 {
namespace {

NumberRule signedWithMinus(NumberRule rule) {
    rule.minusAllowed = true;
    return rule;
}
NumberRule withMaxChars(NumberRule rule, int chars) {
    rule.maxChars = chars;
    return rule;
}
NumberRule portLeaving() {
    NumberRule rule = digitsRule("E1", 1024, 65535);
    rule.zeroAccepted = true;
    rule.alsoAccepted = 80;
    return rule;
}
NumberRule withMessages(NumberRule rule, std::string_view charMessage,
                        std::string_view rangeMessage) {
    rule.charMessage = charMessage;
    rule.rangeMessage = rangeMessage;
    return rule;
}

const NumberRule kO2 = digitsRule("O2", 0, 65535);
const NumberRule kO6 = signedWithMinus(digitsRule("O6", -43200, 46800));
const NumberRule kOH = withMaxChars(digitsRule("OH", 0, 4294967294, ValueRead::Unsigned), 10);
const NumberRule kJ9Leaving = digitsRule("J9", 10000, 12000);
const NumberRule kE1Leaving = portLeaving();
// Rules taken from the parameter table.
const NumberRule kOHTracker = trackerRule("OH");
const NumberRule kE1Tracker = trackerRule("E1");
const NumberRule kC1Typing = whileTyping(trackerRule("C1"));
const NumberRule kSC =
    withMessages(digitsRule("SC", 0, 255), "(OP)Please enter a positive integer.",
                 "(OP)Please enter an integer between 0 and 255");

struct ScanCase {
    const NumberRule* rule;
    const char* text;
    CheckResult result;
    const char* message;
};

class TypingScan : public ::testing::TestWithParam<ScanCase> {};

TEST_P(TypingScan, FirstFailureGivesItsMessage) {
    const ScanCase& c = GetParam();
    const CheckResult result = checkNumberText(c.text, *c.rule);
    EXPECT_EQ(result, c.result) << c.text;
    EXPECT_EQ(checkMessage(*c.rule, result), c.message) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, TypingScan,
    ::testing::Values(
        ScanCase{&kO2, "", CheckResult::Ok, ""}, ScanCase{&kO2, "65535", CheckResult::Ok, ""},
        ScanCase{&kO2, "70000", CheckResult::OutOfRange,
                 "(O2)Please enter an integer between 0 and 65535"},
        ScanCase{&kO2, "12a", CheckResult::BadCharacter, "(O2)Please enter a positive integer."},
        // The whole text is valued at the first allowed character: a big value fails before a
        // later bad character is reached, a small one lets the scan go on to it.
        ScanCase{&kO2, "99999a", CheckResult::OutOfRange,
                 "(O2)Please enter an integer between 0 and 65535"},
        ScanCase{&kO2, "1a99999", CheckResult::BadCharacter,
                 "(O2)Please enter a positive integer."},
        ScanCase{&kO2, "-5", CheckResult::BadCharacter, "(O2)Please enter a positive integer."},
        ScanCase{&kO6, "-5", CheckResult::Ok, ""}, ScanCase{&kO6, "5-", CheckResult::Ok, ""},
        ScanCase{&kO6, "-", CheckResult::Ok, ""}, ScanCase{&kO6, "-43200", CheckResult::Ok, ""},
        ScanCase{&kO6, "-43201", CheckResult::OutOfRange,
                 "(O6)Please enter an integer between -43200 and 46800"},
        ScanCase{&kO6, "46801", CheckResult::OutOfRange,
                 "(O6)Please enter an integer between -43200 and 46800"},
        ScanCase{&kO6, "-99999999999", CheckResult::OutOfRange,
                 "(O6)Please enter an integer between -43200 and 46800"},
        ScanCase{&kO6, "x", CheckResult::BadCharacter, "(O6)Please enter a positive integer."},
        ScanCase{&kOH, "4294967294", CheckResult::Ok, ""},
        ScanCase{&kOH, "4294967295", CheckResult::OutOfRange,
                 "(OH)Please enter an integer between 0 and 4294967294"},
        ScanCase{&kOH, "99999999999", CheckResult::OutOfRange,
                 "(OH)Please enter an integer between 0 and 4294967294"},
        ScanCase{&kOH, "00000000001", CheckResult::OutOfRange,
                 "(OH)Please enter an integer between 0 and 4294967294"},
        ScanCase{&kJ9Leaving, "9000", CheckResult::OutOfRange,
                 "(J9)Please enter an integer between 10000 and 12000"},
        ScanCase{&kJ9Leaving, "", CheckResult::Ok, ""},
        ScanCase{&kE1Leaving, "0", CheckResult::Ok, ""},
        ScanCase{&kE1Leaving, "80", CheckResult::Ok, ""},
        ScanCase{&kE1Leaving, "81", CheckResult::OutOfRange,
                 "(E1)Please enter an integer between 1024 and 65535"},
        // A number past the field's 32 bits is out of range, not read as the top itself.
        ScanCase{&kOHTracker, "4294967296", CheckResult::OutOfRange,
                 "(OH)Please enter an integer between 0 and 4294967295"},
        ScanCase{&kE1Tracker, "1023", CheckResult::OutOfRange,
                 "(E1)Please enter an integer between 1024 and 65535"},
        ScanCase{&kE1Tracker, "1024", CheckResult::Ok, ""},
        // While typing, a value below the least can still grow into the range it names.
        ScanCase{&kC1Typing, "6", CheckResult::Ok, ""},
        ScanCase{&kC1Typing, "601", CheckResult::OutOfRange,
                 "(C1)Please enter an integer between 60 and 600"},
        ScanCase{&kSC, "300", CheckResult::OutOfRange,
                 "(OP)Please enter an integer between 0 and 255"},
        ScanCase{&kSC, "3x", CheckResult::BadCharacter, "(OP)Please enter a positive integer."}),
    [](const auto& info) {
        return caseNames({std::string(info.param.rule->code), info.param.text});
    });

struct ExchangeCase {
    const char* text;
    Exchange exchange;
    bool ok;
    int64_t value;
};

class ExchangeParse : public ::testing::TestWithParam<ExchangeCase> {};

TEST_P(ExchangeParse, ReadsOnlyWholeNumbersOfTheMembersRange) {
    const ExchangeCase& c = GetParam();
    const std::optional<int64_t> value = parseExchangedNumber(c.text, c.exchange);
    ASSERT_EQ(value.has_value(), c.ok) << c.text;
    if (c.ok) {
        EXPECT_EQ(*value, c.value) << c.text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ExchangeParse,
    ::testing::Values(ExchangeCase{"", Exchange::Unsigned, false, 0},
                      ExchangeCase{"   ", Exchange::Unsigned, false, 0},
                      ExchangeCase{" 12 ", Exchange::Unsigned, true, 12},
                      ExchangeCase{"12a", Exchange::Unsigned, false, 0},
                      ExchangeCase{"-1", Exchange::Unsigned, false, 0},
                      ExchangeCase{"4294967295", Exchange::Unsigned, true, 4294967295},
                      ExchangeCase{"4294967296", Exchange::Unsigned, false, 0},
                      ExchangeCase{"-43200", Exchange::Signed, true, -43200},
                      ExchangeCase{"+5", Exchange::Signed, true, 5},
                      ExchangeCase{"5-", Exchange::Signed, false, 0},
                      ExchangeCase{"-", Exchange::Signed, false, 0},
                      ExchangeCase{"2147483648", Exchange::Signed, false, 0},
                      ExchangeCase{"-2147483648", Exchange::Signed, true, -2147483648LL},
                      ExchangeCase{"255", Exchange::Byte, true, 255},
                      ExchangeCase{"256", Exchange::Byte, false, 0}),
    [](const auto& info) {
        return caseNames({info.param.exchange == Exchange::Unsigned ? "unsigned"
                          : info.param.exchange == Exchange::Signed ? "signed"
                                                                    : "byte",
                          info.param.text});
    });

TEST(ExchangeMessages, AreTheStandardPrompts) {
    EXPECT_EQ(exchangeMessage(Exchange::Unsigned), "Enter a positive integer.");
    EXPECT_EQ(exchangeMessage(Exchange::Signed), "Enter an integer.");
    EXPECT_EQ(exchangeMessage(Exchange::Byte), "Enter an integer between 0 and 255.");
    EXPECT_EQ(tooLongMessage(15), "Enter no more than 15 characters.");
}

TEST(HexText, FormatsFixedWidthLowerCaseAndReadsOnlyLowerCaseDigits) {
    EXPECT_EQ(formatHexByte(0x05), "05");
    EXPECT_EQ(formatHexByte(0xa3), "a3");
    EXPECT_EQ(formatHexWord(0x42), "0042");
    struct {
        const char* text;
        uint8_t byte;
    } const cases[] = {{"1f", 0x1f}, {"1F", 0x10}, {"A3", 0x03},  {"5", 0x50},
                       {"", 0x00},   {"zz", 0x00}, {"a3ff", 0xa3}};
    for (const auto& c : cases) {
        EXPECT_EQ(parseHexByte(c.text), c.byte) << c.text;
    }
    EXPECT_EQ(parseHexWord("208e"), 0x208e);
    EXPECT_EQ(parseHexWord("42"), 0x4200);
}

TEST(ActionText, SplitsIntoFivePairsAndJoinsBack) {
    using Slots = std::array<std::string, kActionSlots>;
    EXPECT_EQ(splitActionText(""), (Slots{"00", "00", "00", "00", "00"}));
    EXPECT_EQ(splitActionText("84a1"), (Slots{"84", "a1", "00", "00", "00"}));
    EXPECT_EQ(splitActionText("845"), (Slots{"84", "00", "00", "00", "00"}));
    EXPECT_EQ(splitActionText("84858687a0a1"), (Slots{"84", "85", "86", "87", "a0"}));
    EXPECT_EQ(joinActionSlots(Slots{"84", "a1", "00", "00", "00"}), "84a1000000");
    EXPECT_TRUE(isValidActionCode("8c"));
    EXPECT_TRUE(isValidActionCode("00"));
    EXPECT_FALSE(isValidActionCode("8C"));
    EXPECT_FALSE(isValidActionCode("88"));
    EXPECT_FALSE(isValidActionCode("8"));
}

TEST(MediaChoice, KeepsOneTransportAndNeverProducesBit40) {
    struct {
        uint8_t in;
        uint8_t out;
    } const cases[] = {
        {0x23, 0x03},                // SMS, TCP and COM port: TCP survives
        {0x40, 0x00}, {0x08, 0x00},  // e-mail alone reads as no transport
        {0x1f, 0x03}, {0x14, 0x04}, {0x30, 0x10}, {0xa1, 0xa1}, {0xff, 0x83},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MediaChoice::fromByte(c.in).toByte(), c.out) << int(c.in);
    }
}

}  // namespace
}  // namespace qn470
