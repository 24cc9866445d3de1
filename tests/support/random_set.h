// SPDX-License-Identifier: Apache-2.0
// Parameter sets filled at random with values the value check passes, for tests that must hold
// for every set a user could save.
#pragma once

#include <random>
#include <string>

#include "config/default_profile.h"
#include "config/parameter_table.h"
#include "config/parameter_value.h"
#include "config/value_check.h"

namespace qn470 {

// Starts from the built-in defaults; every profile value is drawn from its accepted range (texts
// from an alphabet holding the characters that matter on the wire) and kept when the check passes.
inline ParameterSet randomCheckedSet(std::mt19937& random) {
    const std::string alphabet = "abcXYZ019 ,\"*!$=-.";
    ParameterSet set;
    loadDefaultProfile(set);
    for (const Parameter& p : allParameters()) {
        if (p.profile != ProfileUse::ReadWrite) {
            continue;
        }
        if (p.isText()) {
            std::string text;
            const int length = static_cast<int>(random() % (p.maxTextLength() + 1));
            for (int i = 0; i < length; ++i) {
                text += alphabet[random() % alphabet.size()];
            }
            if (!textProblem(p, text)) {
                writeText(set, p, text);
            }
        } else {
            const NumberRange range = acceptedRange(p);
            const uint64_t span = static_cast<uint64_t>(range.max - range.min) + 1;
            const int64_t n = range.min + static_cast<int64_t>(random() % span);
            if (!numberProblem(p, n)) {
                writeNumber(set, p, n);
            }
        }
    }
    return set;
}

}  // namespace qn470
