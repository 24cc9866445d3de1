// SPDX-License-Identifier: Apache-2.0
#pragma once

// How a "Save to device" from the window ended, one field per step of SaveToDevice: what the
// tracker held before (read first, or known from this connection), whether every line went out,
// and what the check after it found.

#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "config/parameter_set.h"
#include "session/code_comparison.h"

namespace qn470 {

struct SaveOutcome {
    enum class Check { Off, Holds, Differs, Unreadable };

    QString port;
    std::optional<ParameterSet> before;  // none: neither known nor readable
    bool saved = false;                  // every line went out
    Check check = Check::Off;
    ParameterSet sent;
    ParameterSet held;  // what the read-back found (Holds, Differs)
    std::vector<CodeDifference> differences;
    // Settings no set line carries that the tracker holds otherwise (Holds, Differs): a note.
    std::vector<std::string> notWritable;
    QString failure;  // why the save or its read-back failed (not saved, Unreadable)
};

}  // namespace qn470
