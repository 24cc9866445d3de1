// SPDX-License-Identifier: Apache-2.0
#include "cli/journal_audit.h"

#include <algorithm>
#include <iostream>
#include <map>

#include "cli/cli_support.h"
#include "cli/fleet_input.h"
#include "config/default_profile.h"
#include "config/profile.h"
#include "csv/csv_text.h"
#include "journal/journal_text.h"
#include "session/code_comparison.h"

namespace qn470::cli {
namespace {

struct LatestState {
    const JournalEntry* entry = nullptr;  // the entry whose state it is; null: never read whole
    QByteArray state;
};

// The after state of the tracker's newest entry with one, else the before state of its newest
// entry with one. `entries` are one tracker's, newest first.
std::optional<LatestState> latestState(Journal& journal,
                                       const std::vector<const JournalEntry*>& entries,
                                       QString* error) {
    LatestState fallback;
    for (const JournalEntry* listed : entries) {
        const std::optional<JournalEntry> full = journal.entry(listed->id, error);
        if (!full) {
            return std::nullopt;
        }
        if (!full->after.isEmpty()) {
            return LatestState{listed, full->after};
        }
        if (fallback.entry == nullptr && !full->before.isEmpty()) {
            fallback = {listed, full->before};
        }
    }
    return fallback;
}

std::string utf8(const QString& text) {
    return text.toUtf8().toStdString();
}

}  // namespace

int runAudit(Journal& journal, const AuditOptions& options) {
    ParameterSet profile;
    loadDefaultProfile(profile);
    if (!readProfileOrReport(options.profile, profile, ProfileProblems::Warn)) {
        return kExitBadInput;
    }
    std::optional<FleetInput> fleetInput =
        fleetInputOrReport(options.values, options.keep, profile);
    if (!fleetInput) {
        return kExitBadInput;
    }
    const FleetInput& fleet = *fleetInput;
    JournalFilter filter;
    filter.since = options.since;
    QString error;
    const std::vector<JournalEntry> entries = journal.list(filter, &error);
    if (!error.isEmpty()) {
        return badInput(escapeControls(error).toLocal8Bit().toStdString());
    }
    // Every tracker by IMEI, its entries newest first (ids are the order entries were stored in).
    std::map<QString, std::vector<const JournalEntry*>> trackers;
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        if (!it->imei.isEmpty()) {
            trackers[it->imei].push_back(&*it);
        }
    }
    if (options.csv) {
        writeStdout(csvRecord({"imei", "device_id", "time", "state"}));
    }
    int ok = 0;
    int differ = 0;
    int unknown = 0;
    for (const auto& [imei, own] : trackers) {
        const std::optional<LatestState> latest = latestState(journal, own, &error);
        if (!latest) {
            return badInput(escapeControls(error).toLocal8Bit().toStdString());
        }
        ParameterSet held;
        loadDefaultProfile(held);
        const std::string stored(latest->state.constData(),
                                 static_cast<std::size_t>(latest->state.size()));
        std::string state;
        if (latest->entry == nullptr || !readProfileBytes(stored, held).ok) {
            state = "unknown";
            ++unknown;
        } else {
            std::vector<ProfileValue> values;
            if (const FleetRow* row = fleet.row(utf8(imei))) {
                values = row->values;
            }
            for (const Parameter* p : fleet.keep) {
                values.push_back(profileValue(held, *p));
            }
            ParameterSet wanted;
            overlayValues(profile, values, wanted);
            std::string codes;
            for (const CodeDifference& d :
                 differingCodes(wanted, held, CodeSelection::SentAndReported)) {
                codes += (codes.empty() ? "" : " ") + d.code;
            }
            state = codes.empty() ? "ok" : "differs " + codes;
            ++(codes.empty() ? ok : differ);
        }
        const JournalEntry* seen = latest->entry != nullptr ? latest->entry : own.front();
        const QString time = seen->time.toUTC().toString(Qt::ISODateWithMs);
        if (options.csv) {
            writeStdout(csvRecord({utf8(imei), utf8(seen->deviceId), utf8(time), state}));
        } else {
            const auto shown = [](const QString& text) {
                return text.isEmpty() ? std::string("-")
                                      : escapeControls(text).toLocal8Bit().toStdString();
            };
            std::cout << shown(imei) << '\t' << shown(seen->deviceId) << '\t' << shown(time) << '\t'
                      << state << '\n';
        }
    }
    std::cout << std::flush;
    std::cerr << "qn470: " << trackers.size() << " trackers: " << ok << " ok, " << differ
              << " differ, " << unknown << " unknown\n";
    return ok == static_cast<int>(trackers.size()) ? kExitOk : kExitDiffers;
}

}  // namespace qn470::cli
