#include "pages/field_rules.h"

#include "config/decimal_text.h"

namespace qn470 {
namespace {

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
                                                    0, std::numeric_limits<uint32_t>::max()})
            .value;
    }
    return readLeadingDecimal(text, DecimalMode{DecimalBlanks::SpaceTab, DecimalSign::Read,
                                                std::numeric_limits<int32_t>::min(),
                                                std::numeric_limits<int32_t>::max()})
        .value;
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

std::string checkMessage(const NumberRule& rule, CheckResult result) {
    const std::string prefix = "(" + std::string(rule.code) + ")";
    if (result == CheckResult::BadCharacter) {
        return rule.charMessage.empty() ? prefix + "Please enter a positive integer."
                                        : std::string(rule.charMessage);
    }
    if (result == CheckResult::OutOfRange) {
        if (!rule.rangeMessage.empty()) {
            return std::string(rule.rangeMessage);
        }
        const int64_t min = rule.min == std::numeric_limits<int64_t>::min() ? 0 : rule.min;
        return prefix + "Please enter an integer between " + std::to_string(min) + " and " +
               std::to_string(rule.max);
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

std::string_view exchangeMessage(Exchange exchange) {
    switch (exchange) {
        case Exchange::Signed:
            return kEnterInteger;
        case Exchange::Byte:
            return kEnterByte;
        default:
            return kEnterPositiveInteger;
    }
}

std::string tooLongMessage(int maxLength) {
    return "Enter no more than " + std::to_string(maxLength) + " characters.";
}

}  // namespace qn470
