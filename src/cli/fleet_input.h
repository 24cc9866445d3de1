// SPDX-License-Identifier: Apache-2.0
#pragma once

// What provision and journal audit share about a fleet: --values and --keep read and checked by
// provision/fleet_profiles.h, with every problem printed.

#include <optional>
#include <string>

#include "config/parameter_set.h"
#include "provision/fleet_profiles.h"

namespace qn470::cli {

// The whole fleet input from the options: --keep parsed, then the table read and checked.
// Nothing (after printing one line per problem) on any problem.
std::optional<FleetInput> fleetInputOrReport(const std::string& valuesPath,
                                             const std::optional<std::string>& keepCodes,
                                             const ParameterSet& profile);

}  // namespace qn470::cli
