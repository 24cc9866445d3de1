// SPDX-License-Identifier: Apache-2.0
#pragma once

// The rules a page applies to typed numbers, kept free of widgets so they can be tested and
// reused: the character-by-character check that runs while a number is typed or when its field
// is left, and the parse that runs when a page stores its fields.

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace qn470 {

// How the whole text of a checked field is valued: like a C decimal conversion that stops at
// the first character that is not a digit. A number past the 32-bit limits reads as one past
// them, so it fails a rule that takes the limit itself.
enum class ValueRead : uint8_t {
    Signed,    // -2147483648 .. 2147483647
    Unsigned,  // 0 .. 4294967295
};

// What the field's text becomes when a check fails.
enum class ResetTo : uint8_t {
    SavedText,  // the text it had when it last got the focus
    FixedText,  // NumberRule::resetText
};

// One check of a numeric field. A text passes when every character is allowed, it has at most
// maxChars characters, and its value is in [min, max] or is one of the extra accepted values.
struct NumberRule {
    std::string_view code;  // names the field in the derived messages
    ValueRead read = ValueRead::Signed;
    bool minusAllowed = false;
    int maxChars = 0;  // 0: any length
    int64_t min = std::numeric_limits<int64_t>::min();
    int64_t max = std::numeric_limits<int64_t>::max();
    bool zeroAccepted = false;      // 0 passes besides [min, max]
    int64_t alsoAccepted = -1;      // one more value that passes (-1: none)
    std::string_view charMessage;   // empty: "(CODE)Please enter a positive integer."
    std::string_view rangeMessage;  // empty: "(CODE)Please enter an integer between MIN and MAX"
    // The least value the derived range message names, when it is not min (a rule while typing
    // checks from 0 but names the range the field finally takes).
    int64_t shownMin = std::numeric_limits<int64_t>::min();
    ResetTo reset = ResetTo::SavedText;
    std::string_view resetText;

    bool accepts(int64_t value, std::size_t length) const;
};

enum class CheckResult : uint8_t { Ok, BadCharacter, OutOfRange };

// The scan: from the first character on, a character that is not allowed fails with
// BadCharacter; at an allowed one the value of the whole text is tested and a failure gives
// OutOfRange. The first failure ends the scan; an empty text passes.
CheckResult checkNumberText(std::string_view text, const NumberRule& rule);

// The value of the whole text as the rule reads it.
int64_t leadingValue(std::string_view text, ValueRead read);

// The message for a failed check.
std::string checkMessage(const NumberRule& rule, CheckResult result);

// Standard rule builders: digits only, value in [min, max].
constexpr NumberRule digitsRule(std::string_view code, int64_t min, int64_t max,
                                ValueRead read = ValueRead::Signed) {
    NumberRule rule;
    rule.code = code;
    rule.read = read;
    rule.min = min;
    rule.max = max;
    return rule;
}

// Rules from the parameter table, so a page takes every value the tracker takes.

// The tracker's own rule for the code: its accepted range (inside what the field holds), 0 and
// 80 besides 1024 and up for a port, a minus sign where the field is signed.
NumberRule trackerRule(std::string_view code);

// A page limit inside the tracker's rule: the least value raised to `min` (0 still passing
// where `zeroAccepted`), the top lowered to `max`.
NumberRule pageRule(std::string_view code, int64_t min, bool zeroAccepted = false,
                    int64_t max = std::numeric_limits<int64_t>::max());

// The same rule while the field is typed: only its top is checked, since a smaller value can
// still grow into the range; the message names the whole range.
NumberRule whileTyping(NumberRule rule);

// A field checked whole when it is left and, while typed, only against the same top.
struct LeavingRules {
    NumberRule typing;
    NumberRule leaving;
};
inline LeavingRules checkedOnLeaving(const NumberRule& leaving) {
    return {whileTyping(leaving), leaving};
}

// How a page reads an edit's text back when it stores its fields.
enum class Exchange : uint8_t {
    Text,      // the text itself, at most the field's length
    Unsigned,  // 0 .. 4294967295
    Signed,    // -2147483648 .. 2147483647
    Byte,      // 0 .. 255
};

// The number an edit's text stands for: optional blanks around it, a sign only for Signed, at
// least one digit and nothing else. Values outside the exchange's range fail too.
std::optional<int64_t> parseExchangedNumber(std::string_view text, Exchange exchange);

// The standard prompts of the exchange, translated where they are shown.
inline constexpr const char* kEnterPositiveInteger = "Enter a positive integer.";
inline constexpr const char* kEnterInteger = "Enter an integer.";
inline constexpr const char* kEnterByte = "Enter an integer between 0 and 255.";

std::string exchangeMessage(Exchange exchange);

// "Enter no more than %1 characters." with the maximum.
std::string tooLongMessage(int maxLength);

}  // namespace qn470
