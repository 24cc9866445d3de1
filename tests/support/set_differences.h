// SPDX-License-Identifier: Apache-2.0
// Small helpers the device tests share: the built-in defaults and a readable list of
// differences to compare with "".
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/default_profile.h"
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

}  // namespace qn470
