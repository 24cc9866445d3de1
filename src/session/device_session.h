// SPDX-License-Identifier: Apache-2.0
#pragma once

// The device operations of the command window as one object that the window and the command-line
// tool both drive.
//
//   DeviceSession session(parameters, link, prompter);
//   session.setPageHooks({[&] { return page->StoreValues(); },
//                         [&](RecordSource source) { setSourceFlags(source); page->LoadValues();
//                         }});
//   connect(&session, &DeviceSession::statusChanged, ...);        // replaces the status log
//   connect(&session, &DeviceSession::receiveLogAppended, ...);   // the link's receive log
//   connect(&session, &DeviceSession::operationStarted, ...);     // show the progress dialog
//   connect(&session, &DeviceSession::progressChanged, ...);      // after progressRangeChanged
//   connect(&session, &DeviceSession::operationFinished, ...);    // close it
//   session.toggleConnection(portList->currentText(), baudBox->text());  // "Start" / "Stop"
//   session.loadFromDevice();   // returns at once; the event loop runs the load
//
// Everything runs from the owner's event loop: lines come in through the link's signals, a save is
// paced by a timer and a load's idle end is a timer; nothing blocks, no thread is started.
//
// Every line received, at all times, goes through the report decoder and adds its result to the
// decoded-block counter (reset by each load, save and send, so a count always belongs to one
// exchange). Outside a load the line is decoded into the record, so the tracker's answer to a
// command typed in the command window shows on the pages; the set-command table is rebuilt from it
// only while the counter is 65 or more, so a save never sends lines rebuilt from half a report.
// A load decodes into a copy of the record reset from the built-in default profile, so nothing of
// the previous tracker or profile survives in what was loaded; only a complete report (the
// counter reaching 65, and every code a set line carries arrived) replaces the record. Otherwise
// the load fails and the record stays as it was: when nothing was decoded for idleTimeout(), when
// the device is lost, or on cancel().
//
// A save stores the current page, rebuilds the table and writes the 75 slots in order, one written
// line per saveInterval() (the tracker needs the time to apply a line before the next comes);
// empty slots are passed over without a pause, as nothing was sent that needs the time. It is
// refused before anything is sent when the page refused a field, a value or line would not be
// taken as meant, or a line would be too long for the tracker, so a tracker is never left
// half-written by a save that could not have completed.
//
// Load and save run one at a time; while one runs (isBusy()) the other commands are refused and
// return false without a message. operationFinished comes last, once the record was replaced and
// every message shown.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>
#include <string_view>
#include <vector>

#include "config/parameter_set.h"
#include "config/report_decoder.h"
#include "config/set_command_encoder.h"
#include "serial/port_diagnosis.h"
#include "session/page_hooks.h"

namespace qn470 {

class CSerialLink;
class Prompter;

class DeviceSession : public QObject {
    Q_OBJECT

public:
    // ReadBack reads the tracker like a load into a set of its own (readBackSet()): the record
    // and the pages stay as they are, and no status line is shown, so a caller can check what a
    // save left on the tracker, or keep what it held, without the user's edits being replaced.
    enum class Operation { None, Load, Save, ReadBack };

    // Why the last connectDevice() or openPort() did not open a port, as a value the command-line
    // tool can act on; None after a successful open.
    enum class ConnectFailure {
        None,
        NotTrackerPort,  // the port-list entry names no tracker port
        BadPortName,     // a tracker entry without a usable port name in brackets
        BadBaud,     // not a standard rate (config/baud_rate.h), refused before the port is touched
        OpenFailed,  // the port itself could not be opened
    };
    Q_ENUM(Operation)

    static constexpr int kDefaultSaveIntervalMs = 1000;
    // The longest pause the tools accept: a slower pace helps no tracker, and a typo would stall
    // a save for days.
    static constexpr int kMaxSaveIntervalMs = 60000;
    // A load whose tracker stays silent this long ends as failed.
    static constexpr int kLoadIdleTimeoutMs = 10000;
    // A whole report decodes into this many lines; fewer is an incomplete load.
    static constexpr int kCompleteReportCount = ReportDecoder::kCompleteCount;
    static constexpr int kLoadProgressMax = kCompleteReportCount - 1;
    static constexpr int kSaveProgressMax = kSlotCount - 1;
    // Longer command lines are cut, as the window always did, so a command typed there and one
    // sent by qn470 (which refuses longer text) reach the tracker alike.
    static constexpr int kMaxCommandLength = 127;

    DeviceSession(ParameterSet& parameters, CSerialLink& link, Prompter& prompter,
                  QObject* parent = nullptr);
    ~DeviceSession() override;

    void setPageHooks(PageHooks hooks) { m_hooks = std::move(hooks); }

    // Time between two lines written by a save; 0 writes them as fast as the port takes them.
    void setSaveInterval(int milliseconds) { m_saveIntervalMs = qMax(0, milliseconds); }
    int saveInterval() const { return m_saveIntervalMs; }
    // A load succeeds only when the report carried every code a set line carries (see
    // report_completeness.h). Off: a report that reaches the count is taken with whatever it
    // carried, for a tracker whose firmware reports fewer codes; missingCodes() names them.
    void setRequireAllCodes(bool require) { m_requireAllCodes = require; }
    // The required codes the last load's report did not carry, in table order.
    const std::vector<std::string_view>& missingCodes() const { return m_missingCodes; }

    // Time without a decoded line after which a load ends (tests shorten it).
    void setIdleTimeout(int milliseconds) { m_idleTimeoutMs = qMax(1, milliseconds); }
    int idleTimeout() const { return m_idleTimeoutMs; }

    // "Start" / "Stop": disconnects when connected, connects otherwise.
    bool toggleConnection(const QString& portListText, const QString& baudText);
    // "Start": the port-list entry must name a tracker port ("Not STM serial port!\r\n"); the baud
    // text is read like the baud box (leading blanks and a sign allowed, 0 without digits).
    bool connectDevice(const QString& portListText, const QString& baudText);
    // Opens a port by its name ("ttyUSB0", "pts/3", "COM5", a /dev path), without the port-list
    // rules; the command-line tool uses it.
    bool openPort(const QString& portName, qint32 baudRate);
    // After the failed open's status, why it failed and what to do, in a message box (caption
    // "Error"); the command-line tool turns the box off and prints openDiagnosis() itself.
    void setOpenFailureBox(bool shown) { m_openFailureBox = shown; }
    const PortDiagnosis& openDiagnosis() const { return m_openDiagnosis; }
    ConnectFailure lastConnectFailure() const { return m_connectFailure; }
    // "Stop": ends a running operation, closes the link and clears `connected`.
    void disconnectDevice();
    bool isConnected() const;

    // The command line (cut at kMaxCommandLength characters) with CR LF.
    bool sendCommandLine(const QString& text);
    // "LO" when active, "LO(0)" otherwise.
    bool sendTransmissionSwitch(bool active);

    // Start a load or a save; false when refused (the status log says why, unless busy).
    bool loadFromDevice();
    bool saveToDevice();
    // A save that sends only the lines of these blocks (in series order), for a tracker that
    // already holds the others; every check of a whole save runs first. The caller includes the
    // first and the closing block, which frame a series for the tracker.
    bool saveBlocksToDevice(const std::vector<int>& blocks);
    // Stores the current page and checks the record as a save does first; false, with the status
    // saying why, when a save would be refused. Nothing is sent.
    bool checkSave();
    // Starts a read-back (see Operation::ReadBack); false when busy or the link is closed.
    bool readBack();
    // What the last successful read-back read (a complete report).
    const ParameterSet& readBackSet() const { return m_readBack; }
    // How the last read-back ended.
    enum class ReadBackEnd { Complete, NoAnswer, LinkLost, Incomplete, Cancelled, WriteFailed };
    ReadBackEnd readBackEnd() const { return m_readBackEnd; }
    // A load or a read-back succeeded since the port was opened: the tracker's state before the
    // next save is known.
    bool loadedOnThisConnection() const { return m_loadedOnThisConnection; }
    // Ends the running load or save as failed; the record stays as it was.
    void cancel();

    Operation operation() const { return m_operation; }
    bool isBusy() const { return m_operation != Operation::None; }

    QString statusText() const { return m_status; }
    // Why the last load, read-back or save failed or was refused, in words for a log or the
    // journal, whoever started it: "no answer", "link lost", "report incomplete: N codes missing
    // (A0, ...)", "cancelled", "serial port is not open", "2 lines failed", "values the tracker
    // would not take: ...". Kept apart from the status line, which is the window's wording.
    const QString& failureReason() const { return m_failure; }
    QString receiveLog() const;
    int decodedBlocks() const { return m_decodedBlocks; }
    const SetCommandTable& lineTable() const { return m_table; }
    const ParameterSet& parameters() const { return m_set; }
    ParameterSet& parameters() { return m_set; }
    CSerialLink& link() { return m_link; }
    Prompter& prompter() { return m_prompter; }

    // Shared with the file operations.
    void showStatus(const QString& text);
    // The page's store hook; every field counts as taken without one.
    StoreResult storeCurrentPage();
    // Puts set into the record, rebuilds the table and lets the current page reload.
    void replaceRecord(const ParameterSet& set, RecordSource source);
    void rebuildLineTable();

signals:
    void statusChanged(const QString& text);
    void receiveLogAppended(const QString& text);
    void receiveLogCleared();
    // `connected` changed by Start / Stop (not by an unplug: the link is reopened on return).
    void connectionChanged(bool connected);
    // Emitted from inside loadFromDevice() / saveToDevice(): show a progress dialog with show()
    // or open(), not exec(), or the save's first line waits for the dialog to close.
    void operationStarted(DeviceSession::Operation operation);
    void progressRangeChanged(int minimum, int maximum);
    void progressChanged(int value);
    void operationFinished(DeviceSession::Operation operation, bool success);
    // The record now holds what was loaded; the current page has reloaded.
    void recordReplaced(RecordSource source);

private:
    enum class End { Complete, Idle, Disconnected, Cancelled, WriteFailed };

    void onReportLine(const QByteArray& line);
    void onDeviceLost();
    void onWriteFailed(const QString& reason);
    void onIdleTick();
    void onBytesWritten();
    void reportClosedLink();
    bool writeLine(std::string_view line);
    void beginOperation(Operation operation, int progressMaximum);
    void endOperation();
    bool startReading(Operation operation);
    bool startSave(const std::vector<int>* blocks);
    void finishLoad(End end);
    void finishReadBack(End end, std::unique_ptr<ParameterSet> staging);
    QString readFailure(End end) const;
    void sendSlots();
    void finishSave(End end);

    ParameterSet& m_set;
    CSerialLink& m_link;
    Prompter& m_prompter;
    PageHooks m_hooks;
    ReportDecoder m_decoder;
    SetCommandTable m_table;
    QString m_status;
    int m_decodedBlocks = 0;
    Operation m_operation = Operation::None;
    unsigned m_run = 0;  // bumped when an operation starts or ends
    bool m_openFailureBox = true;
    PortDiagnosis m_openDiagnosis;
    ConnectFailure m_connectFailure = ConnectFailure::None;

    // Load.
    std::unique_ptr<ParameterSet> m_staging;
    CodeSet m_arrived;  // the codes this load's report carried
    std::vector<std::string_view> m_missingCodes;
    bool m_requireAllCodes = true;
    bool m_loadedOnThisConnection = false;
    ParameterSet m_readBack;
    ReadBackEnd m_readBackEnd = ReadBackEnd::Complete;
    QString m_failure;
    QString m_writeFailure;  // the port's reason when the load command could not be written
    int m_idleTicks = 0;
    int m_idleTimeoutMs = kLoadIdleTimeoutMs;
    QTimer m_idleTimer;

    // Save.
    std::array<LineSlot, kSlotCount> m_saveLines;
    int m_nextSlot = 0;
    int m_failedLines = 0;
    bool m_awaitingFlush = false;
    int m_saveIntervalMs = kDefaultSaveIntervalMs;
    QTimer m_saveTimer;
};

}  // namespace qn470
