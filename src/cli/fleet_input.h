// SPDX-License-Identifier: Apache-2.0
#pragma once

// What provision and journal audit share about a fleet: the --values table, checked against the
// profile before anything else happens, and --keep, the codes each tracker keeps as its own.

#include <optional>
#include <string>
#include <vector>

#include "config/parameter_set.h"
#include "csv/fleet_values.h"

namespace qn470::cli {

struct FleetInput {
    std::string valuesPath;  // empty without --values
    std::string valuesName;  // its file name, as entries and messages show it
    std::optional<FleetValues> values;
    std::vector<const Parameter*> keep;

    bool keeps(const Parameter& p) const;
    // The row of this IMEI, or null (also without --values).
    const FleetRow* row(const std::string& imei) const;
};

// Parses "O5,D1"; nothing (after printing why) when a code is unknown or cannot be kept.
std::optional<std::vector<const Parameter*>> parseKeepOrReport(const std::string& codes);

// Reads and checks the --values table (when given) against the profile and --keep; prints one
// line per problem and returns false on any.
bool readFleetInputOrReport(FleetInput& fleet, const ParameterSet& profile);

// The whole fleet input from the options: --keep parsed, then the table read and checked.
// Nothing (after printing why) on any problem.
std::optional<FleetInput> fleetInputOrReport(const std::string& valuesPath,
                                             const std::optional<std::string>& keepCodes,
                                             const ParameterSet& profile);

}  // namespace qn470::cli
