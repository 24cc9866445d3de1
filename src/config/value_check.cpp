// SPDX-License-Identifier: Apache-2.0
#include "config/value_check.h"

#include <algorithm>
#include <cstdio>

#include "config/command_line.h"
#include "config/parameter_value.h"

namespace qn470 {
namespace {

constexpr std::string_view kFramingEnd =
    "holds \"*\" with \"!\" three characters after it, which "
    "ends a line on the tracker";

NumberRange fieldRange(const Parameter& p) {
    switch (p.storage) {
        case Storage::FlagBit:
        case Storage::BoolByte:
            return {0, 1};
        case Storage::Hardware:
            return {INT32_MIN, INT32_MAX};
        case Storage::Signed: {
            const int64_t half = int64_t{1} << (8 * p.size - 1);
            return {-half, half - 1};
        }
        case Storage::Unsigned:
            return {0, (int64_t{1} << (8 * p.size)) - 1};
        default:
            return {0, 0};
    }
}

std::string characterName(unsigned char c) {
    char name[8];
    std::snprintf(name, sizeof name, "0x%02X", c);
    return name;
}

bool printable(unsigned char c) {
    return (c >= 0x20 && c <= 0x7E) || c >= 0xA0;
}

// Where an event text's first comma may stand (the `",` rule is checked while typing).
std::optional<std::string> eventTextProblem(std::string_view text) {
    const std::size_t comma = text.find(kItemSeparator);
    if (comma == 0) {
        return "starts with a comma, which would end the text on the tracker";
    }
    if (comma != std::string_view::npos && !commaInsideQuotedText(text, comma)) {
        return "has a first comma without \"$\" after it, so the tracker would end the text there";
    }
    return std::nullopt;
}

}  // namespace

NumberRange acceptedRange(const Parameter& p) {
    NumberRange range = fieldRange(p);
    if (p.decode == Decode::Weekday) {
        range.max = 0x7F;  // the tracker keeps seven weekday bits
    }
    range.min = std::max(range.min, p.condition.min);
    range.max = std::min(range.max, p.condition.max);
    return range;
}

std::optional<std::string> numberProblem(const Parameter& p, int64_t n) {
    const NumberRange range = acceptedRange(p);
    if (p.condition.portRule) {
        if (n >= range.min && n <= range.max && p.condition.accepts(n)) {
            return std::nullopt;
        }
        return "must be " + std::to_string(Condition::kNoPort) + ", " +
               std::to_string(Condition::kHttpPort) + " or between " +
               std::to_string(Condition::kFirstFreePort) + " and " + std::to_string(range.max);
    }
    if (n >= range.min && n <= range.max) {
        return std::nullopt;
    }
    if (range.min == 0 && range.max == 1) {
        return std::string("must be 0 or 1");
    }
    return "must be between " + std::to_string(range.min) + " and " + std::to_string(range.max);
}

std::optional<std::string> textTypingProblem(const Parameter& p, std::string_view text) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\r' || c == '\n') {
            return std::string("holds a line break");
        }
        if (c == '\0') {
            return std::string("holds a NUL byte");
        }
        if (!printable(byte)) {
            return "holds the character " + characterName(byte) + ", which is not printable";
        }
    }
    if (findFramingEnd(text) != std::string_view::npos) {
        return std::string(kFramingEnd);
    }
    if (p.wire == Wire::Text) {
        if (text.find(kItemSeparator) != std::string_view::npos) {
            return std::string("holds a comma, which would end the value on the tracker");
        }
        if (!text.empty() && text.front() == kTextQuote) {
            return std::string("starts with a double quote, which the tracker drops");
        }
    }
    if (p.storage == Storage::EventText) {
        if (!text.empty() && text.front() == kTextQuote) {
            return std::string("starts with a double quote, which the tracker drops");
        }
        if (text.find(kQuotedTextEnd) != std::string_view::npos) {
            return std::string(
                "holds a double quote followed by a comma, which would end the text on the "
                "tracker");
        }
    }
    return std::nullopt;
}

std::optional<std::string> textCharacterProblem(const Parameter& p, std::string_view text) {
    if (auto problem = textTypingProblem(p, text)) {
        return problem;
    }
    return p.storage == Storage::EventText ? eventTextProblem(text) : std::nullopt;
}

std::optional<std::string> textProblem(const Parameter& p, std::string_view text) {
    if (text.size() > static_cast<std::size_t>(p.maxTextLength())) {
        return "is longer than " + std::to_string(p.maxTextLength()) + " characters";
    }
    if (auto problem = textCharacterProblem(p, text)) {
        return problem;
    }
    // A report format is taken only whole, and it always ends in "!".
    if (p.decode == Decode::WholeText && (text.empty() || text.back() != '!')) {
        return std::string("must end with \"!\"");
    }
    return std::nullopt;
}

std::vector<ValueProblem> checkParameterSet(const ParameterSet& set) {
    std::vector<ValueProblem> problems;
    for (const Parameter& p : allParameters()) {
        if (p.profile == ProfileUse::None) {
            continue;
        }
        if (p.isText()) {
            std::string text = readText(set, p);
            if (auto problem = textProblem(p, text)) {
                problems.push_back({&p, std::move(text), std::move(*problem)});
            }
        } else {
            const int64_t n = readNumber(set, p);
            if (auto problem = numberProblem(p, n)) {
                problems.push_back({&p, std::to_string(n), std::move(*problem)});
            }
        }
    }
    return problems;
}

std::string describeProblems(const std::vector<ValueProblem>& problems, std::size_t shown) {
    std::string text;
    for (std::size_t i = 0; i < problems.size() && i < shown; ++i) {
        if (i > 0) {
            text += "; ";
        }
        text += std::string(problems[i].parameter->code) + "=" + problems[i].value + " (" +
                problems[i].problem + ")";
    }
    if (problems.size() > shown) {
        text += " and " + std::to_string(problems.size() - shown) + " more";
    }
    return text;
}

}  // namespace qn470
