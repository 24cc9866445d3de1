// SPDX-License-Identifier: Apache-2.0
#include "app/main_frame.h"

#include <QCloseEvent>

#include "app/config_tool_view.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace qn470 {

CMainFrame::CMainFrame(AppState& state, std::vector<PageTab> tabs, QWidget* parent)
    : QMainWindow(parent), m_state(state), m_view(new CconfigToolView(state, std::move(tabs))) {
    setObjectName(QStringLiteral("mainFrame"));
    m_view->setObjectName(QStringLiteral("view"));
    setCentralWidget(m_view);
    resize(kWidth, kHeight);
}

CMainFrame::~CMainFrame() {
    m_state.pages.shuttingDown = true;
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (m_mayClose && !m_mayClose()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

#ifdef Q_OS_WIN
bool CMainFrame::nativeEvent(const QByteArray& eventType, void* message, qintptr* result) {
    constexpr WPARAM kDeviceNodesChanged = 0x0007;  // DBT_DEVNODES_CHANGED
    if (eventType == "windows_generic_MSG") {
        const MSG* msg = static_cast<const MSG*>(message);
        if (msg->message == WM_DEVICECHANGE && msg->wParam == kDeviceNodesChanged) {
            emit deviceNodesChanged();
        }
    }
    // The message goes on to the ordinary handling either way.
    return QMainWindow::nativeEvent(eventType, message, result);
}
#endif

}  // namespace qn470
