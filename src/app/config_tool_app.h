// SPDX-License-Identifier: Apache-2.0
#pragma once

// Start-up of the window: the frame with its view and the command window (which reads the
// built-in default profile into the record), the Communication page opened and closed once, the
// Main page shown. The application owns the serial link and the device session the command
// window drives, and follows the adapter being unplugged and plugged in again. It checks every
// save against the tracker, records loads and saves in the journal and keeps the session log.

#include <QPointer>
#include <QString>
#include <memory>

#include "app/app_state.h"
#include "app/page_tabs.h"
#include "serial/device_watcher.h"
#include "serial/port_discovery.h"
#include "serial/serial_link.h"
#include "session/device_session.h"
#include "session/file_operations.h"

namespace qn470 {

class CCommandWindow;
class CFleetView;
class CJournalView;
class CMainFrame;
class CconfigToolView;
class SaveToDevice;
class SaveVerifier;
class SessionLog;
class WindowChanges;
class WindowJournal;

// The window title, translated where it is shown.
inline constexpr char kCaption[] =
    QT_TRANSLATE_NOOP("CconfigToolApp", "Ardeno - QN-470 ConfigTool DEV V3.0 (1111161)");

// How the window reaches the tracker.
struct DeviceOptions {
    // The ports offered in the port list and watched for the adapter.
    PortSource ports = systemPortSource();
    int saveIntervalMs = DeviceSession::kDefaultSaveIntervalMs;
    // Follow the adapter: on Linux a look at the present ports every second, on Windows the
    // system's device-change notification.
    bool watchDevices = true;
};

class CconfigToolApp {
public:
    explicit CconfigToolApp(AppState& state, std::vector<PageTab> tabs = pageTabs(),
                            DeviceOptions devices = {});
    ~CconfigToolApp();

    // Builds and shows the window. Returns false when start-up fails.
    bool initInstance();

    CMainFrame* frame() const { return m_frame.get(); }
    // Null once the view has dropped it.
    CCommandWindow* commandWindow() const;
    DeviceSession& session() { return m_session; }
    CSerialLink& link() { return m_link; }
    SaveVerifier& saveVerifier() { return *m_verifier; }
    WindowJournal& journal() { return *m_journal; }
    SaveToDevice& saveToDevice() { return *m_saveToDevice; }
    SessionLog& sessionLog() { return *m_sessionLog; }
    // Change marks, the Changes and Compare views and the close prompt.
    WindowChanges& changes() { return *m_changes; }
    // The Journal window ("Journal..."), made on first use.
    CJournalView* journalView();
    void showJournal();
    // The Fleet window ("Fleet..."), made on first use.
    CFleetView* fleetView();
    void showFleet();

private:
    // The port the command window holds (empty: none), which the fleet and journal windows leave
    // alone, and the rate it talks at, which they use too.
    QString heldPort() const;
    qint32 baudRate() const;
    // The check after a save, the journal and the session log, with their check boxes.
    void installDeviceRecords(CconfigToolView* view);

    AppState& m_state;
    std::vector<PageTab> m_tabs;
    DeviceOptions m_devices;
    CSerialLink m_link;
    DeviceSession m_session;
    FileOperations m_files;
    DeviceWatcher m_watcher;
    std::unique_ptr<SessionLog> m_sessionLog;
    std::unique_ptr<SaveVerifier> m_verifier;
    std::unique_ptr<WindowJournal> m_journal;
    std::unique_ptr<SaveToDevice> m_saveToDevice;
    // Goes first, with the command window inside it, while the session still exists.
    std::unique_ptr<CMainFrame> m_frame;
    QPointer<CCommandWindow> m_commandWindow;
    // Goes before the frame it marks.
    std::unique_ptr<WindowChanges> m_changes;
    QPointer<CJournalView> m_journalView;  // a window of the frame's
    QPointer<CFleetView> m_fleetView;      // a window of the frame's
};

}  // namespace qn470
