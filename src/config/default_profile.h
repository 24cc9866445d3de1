// SPDX-License-Identifier: Apache-2.0
#pragma once

// The built-in default profile that resets the parameter set at start and before every load
// from the tracker. It holds the section line alone: every key is missing, so reading it gives
// each parameter the default of its table row. The defaults thus live in one place and the
// built-in profile cannot drift from them.

#include <string>
#include <string_view>

#include "config/parameter_set.h"
#include "config/profile.h"

namespace qn470 {

// The name the default profile goes by in messages and when it is saved as a file.
inline constexpr std::string_view kDefaultProfileName = "DefaultSystemConfig.pro";

// The clear INI text of the built-in profile.
std::string_view defaultProfileText();

// The built-in profile as a profile file holds it (complemented).
std::string defaultProfileBytes();

// Resets the set from the built-in profile. Errors start with kDefaultProfileName.
ReadResult loadDefaultProfile(ParameterSet& set);

}  // namespace qn470
