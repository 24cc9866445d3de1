// SPDX-License-Identifier: Apache-2.0
#pragma once

// What a restore writes back to a tracker, decided in one place for qn470 restore and the
// window's journal view: which journal entry, the set its before state holds, the notes said
// before writing, or why nothing may be written.
//
//   RestorePlan plan = restoreEntry(journal, entryId);        // before the tracker is read
//   if (plan.refused()) { report(plan.refusal); }
//   plan = planRestore(journal, plan, held, port, station);   // with what the tracker holds
//   if (plan.decision == RestoreDecision::Write) { ... write plan.target ... }
//
// Every text shows stored and tracker text with its control characters escaped.

#include <QString>
#include <QStringList>
#include <optional>
#include <string>

#include "config/parameter_set.h"
#include "journal/journal.h"

namespace qn470 {

enum class RestoreDecision {
    Undecided,         // an entry was chosen; the tracker has not been read yet
    Write,             // target differs from what the tracker holds
    AlreadyHolds,      // nothing to write
    WrongInput,        // the entry named or the journal cannot be used (qn470: bad input)
    NothingToRestore,  // no entry can be told to be this tracker's own
};

struct RestorePlan {
    RestoreDecision decision = RestoreDecision::Undecided;
    QString refusal;  // why, when WrongInput or NothingToRestore
    std::optional<JournalEntry> entry;
    ParameterSet target;       // the entry's before state, when Write or AlreadyHolds
    std::string stored;        // its stored profile bytes
    QStringList notes;         // said before writing: another Device ID, another station
    QString entryName;         // "journal entry 12 (2026-01-02T03:04:05Z)"
    QString profileName;       // the restore entry's profile name: "journal entry 12"
    bool imeiMissing = false;  // NothingToRestore because the tracker reports no IMEI

    bool refused() const {
        return decision == RestoreDecision::WrongInput ||
               decision == RestoreDecision::NothingToRestore;
    }
};

// Entry `id` as the one to write back (it must exist and hold a before state); with id 0 no entry
// is named and the tracker's own newest is looked up once its IMEI is known.
RestorePlan restoreEntry(Journal& journal, qint64 id);

// The decision once the tracker on `port` was read (`held`): the entry named must be of its IMEI;
// without one, its newest save or provisioning with a before state (a tracker that reports no
// IMEI would match any, so it gets none). `station` is this station's name, for the note.
RestorePlan planRestore(Journal& journal, RestorePlan chosen, const ParameterSet& held,
                        const QString& port, const QString& station);

}  // namespace qn470
