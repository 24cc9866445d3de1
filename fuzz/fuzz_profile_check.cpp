// SPDX-License-Identifier: Apache-2.0
// Checks arbitrary text as a profile. Beyond crashes: a text the check finds nothing wrong with
// reads into a set whose every value passes the value check and whose set lines all decode back
// to what they carry, so a clean profile can always be sent as it is.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "config/profile.h"
#include "config/profile_check.h"
#include "config/set_command_encoder.h"
#include "config/value_check.h"

namespace {

void check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::vector<qn470::ProfileProblem> problems = qn470::checkProfileText(text);
    for (const qn470::ProfileProblem& problem : problems) {
        check(!problem.problem.empty());
    }
    if (!problems.empty()) {
        return 0;
    }
    qn470::ParameterSet set;
    const qn470::ReadResult read = qn470::readProfileText(text, set);
    check(read.ok);
    check(qn470::checkParameterSet(set).empty());
    check(qn470::SetCommandEncoder::encode(set).complete());
    return 0;
}
