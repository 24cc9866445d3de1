// SPDX-License-Identifier: Apache-2.0
#pragma once

// The text of one parameter's value as it travels in set lines and report lines.

#include <string>

#include "config/parameter_set.h"
#include "config/parameter_table.h"

namespace qn470 {

// The value in the given conversion (see Wire). Wire::None gives the natural form of the
// storage (decimal for numbers, the text for texts), as the tracker reports unsent codes.
std::string formatWireValue(const ParameterSet& set, const Parameter& p, Wire wire);

inline std::string formatWireValue(const ParameterSet& set, const Parameter& p) {
    return formatWireValue(set, p, p.wire);
}

}  // namespace qn470
