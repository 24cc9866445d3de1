// SPDX-License-Identifier: Apache-2.0
#pragma once

// The problems of a profile's INI text: what the reader would take differently from what the file
// says, or a value the tracker would not take. Reading stays lenient (files in the field must keep
// loading); this check tells the user what is wrong, and `import` refuses on it.
//
// Problems: a value that breaks its parameter's rule (see value_check.h; numbers must be whole
// decimal numbers, and 32-bit fields may be written as the signed value of their bit pattern), a
// key that is no parameter's, a line in the section that is not key=value, a key given twice
// (only the first counts), a second [QN-470] section, and a text without any [QN-470] section.

#include <string>
#include <string_view>
#include <vector>

namespace qn470 {

struct ProfileProblem {
    int line = 0;  // 1-based line of the INI text; 0 when it concerns the whole text
    std::string key;
    std::string value;
    std::string problem;
};

// "line 12: C1=70000: must be between 60 and 600"
std::string describeProblem(const ProfileProblem& problem);

// The problems of clear INI text, in line order.
std::vector<ProfileProblem> checkProfileText(std::string_view text);

}  // namespace qn470
