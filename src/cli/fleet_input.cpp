// SPDX-License-Identifier: Apache-2.0
#include "cli/fleet_input.h"

#include <QFileInfo>
#include <QString>
#include <algorithm>
#include <iostream>

#include "cli/cli_support.h"
#include "config/atomic_file.h"
#include "config/shown_text.h"

namespace qn470::cli {
namespace {

// Far beyond a table of every tracker a fleet has; keeps a wrongly chosen file out of memory.
constexpr std::size_t kMaxValuesBytes = 64u << 20;

}  // namespace

bool FleetInput::keeps(const Parameter& p) const {
    return std::find(keep.begin(), keep.end(), &p) != keep.end();
}

const FleetRow* FleetInput::row(const std::string& imei) const {
    return values ? values->row(imei) : nullptr;
}

std::optional<std::vector<const Parameter*>> parseKeepOrReport(const std::string& codes) {
    std::vector<const Parameter*> keep;
    std::string_view rest = codes;
    while (true) {
        const std::size_t comma = rest.find(',');
        const std::string_view code = rest.substr(0, comma);
        const Parameter* p = findParameter(code);
        if (const std::optional<std::string> problem = perTrackerProblem(p)) {
            badInput("--keep " + escapeControls(code) + ": " + *problem);
            return std::nullopt;
        }
        if (std::find(keep.begin(), keep.end(), p) == keep.end()) {
            keep.push_back(p);
        }
        if (comma == std::string_view::npos) {
            return keep;
        }
        rest.remove_prefix(comma + 1);
    }
}

bool readFleetInputOrReport(FleetInput& fleet, const ParameterSet& profile) {
    if (fleet.valuesPath.empty()) {
        return true;
    }
    fleet.valuesName =
        QFileInfo(QString::fromLocal8Bit(fleet.valuesPath.c_str())).fileName().toStdString();
    std::string text;
    if (const FileResult read = readWholeFile(fleet.valuesPath, text, kMaxValuesBytes); !read.ok) {
        badInput(read.error);
        return false;
    }
    std::vector<FleetProblem> problems;
    FleetValues values = FleetValues::read(text, profile, problems);
    for (const Parameter* p : fleet.keep) {
        if (values.hasColumn(*p)) {
            problems.push_back({0,
                                std::string(p->code),
                                {},
                                "--keep " + std::string(p->code) +
                                    " keeps each tracker's own value: leave out the column or "
                                    "the --keep"});
        }
    }
    for (const FleetProblem& problem : problems) {
        std::cerr << "qn470: " << escapeControls(fleet.valuesName) << ": "
                  << describeFleetProblem(problem) << '\n';
    }
    if (!problems.empty()) {
        return false;
    }
    fleet.values = std::move(values);
    return true;
}

std::optional<FleetInput> fleetInputOrReport(const std::string& valuesPath,
                                             const std::optional<std::string>& keepCodes,
                                             const ParameterSet& profile) {
    FleetInput fleet;
    fleet.valuesPath = valuesPath;
    if (keepCodes) {
        std::optional<std::vector<const Parameter*>> keep = parseKeepOrReport(*keepCodes);
        if (!keep) {
            return std::nullopt;
        }
        fleet.keep = std::move(*keep);
    }
    if (!readFleetInputOrReport(fleet, profile)) {
        return std::nullopt;
    }
    return fleet;
}

}  // namespace qn470::cli
