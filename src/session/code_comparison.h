// SPDX-License-Identifier: Apache-2.0
#pragma once

// Which parameters two sets hold differently, compared in the form the values travel in. Used to
// check what a tracker holds after a save (and by the tests against the simulator).

#include <string>
#include <vector>

#include "config/parameter_set.h"

namespace qn470 {

enum class CodeSelection {
    Sent,             // every code a save writes
    Reported,         // every code a tracker's report carries
    SentAndReported,  // what a save can be checked by: written, then read back
};

struct CodeDifference {
    std::string code;
    std::string expected;
    std::string actual;
};

// The codes of the selection, in table order, whose values differ.
std::vector<CodeDifference> differingCodes(const ParameterSet& expected, const ParameterSet& actual,
                                           CodeSelection selection);

// The settings a tracker reports but no set line carries (C4, E8, Bk ...) whose values differ:
// a save cannot change them, so they are a note, never a difference. The tracker's identity
// (IMEI, IMSI, firmware version, hardware option) is left out: a profile never means to set it.
std::vector<std::string> unwritableDifferences(const ParameterSet& wanted,
                                               const ParameterSet& held);

}  // namespace qn470
