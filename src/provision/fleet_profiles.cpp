// SPDX-License-Identifier: Apache-2.0
#include "provision/fleet_profiles.h"

#include <QFileInfo>
#include <QStringList>
#include <algorithm>

#include "config/atomic_file.h"
#include "config/parameter_value.h"
#include "config/set_command_encoder.h"
#include "config/shown_text.h"
#include "config/value_check.h"
#include "journal/journal_text.h"
#include "journal/tracker_entry.h"
#include "provision/tracker_provisioner.h"

namespace qn470 {
namespace {

// Far beyond a table of every tracker a fleet has; keeps a wrongly chosen file out of memory.
constexpr std::size_t kMaxValuesBytes = 64u << 20;

std::string unfaithfulText(const SetCommandTable& lines) {
    return lines.overlong.empty() ? lines.describeUnfaithful() : lines.describeOverlong();
}

}  // namespace

bool FleetInput::keeps(const Parameter& p) const {
    return std::find(keep.begin(), keep.end(), &p) != keep.end();
}

const FleetRow* FleetInput::row(const std::string& imei) const {
    return values ? values->row(imei) : nullptr;
}

std::optional<std::string> profileUnwritable(const ParameterSet& profile) {
    const std::vector<ValueProblem> problems = checkParameterSet(profile);
    if (!problems.empty()) {
        return "values the tracker would not take: " + describeProblems(problems);
    }
    const SetCommandTable table = SetCommandEncoder::encode(profile);
    if (!table.complete()) {
        return "lines the tracker would not read back: " + unfaithfulText(table);
    }
    return std::nullopt;
}

std::optional<std::vector<const Parameter*>> parseKeep(const std::string& codes,
                                                       std::string_view keepLabel,
                                                       std::string& problem) {
    std::vector<const Parameter*> keep;
    std::string_view rest = codes;
    while (true) {
        const std::size_t comma = rest.find(',');
        const std::string_view code = rest.substr(0, comma);
        const Parameter* p = findParameter(code);
        if (const std::optional<std::string> why = perTrackerProblem(p)) {
            problem = std::string(keepLabel) + " " + escapeControls(code) + ": " + *why;
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

std::optional<FleetInput> readFleetInput(const std::string& valuesPath,
                                         const std::optional<std::string>& keepCodes,
                                         const ParameterSet& profile, std::string_view keepLabel,
                                         std::vector<std::string>& problems) {
    FleetInput fleet;
    fleet.valuesPath = valuesPath;
    if (keepCodes) {
        std::string problem;
        std::optional<std::vector<const Parameter*>> keep =
            parseKeep(*keepCodes, keepLabel, problem);
        if (!keep) {
            problems.push_back(problem);
            return std::nullopt;
        }
        fleet.keep = std::move(*keep);
    }
    if (fleet.valuesPath.empty()) {
        return fleet;
    }
    fleet.valuesName =
        QFileInfo(QString::fromLocal8Bit(fleet.valuesPath.c_str())).fileName().toStdString();
    std::string text;
    if (const FileResult read = readWholeFile(fleet.valuesPath, text, kMaxValuesBytes); !read.ok) {
        problems.push_back(read.error);
        return std::nullopt;
    }
    std::vector<FleetProblem> found;
    FleetValues values = FleetValues::read(text, profile, found);
    for (const Parameter* p : fleet.keep) {
        if (values.hasColumn(*p)) {
            found.push_back({0,
                             std::string(p->code),
                             {},
                             std::string(keepLabel) + " " + std::string(p->code) +
                                 " keeps each tracker's own value: leave out the column or the " +
                                 std::string(keepLabel)});
        }
    }
    for (const FleetProblem& problem : found) {
        problems.push_back(escapeControls(fleet.valuesName) + ": " + describeFleetProblem(problem));
    }
    if (!found.empty()) {
        return std::nullopt;
    }
    fleet.values = std::move(values);
    return fleet;
}

FleetProfiles::FleetProfiles(ParameterSet profile, QString name, std::string bytes,
                             FleetInput input, bool valuesOptional)
    : m_profile(std::move(profile)),
      m_name(std::move(name)),
      m_bytes(std::move(bytes)),
      m_input(std::move(input)),
      m_valuesOptional(valuesOptional) {}

QString FleetProfiles::sharedDeviceId() const {
    const Parameter& deviceId = parameter("O5");
    const std::string text = readText(m_profile, deviceId);
    if (text.empty() || m_input.keeps(deviceId) ||
        (m_input.values && m_input.values->hasColumn(deviceId))) {
        return {};
    }
    return trackerText(text);
}

bool FleetProfiles::trackerAdded(const TrackerProvisioner& tracker) {
    m_own.erase(&tracker);  // a released tracker's address may be taken again
    return ++m_trackersAdded == 2 && !sharedDeviceId().isEmpty();
}

bool FleetProfiles::prepare(TrackerProvisioner& tracker) {
    const ProvisionOutcome& o = tracker.outcome();
    QString ownName = m_name;
    std::vector<ProfileValue> values;
    const FleetInput& fleet = m_input;
    if (fleet.values) {
        const FleetRow* row = fleet.row(o.imei.toStdString());
        if (row == nullptr && !m_valuesOptional) {
            tracker.abort(OperationResult::Step::Check,
                          o.imei.isEmpty()
                              ? QStringLiteral("reports no IMEI, so no row of %1 is its own")
                                    .arg(QString::fromStdString(fleet.valuesName))
                              : QStringLiteral("no row for IMEI %1 in %2")
                                    .arg(o.imei, QString::fromStdString(fleet.valuesName)));
            return false;
        }
        if (row != nullptr) {
            values = row->values;
            ownName += QStringLiteral(" + %1 line %2")
                           .arg(QString::fromStdString(fleet.valuesName))
                           .arg(row->line);
        }
    }
    if (!fleet.keep.empty()) {
        QStringList kept;
        for (const Parameter* p : fleet.keep) {
            values.push_back(profileValue(*o.before, *p));
            kept.append(QString::fromUtf8(p->code.data(), static_cast<int>(p->code.size())));
        }
        ownName += QStringLiteral(" + kept ") + kept.join(QLatin1Char(','));
    }
    if (values.empty()) {
        return true;
    }
    ParameterSet merged;
    const std::vector<OverlayProblem> problems = overlayValues(m_profile, values, merged);
    const SetCommandTable lines = SetCommandEncoder::encode(merged);
    if (!problems.empty() || !lines.complete()) {
        // Only a kept value can get here: the table was checked whole.
        const std::string why =
            !problems.empty()
                ? std::string(problems.front().parameter->code) + " " + problems.front().problem
                : "lines it would not read back: " + unfaithfulText(lines);
        tracker.abort(
            OperationResult::Step::Check,
            QStringLiteral("its own values would not be taken: ") + QString::fromStdString(why));
        return false;
    }
    m_own[&tracker] = {ownName, storedProfile(merged).toStdString()};
    tracker.setProfile(merged);
    return true;
}

void FleetProfiles::describe(const TrackerProvisioner& tracker, JournalEntry& entry) const {
    const auto own = m_own.find(&tracker);
    if (own != m_own.end()) {
        setProfile(entry, own->second.first, own->second.second);
    } else {
        setProfile(entry, m_name, m_bytes);
    }
}

std::function<bool(TrackerProvisioner&)> FleetProfiles::preparer() {
    return [this](TrackerProvisioner& tracker) { return prepare(tracker); };
}

std::function<void(const TrackerProvisioner&, JournalEntry&)> FleetProfiles::describer() const {
    return [this](const TrackerProvisioner& tracker, JournalEntry& entry) {
        describe(tracker, entry);
    };
}

}  // namespace qn470
