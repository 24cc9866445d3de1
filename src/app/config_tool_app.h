#pragma once

// Start-up of the window: the built-in default profile into the record, the frame with its view,
// the Communication page opened and closed once, the Main page shown.

#include <QString>
#include <memory>

#include "app/app_state.h"
#include "app/page_tabs.h"

namespace qn470 {

class CMainFrame;

inline constexpr char kCaption[] = "Ardeno - QN-470 ConfigTool DEV V3.0 (1111161)";
inline constexpr char kDefaultProfileError[] = "DefaultSystemConfig Profile Error!";

class CconfigToolApp {
public:
    explicit CconfigToolApp(AppState& state, std::vector<PageTab> tabs = pageTabs());
    ~CconfigToolApp();

    // Builds and shows the window. Returns false when start-up fails.
    bool initInstance();

    CMainFrame* frame() const { return m_frame.get(); }

private:
    void loadDefaultProfile();

    AppState& m_state;
    std::vector<PageTab> m_tabs;
    std::unique_ptr<CMainFrame> m_frame;
};

}  // namespace qn470
