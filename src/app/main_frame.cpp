#include "app/main_frame.h"

#include "app/config_tool_view.h"

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

}  // namespace qn470
