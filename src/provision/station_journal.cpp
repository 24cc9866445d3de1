// SPDX-License-Identifier: Apache-2.0
#include "provision/station_journal.h"

#include "journal/tracker_entry.h"

namespace qn470 {

StationJournal::StationJournal(ProvisionStation& station, Journal& journal, const char* kind,
                               DescribeProfile describe, Prepare prepare, QObject* parent)
    : QObject(parent),
      m_journal(journal),
      m_kind(kind),
      m_describe(std::move(describe)),
      m_prepare(std::move(prepare)) {
    connect(&station, &ProvisionStation::trackerAdded, this, [this](TrackerProvisioner* tracker) {
        connect(tracker, &TrackerProvisioner::identified, this,
                [this, tracker] { onIdentified(tracker); });
    });
    connect(&station, &ProvisionStation::trackerFinished, this, &StationJournal::onFinished);
}

JournalEntry StationJournal::entryOf(const TrackerProvisioner& tracker) const {
    const ProvisionOutcome& o = tracker.outcome();
    JournalEntry entry =
        trackerEntry(m_kind, tracker.request().port, o.before ? &*o.before : nullptr,
                     o.after ? &*o.after : nullptr, o.result);
    if (m_describe) {
        m_describe(tracker, entry);
    }
    setBlocksWritten(entry, o.blocksWritten);
    return entry;
}

void StationJournal::onIdentified(TrackerProvisioner* tracker) {
    const QString& imei = tracker->outcome().imei;
    const QString& port = tracker->request().port;
    if (!imei.isEmpty()) {
        const auto [other, added] = m_imeisRunning.try_emplace(imei, port);
        if (!added) {
            tracker->abort(OperationResult::Step::Check,
                           QStringLiteral("IMEI %1 is reported by %2 and %3 too")
                               .arg(imei, other->second, port));
            return;
        }
    }
    if (m_prepare && !m_prepare(*tracker)) {
        return;
    }
    QString error;
    const qint64 id = m_journal.record(entryOf(*tracker), &error);
    if (id < 0) {
        // Nothing written yet: no tracker is changed without its backup.
        tracker->abort(OperationResult::Step::Journal, error);
    } else {
        m_entryIds[tracker] = id;
    }
}

void StationJournal::onFinished(TrackerProvisioner* tracker) {
    const ProvisionOutcome& o = tracker->outcome();
    JournalOutcome outcome;
    const auto id = m_entryIds.find(tracker);
    if (id != m_entryIds.end()) {
        outcome.entryId = id->second;
        outcome.kept = m_journal.update(id->second, entryOf(*tracker), &outcome.error);
        m_entryIds.erase(id);
    } else {
        outcome.entryId = m_journal.record(entryOf(*tracker), &outcome.error);
        outcome.kept = outcome.entryId >= 0;
    }
    if (const auto running = m_imeisRunning.find(o.imei);
        running != m_imeisRunning.end() && running->second == tracker->request().port) {
        m_imeisRunning.erase(running);
    }
    emit trackerJournaled(tracker, outcome);
}

}  // namespace qn470
