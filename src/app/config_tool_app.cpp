#include "app/config_tool_app.h"

#include "app/config_tool_view.h"
#include "app/main_frame.h"
#include "config/default_profile.h"

namespace qn470 {

CconfigToolApp::CconfigToolApp(AppState& state, std::vector<PageTab> tabs)
    : m_state(state), m_tabs(std::move(tabs)) {}

CconfigToolApp::~CconfigToolApp() = default;

bool CconfigToolApp::initInstance() {
    m_frame = std::make_unique<CMainFrame>(m_state, m_tabs);
    loadDefaultProfile();
    m_frame->view()->start();
    m_frame->setWindowTitle(QString::fromUtf8(kCaption));
    m_frame->show();
    return true;
}

void CconfigToolApp::loadDefaultProfile() {
    const ReadResult result = qn470::loadDefaultProfile(m_state.parameters);
    if (!result.ok) {
        // The record keeps what it had.
        m_state.prompter.message(QString::fromUtf8(kDefaultProfileError), QStringLiteral("Error"),
                                 Prompter::Buttons::Ok, Prompter::Icon::None);
        return;
    }
    m_frame->view()->recordLoaded(CconfigToolView::LoadSource::Profile);
}

}  // namespace qn470
