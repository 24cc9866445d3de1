// SPDX-License-Identifier: Apache-2.0
// Small helpers the device tests share: the built-in defaults and a readable list of
// differences to compare with "".
#pragma once

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "config/default_profile.h"
#include "config/parameter_table.h"
#include "config/parameter_value.h"
#include "session/code_comparison.h"

namespace qn470 {

inline ParameterSet defaultSet() {
    ParameterSet set;
    EXPECT_TRUE(loadDefaultProfile(set).ok);
    return set;
}

// "C1: 180 -> 300\n" per difference; empty when there is none.
inline std::string describe(const std::vector<CodeDifference>& differences) {
    std::string text;
    for (const CodeDifference& d : differences) {
        text += d.code + ": " + d.expected + " -> " + d.actual + "\n";
    }
    return text;
}

// Codes no set line carries: the tracker's identity, what it only reports, and the last event
// text. Written down here on purpose, apart from the encoder, so a provisioning test does not
// take its expectation from the code under test.
inline const std::set<std::string> kNeverWritten = {"B2", "B3", "C4", "E8", "O7", "OT", "Bk"};

// The codes whose values differ between two sets, read field by field, leaving out `skipped`
// (by default the codes no set line carries; {} compares every code).
inline std::vector<std::string> valuesDiffering(
    const ParameterSet& a, const ParameterSet& b,
    const std::set<std::string>& skipped = kNeverWritten) {
    std::vector<std::string> codes;
    for (const Parameter& p : allParameters()) {
        const bool same =
            p.isText() ? readText(a, p) == readText(b, p) : readNumber(a, p) == readNumber(b, p);
        if (!same && !skipped.contains(std::string(p.code))) {
            codes.emplace_back(p.code);
        }
    }
    return codes;
}

}  // namespace qn470
