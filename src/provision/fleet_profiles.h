// SPDX-License-Identifier: Apache-2.0
#pragma once

// Each tracker of a fleet its own profile: the values table (a row per IMEI laid over the shared
// profile) and the keep list (codes each tracker writes back as it held them). The input is
// checked whole before any tracker is touched, into problem texts the caller shows; then
// prepare() gives each tracker its profile once its before state is known, and describe() names
// that profile in its journal entry.
//
//   std::vector<std::string> problems;
//   std::optional<FleetInput> input = readFleetInput(valuesPath, keepCodes, profile, "--keep",
//                                                    problems);
//   FleetProfiles profiles(profile, "fleet.pro", bytes, *input, valuesOptional);
//   StationJournal keeper(station, journal, EntryKind::kProvision, profiles.describer(),
//                         profiles.preparer());

#include <QString>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/parameter_set.h"
#include "csv/fleet_values.h"

namespace qn470 {

class TrackerProvisioner;
struct JournalEntry;

struct FleetInput {
    std::string valuesPath;  // empty without a values table
    std::string valuesName;  // its file name, as entries and messages show it
    std::optional<FleetValues> values;
    std::vector<const Parameter*> keep;

    bool keeps(const Parameter& p) const;
    // The row of this IMEI, or null (also without a table).
    const FleetRow* row(const std::string& imei) const;
};

// Why the tracker would refuse `profile` ("values the tracker would not take: ...", "lines the
// tracker would not read back: ..."), or nothing when it can be written.
std::optional<std::string> profileUnwritable(const ParameterSet& profile);

// Parses "O5,D1"; nothing and the problem ("<keepLabel> O5x: ...") when a code is unknown or
// cannot be kept.
std::optional<std::vector<const Parameter*>> parseKeep(const std::string& codes,
                                                       std::string_view keepLabel,
                                                       std::string& problem);

// The keep codes parsed, then the values table (when a path is given) read and checked against
// the profile and the keep list. Nothing, with one text per problem in file order, on any
// problem. keepLabel names the keep list in the texts ("--keep").
std::optional<FleetInput> readFleetInput(const std::string& valuesPath,
                                         const std::optional<std::string>& keepCodes,
                                         const ParameterSet& profile, std::string_view keepLabel,
                                         std::vector<std::string>& problems);

class FleetProfiles {
public:
    // name: the profile's file name; bytes: the file, which entries give the SHA-256 of.
    FleetProfiles(ParameterSet profile, QString name, std::string bytes, FleetInput input,
                  bool valuesOptional);

    const FleetInput& input() const { return m_input; }
    // The shared profile, which a tracker without values of its own gets, and its file name.
    const ParameterSet& profile() const { return m_profile; }
    const QString& profileName() const { return m_name; }

    // The Device ID every tracker gets: the profile's, when it has one and neither the table nor
    // the keep list gives each tracker its own; empty otherwise.
    QString sharedDeviceId() const;
    // To be called as each tracker is added. True once: at the second tracker when every
    // tracker gets sharedDeviceId() (a lab may want exactly that, so it is said, not refused).
    bool trackerAdded(const TrackerProvisioner& tracker);

    // Once the tracker's before state is known: gives it its own profile, or aborts it (a
    // missing row, its kept values not taken) and returns false.
    bool prepare(TrackerProvisioner& tracker);
    // Names the tracker's profile (with the row used and the codes kept) and its SHA-256.
    void describe(const TrackerProvisioner& tracker, JournalEntry& entry) const;

    std::function<bool(TrackerProvisioner&)> preparer();
    std::function<void(const TrackerProvisioner&, JournalEntry&)> describer() const;

private:
    ParameterSet m_profile;
    QString m_name;
    std::string m_bytes;
    FleetInput m_input;
    bool m_valuesOptional;
    int m_trackersAdded = 0;
    // The trackers given a profile of their own: its name and its bytes.
    std::map<const TrackerProvisioner*, std::pair<QString, std::string>> m_own;
};

}  // namespace qn470
