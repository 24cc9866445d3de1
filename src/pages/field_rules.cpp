#include "pages/field_rules.h"

namespace qn470 {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
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
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    constexpr int64_t kCap = int64_t{1} << 40;  // far beyond either limit; stops growth
    int64_t magnitude = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        magnitude = std::min(kCap, magnitude * 10 + (text[i] - '0'));
    }
    if (read == ValueRead::Unsigned) {
        // Only the size matters here: digits-only fields never carry a sign worth keeping.
        return std::min<int64_t>(magnitude, std::numeric_limits<uint32_t>::max());
    }
    const int64_t value = negative ? -magnitude : magnitude;
    return std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                               std::numeric_limits<int32_t>::max());
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
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && isBlank(text[end - 1])) {
        --end;
    }
    text = text.substr(begin, end - begin);
    bool negative = false;
    if (exchange == Exchange::Signed && !text.empty() && (text[0] == '-' || text[0] == '+')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    int64_t magnitude = 0;
    for (char c : text) {
        if (!isDigit(c)) {
            return std::nullopt;
        }
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > std::numeric_limits<uint32_t>::max()) {
            return std::nullopt;
        }
    }
    const int64_t value = negative ? -magnitude : magnitude;
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
