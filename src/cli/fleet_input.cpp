// SPDX-License-Identifier: Apache-2.0
#include "cli/fleet_input.h"

#include "cli/cli_support.h"

namespace qn470::cli {

std::optional<FleetInput> fleetInputOrReport(const std::string& valuesPath,
                                             const std::optional<std::string>& keepCodes,
                                             const ParameterSet& profile) {
    std::vector<std::string> problems;
    std::optional<FleetInput> fleet =
        readFleetInput(valuesPath, keepCodes, profile, "--keep", problems);
    for (const std::string& problem : problems) {
        badInput(problem);
    }
    return fleet;
}

}  // namespace qn470::cli
