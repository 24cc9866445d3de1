// SPDX-License-Identifier: Apache-2.0
#include "app/config_tool_app.h"

#include <QCheckBox>
#include <QCoreApplication>

#include "app/command_window.h"
#include "app/config_tool_view.h"
#include "app/main_frame.h"
#include "app/records/save_to_device.h"
#include "app/records/save_verifier.h"
#include "app/records/session_log.h"
#include "app/records/window_journal.h"
#include "app/views/fleet_view.h"
#include "app/views/journal_view.h"
#include "app/views/parameter_index.h"
#include "app/views/window_changes.h"
#include "config/baud_rate.h"

namespace qn470 {

CconfigToolApp::CconfigToolApp(AppState& state, std::vector<PageTab> tabs, DeviceOptions devices)
    : m_state(state),
      m_tabs(std::move(tabs)),
      m_devices(std::move(devices)),
      m_session(state.parameters, m_link, state.prompter),
      m_files(m_session),
      m_watcher(m_link, m_devices.ports, [this] {
          // The baud box as it is now; the adapter reopens at that rate.
          return m_commandWindow != nullptr ? m_commandWindow->baudRate() : 0;
      }) {
    m_session.setSaveInterval(m_devices.saveIntervalMs);
}

CconfigToolApp::~CconfigToolApp() = default;

CCommandWindow* CconfigToolApp::commandWindow() const {
    return m_commandWindow;
}

bool CconfigToolApp::initInstance() {
    m_frame = std::make_unique<CMainFrame>(m_state, m_tabs);
    CconfigToolView* view = m_frame->view();
    PageHooks hooks{[view] { return view->storeCurrentPage(); },
                    [view](RecordSource source) {
                        view->recordLoaded(source == RecordSource::Device
                                               ? CconfigToolView::LoadSource::Device
                                               : CconfigToolView::LoadSource::Profile);
                    }};
    // Before the command window reads the default profile: that is the first reference.
    m_changes = std::make_unique<WindowChanges>(m_state, m_tabs, *view, m_session, m_files);
    m_frame->setCloseCheck([this] { return m_changes->mayClose(); });
    m_commandWindow = new CCommandWindow(m_session, m_files, m_state.recentFiles, m_devices.ports,
                                         std::move(hooks));
    m_changes->setSaveToFile([this] {
        if (m_commandWindow != nullptr) {
            m_commandWindow->saveToFile();
        } else {
            m_files.saveToFile();
        }
    });
    view->installCommandWindow(m_commandWindow);
    installDeviceRecords(view);
    QObject::connect(m_commandWindow, &CCommandWindow::journalRequested, m_frame.get(),
                     [this] { showJournal(); });
    QObject::connect(m_commandWindow, &CCommandWindow::fleetRequested, m_frame.get(),
                     [this] { showFleet(); });
    if (m_devices.watchDevices) {
        QObject::connect(m_frame.get(), &CMainFrame::deviceNodesChanged, &m_watcher,
                         &DeviceWatcher::deviceNodesChanged);
#ifdef Q_OS_LINUX
        m_watcher.start();
#endif
    }
    view->start();
    m_frame->setWindowTitle(QCoreApplication::translate("CconfigToolApp", kCaption));
    m_frame->show();
    return true;
}

QString CconfigToolApp::heldPort() const {
    // Connected covers an unplugged adapter too: the link reopens its port when it returns.
    return m_session.isConnected() ? m_link.portName() : QString();
}

qint32 CconfigToolApp::baudRate() const {
    return m_commandWindow != nullptr ? m_commandWindow->baudRate() : qint32{kDefaultBaudRate};
}

CJournalView* CconfigToolApp::journalView() {
    if (m_journalView == nullptr) {
        m_journalView =
            new CJournalView({*m_journal, m_session, m_changes->tracker(), m_changes->values(),
                              m_state.prompter, m_devices.ports, m_devices.saveIntervalMs,
                              [this] { return heldPort(); }, [this] { return baudRate(); }},
                             m_frame.get());
    }
    return m_journalView;
}

void CconfigToolApp::showJournal() {
    CJournalView* view = journalView();
    view->show();
    view->raise();
    view->activateWindow();
}

CFleetView* CconfigToolApp::fleetView() {
    if (m_fleetView == nullptr) {
        CconfigToolView* view = m_frame->view();
        FleetViewContext context{
            .prompter = m_state.prompter,
            .ports = m_devices.ports,
            .intervalMs = m_devices.saveIntervalMs,
            // What "Save to device" would write: the open page stored first.
            .windowProfile = [this, view]() -> std::optional<ParameterSet> {
                if (!view->storeCurrentPage().ok) {
                    return std::nullopt;
                }
                return m_session.parameters();
            },
            .journalLocation = [this] { return m_journal->location(); },
            .portHeld = [this] { return heldPort(); },
            .baudRate = [this] { return baudRate(); },
        };
        m_fleetView = new CFleetView(std::move(context), m_frame.get());
        m_fleetView->setShowInJournal([this](qint64 id) {
            showJournal();
            journalView()->showEntry(id);
        });
    }
    return m_fleetView;
}

void CconfigToolApp::showFleet() {
    CFleetView* view = fleetView();
    view->show();
    view->raise();
    view->activateWindow();
}

void CconfigToolApp::installDeviceRecords(CconfigToolView* view) {
    m_sessionLog = std::make_unique<SessionLog>(m_session, m_state.settings);
    m_verifier =
        std::make_unique<SaveVerifier>(m_session, m_state.settings, [view](const QString& code) {
            const IndexedParameter* found = view->parameterIndex().find(code);
            return found != nullptr ? found->label : QString();
        });
    m_journal = std::make_unique<WindowJournal>(m_session, m_state.settings);
    m_saveToDevice = std::make_unique<SaveToDevice>(m_session, *m_verifier, *m_journal);
    m_commandWindow->setSessionLog(m_sessionLog.get());
    m_commandWindow->setSaveCommand([this] { m_saveToDevice->start(); });
    QObject::connect(&m_watcher, &DeviceWatcher::linkReopened, m_commandWindow,
                     &CCommandWindow::linkReopened);
    QObject::connect(
        m_sessionLog.get(), &SessionLog::fileFailed, &m_session, [this](const QString& problem) {
            m_session.showStatus(
                QCoreApplication::translate("CconfigToolApp", "FAIL ! Session log: %1.\r\n")
                    .arg(problem));
        });

    const auto checkBox = [view](const char* name, const char* text, bool checked) {
        auto* box = new QCheckBox(QCoreApplication::translate("CconfigToolApp", text));
        box->setObjectName(QString::fromLatin1(name));
        box->setAccessibleName(box->text());
        box->setChecked(checked);
        view->addToolWidget(box);
        return box;
    };
    QObject::connect(
        checkBox(SaveVerifier::kSettingKey,
                 QT_TRANSLATE_NOOP("CconfigToolApp", "Verify after save"), m_verifier->isEnabled()),
        &QCheckBox::toggled, m_verifier.get(), &SaveVerifier::setEnabled);
    QObject::connect(
        checkBox(SessionLog::kSettingKey, QT_TRANSLATE_NOOP("CconfigToolApp", "Session log"),
                 m_sessionLog->isWritingFile()),
        &QCheckBox::toggled, m_sessionLog.get(), &SessionLog::setWritingFile);
}

}  // namespace qn470
