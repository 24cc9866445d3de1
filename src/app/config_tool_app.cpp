#include "app/config_tool_app.h"

#include "app/command_window.h"
#include "app/config_tool_view.h"
#include "app/main_frame.h"

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
    m_commandWindow = new CCommandWindow(m_session, m_files, m_state.recentFiles, m_devices.ports,
                                         std::move(hooks));
    view->installCommandWindow(m_commandWindow);
    if (m_devices.watchDevices) {
        QObject::connect(m_frame.get(), &CMainFrame::deviceNodesChanged, &m_watcher,
                         &DeviceWatcher::deviceNodesChanged);
#ifdef Q_OS_LINUX
        m_watcher.start();
#endif
    }
    view->start();
    m_frame->setWindowTitle(QString::fromUtf8(kCaption));
    m_frame->show();
    return true;
}

}  // namespace qn470
