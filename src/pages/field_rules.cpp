// SPDX-License-Identifier: Apache-2.0
#include "pages/field_rules.h"

#include <QCoreApplication>

#include "config/decimal_text.h"
#include "config/parameter_table.h"
#include "config/value_check.h"

namespace qn470 {
namespace {

constexpr int64_t kUnsignedMax = std::numeric_limits<uint32_t>::max();
constexpr int64_t kSignedMin = std::numeric_limits<int32_t>::min();
constexpr int64_t kSignedMax = std::numeric_limits<int32_t>::max();

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

bool NumberRule::accepts(int64_t value, std::size_t length) const {
    if (maxChars > 0 && length > static_cast<std::size_t>(maxChars)) {
        return false;
    }
    return (value >= min && value <= max) || (zeroAccepted && value == 0) ||
           (alsoAccepted >= 0 && value == alsoAccepted);
}

int64_t leadingValue(std::string_view text, ValueRead read) {
    if (read == ValueRead::Unsigned) {
        // Only the size matters here: digits-only fields never carry a sign worth keeping.
        return readLeadingDecimal(text, DecimalMode{DecimalBlanks::SpaceTab, DecimalSign::Skipped,
                                                    0, kUnsignedMax + 1})
            .value;
    }
    return readLeadingDecimal(text, DecimalMode{DecimalBlanks::SpaceTab, DecimalSign::Read,
                                                kSignedMin - 1, kSignedMax + 1})
        .value;
}

NumberRule trackerRule(std::string_view code) {
    const Parameter& p = parameter(code);
    const NumberRange range = acceptedRange(p);
    NumberRule rule;
    rule.code = p.code;
    rule.read = range.min < 0 ? ValueRead::Signed : ValueRead::Unsigned;
    rule.minusAllowed = range.min < 0;
    rule.min = range.min;
    rule.max = range.max;
    if (range.min >= 0) {
        // No more digits than the top has: a run of leading zeros is refused too.
        rule.maxChars = static_cast<int>(std::to_string(range.max).size());
    }
    if (p.condition.portRule) {
        rule.min = std::max(range.min, Condition::kFirstFreePort);
        rule.zeroAccepted = p.condition.accepts(Condition::kNoPort);
        rule.alsoAccepted = Condition::kHttpPort;
    }
    return rule;
}

NumberRule pageRule(std::string_view code, int64_t min, bool zeroAccepted, int64_t max) {
    NumberRule rule = trackerRule(code);
    rule.min = std::max(rule.min, min);
    rule.max = std::min(rule.max, max);
    rule.zeroAccepted = zeroAccepted;
    rule.alsoAccepted = -1;
    return rule;
}

NumberRule whileTyping(NumberRule rule) {
    rule.shownMin = rule.min;
    rule.min = std::min<int64_t>(rule.min, 0);
    rule.zeroAccepted = false;
    rule.alsoAccepted = -1;
    return rule;
}

CheckResult checkNumberText(std::string_view text, const NumberRule& rule) {
    const int64_t value = leadingValue(text, rule.read);
    const bool inRange = rule.accepts(value, text.size());
    for (char c : text) {
        if (!isDigit(c) && !(rule.minusAllowed && c == '-')) {
            return CheckResult::BadCharacter;
        }
        if (!inRange) {
            return CheckResult::OutOfRange;
        }
    }
    return CheckResult::Ok;
}

namespace {

// The prompts are the window's; the context groups them for a translator.
std::string translated(const char* text) {
    return QCoreApplication::translate("qn470::FieldRules", text).toStdString();
}

}  // namespace

std::string checkMessage(const NumberRule& rule, CheckResult result) {
    const QString code =
        QString::fromLatin1(rule.code.data(), static_cast<qsizetype>(rule.code.size()));
    if (result == CheckResult::BadCharacter) {
        return rule.charMessage.empty()
                   ? QCoreApplication::translate("qn470::FieldRules",
                                                 "(%1)Please enter a positive integer.")
                         .arg(code)
                         .toStdString()
                   : std::string(rule.charMessage);
    }
    if (result == CheckResult::OutOfRange) {
        if (!rule.rangeMessage.empty()) {
            return std::string(rule.rangeMessage);
        }
        const int64_t least =
            rule.shownMin != std::numeric_limits<int64_t>::min() ? rule.shownMin : rule.min;
        const int64_t min = least == std::numeric_limits<int64_t>::min() ? 0 : least;
        return QCoreApplication::translate("qn470::FieldRules",
                                           "(%1)Please enter an integer between %2 and %3")
            .arg(code)
            .arg(min)
            .arg(rule.max)
            .toStdString();
    }
    return {};
}

std::optional<int64_t> parseExchangedNumber(std::string_view text, Exchange exchange) {
    // The whole text must be the number: blanks around it, a sign only where signed.
    const DecimalSign sign = exchange == Exchange::Signed ? DecimalSign::Read : DecimalSign::None;
    const LeadingDecimal read =
        readLeadingDecimal(text, DecimalMode{DecimalBlanks::SpaceTab, sign});
    if (read.digits == 0) {
        return std::nullopt;
    }
    for (std::size_t i = read.end; i < text.size(); ++i) {
        if (!isDecimalBlank(text[i], DecimalBlanks::SpaceTab)) {
            return std::nullopt;
        }
    }
    const int64_t value = read.value;
    if (value > int64_t{std::numeric_limits<uint32_t>::max()} ||
        value < -int64_t{std::numeric_limits<uint32_t>::max()}) {
        return std::nullopt;
    }
    switch (exchange) {
        case Exchange::Unsigned:
            return value;
        case Exchange::Signed:
            if (value < std::numeric_limits<int32_t>::min() ||
                value > std::numeric_limits<int32_t>::max()) {
                return std::nullopt;
            }
            return value;
        case Exchange::Byte:
            if (value > 255) {
                return std::nullopt;
            }
            return value;
        case Exchange::Text:
            break;
    }
    return std::nullopt;
}

std::string exchangeMessage(Exchange exchange) {
    switch (exchange) {
        case Exchange::Signed:
            return translated(kEnterInteger);
        case Exchange::Byte:
            return translated(kEnterByte);
        default:
            return translated(kEnterPositiveInteger);
    }
}

std::string tooLongMessage(int maxLength) {
    return QCoreApplication::translate("qn470::FieldRules", "Enter no more than %1 characters.")
        .arg(maxLength)
        .toStdString();
}

}  // namespace qn470
