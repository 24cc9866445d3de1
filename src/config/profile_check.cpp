// SPDX-License-Identifier: Apache-2.0
#include "config/profile_check.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "config/ini_text.h"
#include "config/parameter_table.h"
#include "config/profile.h"
#include "config/value_check.h"

namespace qn470 {
namespace {

// The parameter a profile key names, ignoring letter case as the reader does.
const Parameter* parameterOfKey(std::string_view key) {
    static const std::vector<const Parameter*> byKey = [] {
        std::vector<const Parameter*> rows;
        for (const Parameter& p : allParameters()) {
            if (p.profile != ProfileUse::None) {
                rows.push_back(&p);
            }
        }
        std::sort(rows.begin(), rows.end(), [](const Parameter* a, const Parameter* b) {
            return compareIniNames(a->profileKey, b->profileKey) < 0;
        });
        return rows;
    }();
    const auto it = std::lower_bound(byKey.begin(), byKey.end(), key,
                                     [](const Parameter* p, std::string_view k) {
                                         return compareIniNames(p->profileKey, k) < 0;
                                     });
    return it != byKey.end() && compareIniNames((*it)->profileKey, key) == 0 ? *it : nullptr;
}

bool isWholeNumber(std::string_view value) {
    if (!value.empty() && (value.front() == '+' || value.front() == '-')) {
        value.remove_prefix(1);
    }
    return !value.empty() &&
           std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<std::string> numberValueProblem(const Parameter& p, std::string_view value) {
    if (!isWholeNumber(value)) {
        return std::string("is not a whole number");
    }
    int64_t n = parseIniInt(value);
    // Profiles keep 32-bit fields as the signed value of their bit pattern (-2 for 4294967294).
    if (p.storage == Storage::Unsigned && p.size == 4 && n < 0 && n >= INT32_MIN) {
        n += int64_t{1} << 32;
    }
    return numberProblem(p, n);
}

std::optional<std::string> valueProblem(const Parameter& p, std::string_view value) {
    if (!p.isText()) {
        return numberValueProblem(p, value);
    }
    // The reader takes one pair of surrounding quotes off (event texts are written quoted).
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return textProblem(p, value);
}

}  // namespace

std::string describeProblem(const ProfileProblem& problem) {
    std::string text;
    if (problem.line > 0) {
        text = "line " + std::to_string(problem.line) + ": ";
    }
    if (!problem.key.empty()) {
        text += problem.key + "=" + problem.value + ": ";
    }
    return text + problem.problem;
}

std::vector<ProfileProblem> checkProfileText(std::string_view text) {
    std::vector<ProfileProblem> problems;
    CodeSet keys;  // the parameters whose key was seen, to find repeats
    std::string_view rest = withoutByteOrderMark(text);
    bool inSection = false;
    bool sectionSeen = false;
    for (int number = 1; !rest.empty(); ++number) {
        const std::string_view line = trimIni(nextIniLine(rest));
        if (line.empty() || line.front() == ';') {
            continue;
        }
        if (line.front() == '[') {
            std::string_view name = line.substr(1);
            name = trimIni(name.substr(0, name.find(']')));
            const bool ours = compareIniNames(name, kProfileSection) == 0;
            if (ours && sectionSeen) {
                problems.push_back({number,
                                    {},
                                    {},
                                    "a second [" + std::string(kProfileSection) +
                                        "] section; only the first counts"});
            }
            inSection = ours && !sectionSeen;
            sectionSeen = sectionSeen || ours;
            continue;
        }
        if (!inSection) {
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            problems.push_back({number, {}, {}, "\"" + std::string(line) + "\" is not key=value"});
            continue;
        }
        const std::string_view key = trimIni(line.substr(0, equals));
        const std::string_view value = trimIni(line.substr(equals + 1));
        ProfileProblem problem{number, std::string(key), std::string(value), {}};
        const Parameter* p = parameterOfKey(key);
        if (p == nullptr) {
            problem.problem = "no parameter has this key";
        } else if (keys.test(parameterIndex(*p))) {
            problem.problem = "the key is given twice; only the first counts";
        } else {
            keys.set(parameterIndex(*p));
            if (auto wrong = valueProblem(*p, value)) {
                problem.problem = std::move(*wrong);
            }
        }
        if (!problem.problem.empty()) {
            problems.push_back(std::move(problem));
        }
    }
    if (!sectionSeen) {
        problems.push_back({0, {}, {}, "no [" + std::string(kProfileSection) + "] section"});
    }
    return problems;
}

}  // namespace qn470
