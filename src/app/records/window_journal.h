// SPDX-License-Identifier: Apache-2.0
#pragma once

// The window's entries in the journal: every "Load from device" and "Save to device" with the
// time, this station, the port, the tracker's identity (IMEI, Device ID, firmware), the result,
// and what the tracker held before and after as stored profiles. Loads are recorded as they end;
// saves through SaveToDevice, which reads a tracker whose state is not known first, so the entry
// always knows what the save overwrote.
//
//   WindowJournal journal(session, settings);
//   if (journal.needsStateBeforeSave()) { ... read ...; }   journal.recordSave(outcome);
//
// The journal is opened at the first load or save: a location chosen with useLocation(), else
// the QN470_JOURNAL environment variable, else the setting "journalLocation", else
// Journal::defaultLocation(). One that cannot be opened or written is reported once (status line
// and message), and the window goes on without it.

#include <QObject>
#include <QString>
#include <memory>
#include <optional>

#include "config/parameter_set.h"
#include "journal/journal.h"
#include "session/device_session.h"

class QSettings;

namespace qn470 {

struct SaveOutcome;

class WindowJournal : public QObject {
    Q_OBJECT

public:
    static constexpr char kLocationSetting[] = "journalLocation";
    static constexpr char kLocationVariable[] = "QN470_JOURNAL";

    WindowJournal(DeviceSession& session, QSettings& settings, QObject* parent = nullptr);
    ~WindowJournal() override;

    enum class LocationSource { Chosen, Environment, Setting, Default };

    // Where the journal is, by the rules above, and which rule gave it.
    QString location() const;
    LocationSource locationSource() const;
    // Opens the journal at `location` and uses it from now on (and keeps it in the settings);
    // false with the journal's message, and the old one kept, when it cannot be opened.
    bool useLocation(const QString& location, QString* error);
    // The journal, opened on first use; null when it cannot be (reported once, as above).
    Journal* store() { return journal(); }

    // True when a save should read the tracker first: the journal can be written and what the
    // tracker holds is not known on this connection.
    bool needsStateBeforeSave();
    // What the tracker holds as far as this connection has seen.
    const std::optional<ParameterSet>& knownState() const { return m_known; }
    // The entry of a save that ended; what the tracker holds is known from it for the next save.
    void recordSave(const SaveOutcome& outcome);

    // False once the journal could not be opened or written.
    bool isAvailable() const { return !m_failed; }

signals:
    // An entry was stored; its id.
    void recorded(qint64 id);
    // useLocation() replaced the journal.
    void locationChanged();

private:
    Journal* journal();
    void fail(const QString& message);
    void onStarted(DeviceSession::Operation operation);
    void onFinished(DeviceSession::Operation operation, bool ok);
    void record(const JournalEntry& entry);

    DeviceSession& m_session;
    QSettings& m_settings;
    std::unique_ptr<Journal> m_journal;
    QString m_chosen;  // by useLocation(); beats the environment
    bool m_failed = false;
    // What the tracker holds as far as this connection has seen; none after a reconnect or a
    // save that did not end.
    std::optional<ParameterSet> m_known;
    QString m_port;
};

}  // namespace qn470
