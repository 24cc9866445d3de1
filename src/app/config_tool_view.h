// SPDX-License-Identifier: Apache-2.0
#pragma once

// The window's only content: the tab strip on top, the page of the selected tab below it down to
// y = 468, and the command window taking the rest. Exactly one page exists at a time; selecting
// a tab closes the page (its close rule may store its values) and opens the new one, which loads
// its values from the record.
//
// The command window is installed by whoever builds it:
//
//   view.installCommandWindow(new CCommandWindow(...));   // the view owns it from then on
//
// and reaches the current page through storeCurrentPage() before every save (to the tracker, a
// profile or a bin file) and recordLoaded() after every load.

#include <QWidget>
#include <memory>
#include <vector>

#include "app/app_state.h"
#include "app/page_tabs.h"
#include "session/page_hooks.h"

class QScrollArea;

namespace qn470 {

class CSearchBox;
class CTabStrip;
class ParameterIndex;
struct IndexedParameter;

class CconfigToolView : public QWidget {
    Q_OBJECT

public:
    static constexpr int kCommandWindowTop = 468;

    explicit CconfigToolView(AppState& state, std::vector<PageTab> tabs = pageTabs(),
                             QWidget* parent = nullptr);
    ~CconfigToolView() override;

    // Opens the Communication page and at once the Main page, as at start-up.
    void start();

    // Puts the command window below the pages, replacing the empty slot; the view owns it.
    void installCommandWindow(QWidget* window);
    QWidget* commandWindow() const { return m_commandWindow; }

    // Selects a tab as a click on it does.
    void selectTab(int index);
    int currentTab() const;
    CPage* currentPage() const { return m_page; }
    CTabStrip* tabStrip() const { return m_tabs; }
    // The band the pages are shown in.
    QWidget* pageArea() const;

    // Puts a small control in the free space right of the tab strip's last row, after the ones
    // added before; the view owns it.
    void addToolWidget(QWidget* widget);
    CSearchBox* searchBox() const { return m_search; }
    // Every parameter the pages show, made on first use.
    const ParameterIndex& parameterIndex() const { return *m_index; }

    // Selects the parameter's tab, gives its field the focus (or selects its list item) and
    // frames it briefly. A field that opens a choice dialog on focus is only framed, so going
    // there never pops a dialog up.
    void focusParameter(const IndexedParameter& parameter);

    enum class LoadSource { Profile, Device };

    // Before a save: the current page writes its controls into the record. All taken when no
    // page is open.
    StoreResult storeCurrentPage();
    // After the record was filled from a profile (the built-in one too) or from the tracker:
    // sets the registry's load flags and the current page shows the record again.
    void recordLoaded(LoadSource source);
    // The current page shows the record again.
    void reloadCurrentPage();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void selectionChanged(int index);
    void closePage();
    void layoutChildren();

    AppState& m_state;
    std::vector<PageTab> m_tabTable;
    CTabStrip* m_tabs;
    QScrollArea* m_pageArea;
    CPage* m_page = nullptr;
    QWidget* m_commandWindow;
    std::unique_ptr<ParameterIndex> m_index;
    std::vector<QWidget*> m_toolWidgets;
    CSearchBox* m_search = nullptr;
};

}  // namespace qn470
