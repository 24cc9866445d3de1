// SPDX-License-Identifier: Apache-2.0
#pragma once

// The main window: 1024 by 768, no menu, tool bar or status bar; its only content is the view.

#include <QMainWindow>
#include <functional>

#include "app/app_state.h"
#include "app/page_tabs.h"

namespace qn470 {

class CconfigToolView;

class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int kWidth = 1024;
    static constexpr int kHeight = 768;

    explicit CMainFrame(AppState& state, std::vector<PageTab> tabs = pageTabs(),
                        QWidget* parent = nullptr);
    // Sets the shutting-down flag before the view and its page go, so the page open at exit
    // stores nothing.
    ~CMainFrame() override;

    CconfigToolView* view() const { return m_view; }

    // Asked before the window closes; false keeps it open (the check has told the user why).
    void setCloseCheck(std::function<bool()> mayClose) { m_mayClose = std::move(mayClose); }

signals:
    // The system reported that devices were added or removed (Windows).
    void deviceNodesChanged();

protected:
    void closeEvent(QCloseEvent* event) override;
#ifdef Q_OS_WIN
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;
#endif

private:
    AppState& m_state;
    CconfigToolView* m_view;
    std::function<bool()> m_mayClose;
};

}  // namespace qn470
