// SPDX-License-Identifier: Apache-2.0
#pragma once

// Per-tracker values for provisioning: a CSV table whose first column is "imei" and whose other
// columns are parameter codes or profile keys, one row per tracker. A row is laid over the
// profile by the profile's own reading rule (a cell reads as the same value would in a .pro file:
// blanks trimmed, one pair of surrounding quotes taken off), so a value means the same in both.
// An empty cell leaves the profile's value.
//
// The whole table is checked before any tracker is touched: every column a code that a set line
// carries and profiles keep, each once; every IMEI present, digits only and in one row only;
// every value one its parameter takes; every row's merged profile one whose lines the tracker
// reads back whole.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/parameter_set.h"
#include "config/parameter_table.h"

namespace qn470 {

// A value as a profile file holds it (the raw text after "KEY=").
struct ProfileValue {
    const Parameter* parameter = nullptr;
    std::string text;
};

struct FleetRow {
    int line = 0;  // in the file
    std::string imei;
    std::vector<ProfileValue> values;  // the non-empty cells
};

struct FleetProblem {
    int line = 0;        // 0: the file as a whole
    std::string column;  // as the header names it; empty for the row as a whole
    std::string value;
    std::string problem;
};

// "line 4, column O5, value 'VAN 01;': holds ..." (control characters escaped).
std::string describeFleetProblem(const FleetProblem& problem);

class FleetValues {
public:
    // Reads the table and checks every row laid over `profile`; `problems` gets one entry per
    // problem, in file order. The table is usable only when there are none.
    static FleetValues read(std::string_view text, const ParameterSet& profile,
                            std::vector<FleetProblem>& problems);

    const FleetRow* row(std::string_view imei) const;
    bool hasColumn(const Parameter& p) const;

private:
    std::vector<const Parameter*> m_columns;
    std::vector<FleetRow> m_rows;
};

// Why p cannot be given per tracker (in a column or by --keep), or nothing when it can: a set
// line must carry it and profiles keep it.
std::optional<std::string> perTrackerProblem(const Parameter* p);

// The column a header names: a code ("O5") or, failing that, a profile key.
const Parameter* fleetColumn(std::string_view header);

// What a profile file would hold for p in `set`.
ProfileValue profileValue(const ParameterSet& set, const Parameter& p);

// `base` with `values` laid over it as if the profile file held them. Returns the problems of
// those values ("must be between 60 and 600"), each with its code; `merged` is set either way.
struct OverlayProblem {
    const Parameter* parameter = nullptr;
    std::string problem;
};
std::vector<OverlayProblem> overlayValues(const ParameterSet& base,
                                          const std::vector<ProfileValue>& values,
                                          ParameterSet& merged);

}  // namespace qn470
