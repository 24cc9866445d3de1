// SPDX-License-Identifier: Apache-2.0
#pragma once

// The "Journal" window: the journal's entries newest first (time, station, port, IMEI, Device ID,
// kind, result), narrowed by words and a date range; the selected entry's details and its before
// and after states side by side. A state can be opened into the pages (the change marks then
// show what the entry changed), and the before state written back to a tracker on a port chosen
// here, by the rules of qn470 restore (provision/restore_plan.h), after the user confirmed. The
// journal's location is shown and can be changed here; the window's journal uses the new one.
//
//   auto* view = new CJournalView({journal, session, changes, values, prompter, ports, interval});
//   view->showEntry(id);

#include <QDate>
#include <QDialog>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "journal/journal.h"
#include "provision/restore_plan.h"
#include "serial/port_discovery.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace qn470 {

class ChangeTracker;
class DeviceSession;
class Prompter;
class ProvisionStation;
class StationJournal;
class TrackerProvisioner;
class ValueTable;
class WindowJournal;
class WindowValues;

// Whether an entry passes the view's filter: every word (case-insensitive) is found in its IMEI,
// Device ID, kind or result, and its local date lies within the range's ends that are set.
bool entryMatches(const JournalEntry& entry, const QString& words, std::optional<QDate> from,
                  std::optional<QDate> to);

struct JournalViewParts {
    WindowJournal& journal;
    DeviceSession& session;  // the command window's, whose record a state is opened into
    ChangeTracker& changes;
    WindowValues& values;
    Prompter& prompter;
    PortSource ports;
    int intervalMs;  // between set lines of a restore
    // The port the command window holds (empty: none), never used for a restore; the rate it
    // talks at, which a restore uses too.
    std::function<QString()> portHeld;
    std::function<qint32()> baudRate;
};

class CJournalView : public QDialog {
    Q_OBJECT

public:
    enum Column { kId, kTime, kStation, kPort, kImei, kDeviceId, kKind, kResult, kColumnCount };

    explicit CJournalView(JournalViewParts parts, QWidget* parent = nullptr);
    ~CJournalView() override;

    // Reads the journal's entries again and shows those the filter lets through.
    void reload();
    // Selects entry `id`, widening the filter when it hides it; false when there is none.
    bool showEntry(qint64 id);
    qint64 selectedId() const;

    // The buttons' commands.
    void openBefore();
    void openAfter();
    void restoreToTracker();
    void exportCsv();
    void changeLocation();
    void scanPorts();

    bool restoring() const { return m_reader != nullptr || m_station != nullptr; }
    QString note() const;

    QTableWidget* entries() const { return m_entries; }
    ValueTable* states() const { return m_states; }
    QLineEdit* filter() const { return m_filter; }
    QCheckBox* dateRange() const { return m_dateRange; }
    QDateEdit* from() const { return m_from; }
    QDateEdit* to() const { return m_to; }
    QComboBox* portList() const { return m_port; }
    QLineEdit* newLocation() const { return m_newLocation; }
    QLabel* location() const { return m_location; }
    QLabel* details() const { return m_details; }

signals:
    // A restore ended (whatever its result), its entry recorded or not.
    void restoreFinished();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void fillEntries();
    void showSelected();
    void showStates();
    void openState(bool before);
    void showLocation();
    void setNote(const QString& text);
    void identified(const QString& port);
    void writeBack(const QString& port);
    void endRestore(const QString& text);
    Journal* store();

    JournalViewParts m_parts;
    std::vector<JournalEntry> m_all;         // as listed, id order, without states
    std::vector<JournalEntry> m_shown;       // newest first
    std::optional<JournalEntry> m_selected;  // with its states
    std::optional<ParameterSet> m_before;
    std::optional<ParameterSet> m_after;
    QString m_detailsText;  // the selected entry's, before the count of differences

    QLabel* m_location = nullptr;
    QLineEdit* m_newLocation = nullptr;
    QPushButton* m_useLocation = nullptr;
    QLineEdit* m_filter = nullptr;
    QCheckBox* m_dateRange = nullptr;
    QDateEdit* m_from = nullptr;
    QDateEdit* m_to = nullptr;
    QTableWidget* m_entries = nullptr;
    QLabel* m_details = nullptr;
    ValueTable* m_states = nullptr;
    QCheckBox* m_onlyDifferences = nullptr;
    QPushButton* m_openBefore = nullptr;
    QPushButton* m_openAfter = nullptr;
    QComboBox* m_port = nullptr;
    QPushButton* m_scan = nullptr;
    QPushButton* m_restore = nullptr;
    QPushButton* m_export = nullptr;
    QLabel* m_note = nullptr;

    // The running restore: the tracker read first, then written by a station of one.
    RestorePlan m_plan;
    std::unique_ptr<TrackerProvisioner> m_reader;
    std::unique_ptr<ProvisionStation> m_station;
    std::unique_ptr<StationJournal> m_keeper;
};

}  // namespace qn470
