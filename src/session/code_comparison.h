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

}  // namespace qn470
