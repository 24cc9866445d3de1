// SPDX-License-Identifier: Apache-2.0
#pragma once

// The journal of a station's run: each tracker's entry is kept as soon as its before state is
// known (so a run killed halfway still leaves it, and nothing is written to a tracker whose entry
// could not be kept) and filled in when the tracker finishes. Two trackers reporting one IMEI in
// a run cannot both be found again by it, so the second fails before anything is written.
//
//   StationJournal keeper(station, journal, EntryKind::kProvision, describe, prepare);
//   connect(&keeper, &StationJournal::trackerJournaled, ...);   // count, print, show

#include <QObject>
#include <QString>
#include <functional>
#include <map>

#include "journal/journal.h"
#include "provision/provision_station.h"

namespace qn470 {

// What became of a finished tracker's entry.
struct JournalOutcome {
    bool kept = false;    // the entry holds the tracker's end
    QString error;        // why not
    qint64 entryId = -1;  // the entry, when one was stored (also when its end was not)

    // A tracker nobody can look up later is not done, whatever it holds now.
    bool verified(const ProvisionOutcome& outcome) const { return kept && outcome.result.isOk(); }
};

class StationJournal : public QObject {
    Q_OBJECT

public:
    // Fills in the profile of a tracker's entry.
    using DescribeProfile = std::function<void(const TrackerProvisioner&, JournalEntry&)>;
    // Runs once a tracker's before state is known, before its entry is first kept; may give
    // the tracker its own profile, or abort it (and returns false then).
    using Prepare = std::function<bool(TrackerProvisioner&)>;

    // kind: an EntryKind. The station and the journal outlive this object.
    StationJournal(ProvisionStation& station, Journal& journal, const char* kind,
                   DescribeProfile describe, Prepare prepare = {}, QObject* parent = nullptr);

signals:
    // A tracker finished and its entry was updated (or not: outcome.kept); the tracker is
    // released after the receivers return.
    void trackerJournaled(qn470::TrackerProvisioner* tracker, const qn470::JournalOutcome& outcome);

private:
    void onIdentified(TrackerProvisioner* tracker);
    void onFinished(TrackerProvisioner* tracker);
    JournalEntry entryOf(const TrackerProvisioner& tracker) const;

    Journal& m_journal;
    const char* m_kind;
    DescribeProfile m_describe;
    Prepare m_prepare;
    std::map<const TrackerProvisioner*, qint64> m_entryIds;
    // The IMEIs of the trackers running now, with their ports.
    std::map<QString, QString> m_imeisRunning;
};

}  // namespace qn470
