// SPDX-License-Identifier: Apache-2.0
#pragma once

// The command window below the pages: the connection (port list, Scan, baud rate, Start/Stop), a
// free command line and the tracker's data transmission switch with their Send buttons, the five
// load and save buttons, the status log (only the latest message) and the receive log (every
// line the tracker sent, newest at the bottom).
//
//   CCommandWindow* window = new CCommandWindow(session, files, recentFiles, ports,
//                                               {storeCurrentPage, recordLoaded});
//   view.installCommandWindow(window);
//
// Creating it scans the ports and reads the built-in default profile into the record. The page
// hooks reach the page on show: its values are stored before every save (tracker, profile, bin
// file) and reloaded after every load. Enter anywhere in the window sends the command line (a
// focused push button is pressed instead), Escape sends the transmission switch; neither closes
// anything. A load or a save shows CProgress until it ends.
//
// The Start/Stop button says "Stop" only while the link is open. When the adapter goes, the
// status log says so (unless a running operation's FAIL line already does) and the port list is
// read again every second until the link is back, so the adapter shows up under whatever name it
// returns with; "Start" then opens the chosen entry. The receive log's context menu offers
// "Save log...", the session log's timestamped lines in a file.

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "serial/port_discovery.h"
#include "session/page_hooks.h"

class QButtonGroup;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace qn470 {

class CProgress;
class DeviceSession;
class FileOperations;
class RecentFiles;
class SessionLog;

class CCommandWindow : public QWidget {
    Q_OBJECT

public:
    // Control ids, used as object names.
    enum ControlId : int {
        kCommandEdit = 2601,
        kSendCommand = 1,
        kActive = 1231,
        kInactive = 1232,
        kSendSwitch = 2,
        kPortList = 1106,
        kScan = 1108,
        kBaud = 2604,
        kStartStop = 1107,
        kSaveToFile = 1008,
        kSaveToBinFile = 1009,
        kSaveToDevice = 1104,
        kLoadFromFile = 140,
        kLoadFromDevice = 1105,
        kStatusLog = 1110,
        kReceiveLog = 1111,
    };

    CCommandWindow(DeviceSession& session, FileOperations& files, RecentFiles& recentFiles,
                   PortSource ports, PageHooks pageHooks, QWidget* parent = nullptr);
    ~CCommandWindow() override;

    // The commands, as their buttons and keys run them.
    void sendCommandLine();
    void sendTransmissionSwitch();
    void startStop();
    void scanPorts();
    void loadFromDevice();
    void saveToDevice();
    void saveToFile();
    void loadFromFile();
    void saveToBinFile();

    // The baud box as the link reads it (also when the adapter returns).
    qint32 baudRate() const;
    QString portText() const;

    // The dialog of the running load or save, if any.
    CProgress* progressDialog() const;

    // What "Save to device" runs (the session's save unless set), so a journal can read the
    // tracker first.
    void setSaveCommand(std::function<void()> command) { m_saveCommand = std::move(command); }
    // Offers "Save log..." on the receive log, writing this log's lines.
    void setSessionLog(SessionLog* log) { m_sessionLog = log; }
    // "Save log...": asks for a file and writes the session log's lines into it.
    void saveLog();

    // The adapter came back and the link was reopened on its port.
    void linkReopened();

signals:
    // "Journal..." was pressed.
    void journalRequested();
    // "Fleet..." was pressed (or Ctrl+Shift+F).
    void fleetRequested();

public:
    // While the link is lost, the port list is read again this often, so the adapter's entry
    // shows up under whatever name it returns with.
    static constexpr int kLostRescanIntervalMs = 1000;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls();
    void initialise();
    void showStatus(const QString& text);
    void appendReceived(const QString& text);
    void onFocusChanged(QWidget* old, QWidget* now);
    void onOperationStarted();
    void afterFileCommand(bool ok, bool read);
    void onLinkLost();
    void showLinkState();
    void rescanKeepingChoice();
    void showReceiveLogMenu(const QPoint& position);

    DeviceSession& m_session;
    FileOperations& m_files;
    RecentFiles& m_recentFiles;
    PortSource m_ports;
    PageHooks m_pageHooks;

    QLineEdit* m_commandEdit = nullptr;
    QPushButton* m_sendCommand = nullptr;
    QRadioButton* m_active = nullptr;
    QRadioButton* m_inactive = nullptr;
    QButtonGroup* m_transmission = nullptr;
    QPushButton* m_sendSwitch = nullptr;
    QComboBox* m_portList = nullptr;
    QPushButton* m_scan = nullptr;
    QLineEdit* m_baud = nullptr;
    QPushButton* m_startStop = nullptr;
    QPlainTextEdit* m_statusLog = nullptr;
    QPlainTextEdit* m_receiveLog = nullptr;
    QPointer<CProgress> m_progress;
    std::function<void()> m_saveCommand;
    SessionLog* m_sessionLog = nullptr;  // owned by the application, which outlives this window
    QTimer m_lostRescan;
    // The running operation ended because the link went: its own FAIL line stays in the log.
    bool m_lostDuringOperation = false;
};

}  // namespace qn470
