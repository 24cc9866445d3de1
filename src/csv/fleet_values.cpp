// SPDX-License-Identifier: Apache-2.0
#include "csv/fleet_values.h"

#include <algorithm>

#include "config/ini_text.h"
#include "config/profile.h"
#include "config/series_codes.h"
#include "config/set_command_encoder.h"
#include "config/shown_text.h"
#include "csv/csv_reader.h"

namespace qn470 {
namespace {

constexpr std::string_view kImeiColumn = "imei";

bool allDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

std::optional<std::string> perTrackerProblem(const Parameter* p) {
    if (p == nullptr) {
        return "no parameter has this code or profile key";
    }
    if (!carriedBySeries(*p)) {
        return "no set line carries " + std::string(p->code);
    }
    if (p->profile != ProfileUse::ReadWrite) {
        return "profiles do not keep " + std::string(p->code);
    }
    return std::nullopt;
}

std::string describeFleetProblem(const FleetProblem& problem) {
    std::string text = problem.line > 0 ? "line " + std::to_string(problem.line) : "the table";
    if (!problem.column.empty()) {
        text += ", column " + escapeControls(problem.column);
    }
    if (!problem.value.empty()) {
        text += ", value '" + escapeControls(problem.value) + "'";
    }
    return text + ": " + problem.problem;
}

const Parameter* fleetColumn(std::string_view header) {
    if (const Parameter* p = findParameter(header)) {
        return p;
    }
    const auto params = allParameters();
    const auto it = std::find_if(params.begin(), params.end(),
                                 [&](const Parameter& p) { return p.profileKey == header; });
    return it != params.end() ? &*it : nullptr;
}

ProfileValue profileValue(const ParameterSet& set, const Parameter& p) {
    const std::string text = profileText(set);
    const std::optional<IniSection> section = IniSection::parse(text, kProfileSection);
    const std::optional<std::string_view> value =
        section ? section->value(p.profileKey) : std::nullopt;
    return {&p, std::string(value.value_or(std::string_view()))};
}

std::vector<OverlayProblem> overlayValues(const ParameterSet& base,
                                          const std::vector<ProfileValue>& values,
                                          ParameterSet& merged) {
    // The profile's text with the given keys' values replaced, read back by the profile reader.
    const std::string baseText = profileText(base);
    std::string_view rest = baseText;
    nextIniLine(rest);  // the section line
    IniWriter writer(kProfileSection);
    while (!rest.empty()) {
        const std::string_view line = nextIniLine(rest);
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            continue;
        }
        const std::string_view key = line.substr(0, equals);
        const auto given = std::find_if(values.begin(), values.end(), [&](const ProfileValue& v) {
            return v.parameter->profileKey == key;
        });
        writer.add(key,
                   given != values.end() ? std::string_view(given->text) : line.substr(equals + 1));
    }
    std::vector<OverlayProblem> problems;
    for (const ProfileValue& v : values) {
        // A profile line cannot hold one; the writer would leave it out, changing the value.
        if (v.text.find_first_of("\r\n") != std::string::npos) {
            problems.push_back({v.parameter, "holds a line break"});
        }
    }
    merged = base;
    const ReadResult read = readProfileText(writer.text(), merged);
    for (const ProfileProblem& problem : read.problems) {
        const auto given = std::find_if(values.begin(), values.end(), [&](const ProfileValue& v) {
            return compareIniNames(v.parameter->profileKey, problem.key) == 0;
        });
        if (given != values.end()) {
            problems.push_back({given->parameter, problem.problem});
        }
    }
    return problems;
}

FleetValues FleetValues::read(std::string_view text, const ParameterSet& profile,
                              std::vector<FleetProblem>& problems) {
    FleetValues table;
    const CsvRead csv = readCsv(text);
    if (!csv.ok()) {
        problems.push_back({0, {}, {}, csv.error});
        return table;
    }
    if (csv.records.empty()) {
        problems.push_back({0, {}, {}, "no header line"});
        return table;
    }
    const CsvRecord& header = csv.records.front();
    if (header.fields.empty() || compareIniNames(header.fields.front(), kImeiColumn) != 0) {
        problems.push_back({header.line,
                            header.fields.empty() ? std::string() : header.fields.front(),
                            {},
                            "the first column must be " + std::string(kImeiColumn)});
        return table;
    }
    bool columnsOk = true;
    for (std::size_t i = 1; i < header.fields.size(); ++i) {
        const std::string& name = header.fields[i];
        const Parameter* p = fleetColumn(name);
        std::optional<std::string> problem = perTrackerProblem(p);
        if (!problem && table.hasColumn(*p)) {
            problem = "a second column for " + std::string(p->code);
        }
        if (problem) {
            problems.push_back({header.line, name, {}, *problem});
            columnsOk = false;
        }
        table.m_columns.push_back(p);
    }
    if (!columnsOk) {
        return table;  // every row would repeat the column's problem
    }
    for (auto record = csv.records.begin() + 1; record != csv.records.end(); ++record) {
        FleetRow row{
            record->line, record->fields.empty() ? std::string() : record->fields.front(), {}};
        const std::size_t before = problems.size();
        if (!allDigits(row.imei)) {
            problems.push_back({row.line, std::string(kImeiColumn), row.imei,
                                "not an IMEI (digits only; a spreadsheet may have turned it into "
                                "a number such as 3.56E+14: keep the column as text)"});
        } else if (table.row(row.imei) != nullptr) {
            problems.push_back({row.line, std::string(kImeiColumn), row.imei,
                                "IMEI also in line " + std::to_string(table.row(row.imei)->line)});
        }
        if (record->fields.size() > header.fields.size()) {
            problems.push_back({row.line,
                                {},
                                {},
                                std::to_string(record->fields.size()) + " fields, the header has " +
                                    std::to_string(header.fields.size())});
        }
        for (std::size_t i = 1; i < std::min(record->fields.size(), header.fields.size()); ++i) {
            if (!record->fields[i].empty()) {
                row.values.push_back({table.m_columns[i - 1], record->fields[i]});
            }
        }
        ParameterSet merged;
        for (const OverlayProblem& problem : overlayValues(profile, row.values, merged)) {
            const std::size_t column = static_cast<std::size_t>(
                std::find(table.m_columns.begin(), table.m_columns.end(), problem.parameter) -
                table.m_columns.begin());
            problems.push_back(
                {row.line, header.fields[column + 1], record->fields[column + 1], problem.problem});
        }
        const SetCommandTable lines = SetCommandEncoder::encode(merged);
        if (problems.size() == before && !lines.complete()) {
            problems.push_back({row.line,
                                {},
                                {},
                                "lines the tracker would not read back: " +
                                    (lines.overlong.empty() ? lines.describeUnfaithful()
                                                            : lines.describeOverlong())});
        }
        table.m_rows.push_back(std::move(row));
    }
    return table;
}

const FleetRow* FleetValues::row(std::string_view imei) const {
    const auto it = std::find_if(m_rows.begin(), m_rows.end(),
                                 [&](const FleetRow& r) { return r.imei == imei; });
    return it != m_rows.end() ? &*it : nullptr;
}

bool FleetValues::hasColumn(const Parameter& p) const {
    return std::find(m_columns.begin(), m_columns.end(), &p) != m_columns.end();
}

}  // namespace qn470
