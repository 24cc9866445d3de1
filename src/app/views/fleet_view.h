// SPDX-License-Identifier: Apache-2.0
#pragma once

// The Fleet window: one profile (the window's values or a .pro file, with an optional values
// table and keep list) written to every tracker port at once, or to each tracker as it is
// plugged in, by the same station and journal keeping as qn470 provision, in the window's event
// loop. One table row per tracker port, kept current as adapters come and go: port, IMEI, Device
// ID, step, progress, result and time; the result's colour and text both say how it went.
//
//   CFleetView* view = new CFleetView(context, frame);
//   view->setShowInJournal([journal](qint64 id) { journal->showEntry(id); });
//   view->show();
//
// Start checks the whole input first and refuses with one problem per line; a journal that
// cannot be opened refuses it too, since nothing is written to a tracker without its backup. The
// port the command window holds open is left alone and its row says so.

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "config/parameter_set.h"
#include "serial/port_discovery.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace qn470 {

class FleetProfiles;
class Journal;
class Prompter;
class ProvisionStation;
class StationJournal;
class TrackerProvisioner;
struct JournalOutcome;

// What the fleet view needs of the window.
struct FleetViewContext {
    Prompter& prompter;
    PortSource ports;
    int intervalMs = 0;
    // The window's values as a profile; nothing when the open page refused a field (it said why).
    std::function<std::optional<ParameterSet>()> windowProfile;
    // Where the window's journal is.
    std::function<QString()> journalLocation;
    // The port the command window holds open; empty when none.
    std::function<QString()> portHeld;
    // The baud rate the command window uses.
    std::function<qint32()> baudRate;
};

class CFleetView : public QWidget {
    Q_OBJECT

public:
    enum Column { kPort, kImei, kDeviceId, kStep, kProgress, kResult, kTime, kColumnCount };
    // How a row's last tracker ended; its colour.
    enum class Outcome { None, Running, Verified, Differs, Failed, Stopped, Refused };
    // How often the rows follow the ports plugged and unplugged, and the station looks for new
    // trackers.
    static constexpr int kPortLookMs = 500;

    explicit CFleetView(FleetViewContext context, QWidget* parent = nullptr);
    ~CFleetView() override;

    // "Show in journal" calls this with the row's entry.
    void setShowInJournal(std::function<void(qint64 entryId)> hook) {
        m_showInJournal = std::move(hook);
    }

    // Checks the input and starts every present tracker port (and, when chosen, each one
    // plugged in later). False, with the problems shown, when refused.
    bool start();
    // Stops every tracker cleanly; once all have ended, names those left half-written.
    void stop();
    // A new tracker on the selected row's port (another tracker, or the same again).
    void retrySelected();
    void showSelectedInJournal();
    // A tracker runs, or new ones are watched for.
    bool isRunning() const;
    // Reads the ports now (the timer does it every kPortLookMs).
    void lookAtPorts();

    // The row of a port, or -1; its outcome and journal entry (-1 without one).
    int rowOf(const QString& port) const;
    Outcome rowOutcome(int row) const;
    qint64 rowEntryId(int row) const;

    QLineEdit* profileEdit() const { return m_profile; }
    QLineEdit* valuesEdit() const { return m_values; }
    QCheckBox* valuesOptionalBox() const { return m_valuesOptional; }
    QLineEdit* keepEdit() const { return m_keep; }
    QCheckBox* changedOnlyBox() const { return m_changedOnly; }
    QCheckBox* watchBox() const { return m_watch; }
    QPlainTextEdit* problemsText() const { return m_problems; }
    QTableWidget* table() const { return m_table; }
    QPushButton* startButton() const { return m_start; }
    QPushButton* stopButton() const { return m_stop; }
    QPushButton* retryButton() const { return m_retry; }
    QPushButton* journalButton() const { return m_showEntry; }
    QLabel* summaryLabel() const { return m_summary; }
    QLabel* messageLabel() const { return m_message; }

signals:
    // Every tracker has ended and none is watched for.
    void runEnded();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    struct Row;

    void buildControls();
    void browse(QLineEdit* edit, const QString& caption, const QString& filter);
    // The profile, its name and bytes, the fleet input and the journal; false with problems.
    bool prepareRun(std::vector<std::string>& problems);
    Row& rowFor(const QString& port);
    void follow(TrackerProvisioner* tracker);
    void trackerEnded(TrackerProvisioner* tracker, const JournalOutcome& journaled);
    void refuseHeld(Row& row);
    void stationEnded();
    void showRow(const Row& row);
    void showSummary();
    void showButtons();

    FleetViewContext m_context;
    std::function<void(qint64)> m_showInJournal;

    QLineEdit* m_profile = nullptr;
    QLineEdit* m_values = nullptr;
    QCheckBox* m_valuesOptional = nullptr;
    QLineEdit* m_keep = nullptr;
    QCheckBox* m_changedOnly = nullptr;
    QCheckBox* m_watch = nullptr;
    QPlainTextEdit* m_problems = nullptr;
    QTableWidget* m_table = nullptr;
    QPushButton* m_start = nullptr;
    QPushButton* m_stop = nullptr;
    QPushButton* m_retry = nullptr;
    QPushButton* m_showEntry = nullptr;
    QLabel* m_summary = nullptr;
    QLabel* m_message = nullptr;
    QTimer m_portLook;

    std::vector<std::unique_ptr<Row>> m_rows;  // in table order
    // Destroyed in reverse: the journal keeper before its station, both before the journal.
    std::unique_ptr<Journal> m_journal;
    std::unique_ptr<FleetProfiles> m_profiles;
    std::unique_ptr<ProvisionStation> m_station;
    std::unique_ptr<StationJournal> m_keeper;
    bool m_stopping = false;
};

}  // namespace qn470
