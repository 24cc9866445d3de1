#include "app/config_tool_view.h"

#include <QResizeEvent>
#include <QScrollArea>

#include "app/tab_strip.h"

namespace qn470 {

CconfigToolView::CconfigToolView(AppState& state, std::vector<PageTab> tabs, QWidget* parent)
    : QWidget(parent),
      m_state(state),
      m_tabTable(std::move(tabs)),
      m_tabs(new CTabStrip(this)),
      m_pageArea(new QScrollArea(this)),
      m_commandWindow(new QWidget(this)) {
    for (const PageTab& tab : m_tabTable) {
        m_tabs->addTab(tab.label);
    }
    m_pageArea->setObjectName(QStringLiteral("pageArea"));
    m_pageArea->setFrameShape(QFrame::NoFrame);
    m_pageArea->setWidgetResizable(true);
    m_commandWindow->setObjectName(QStringLiteral("commandWindowSlot"));
    connect(m_tabs, &CTabStrip::currentChanged, this, &CconfigToolView::selectionChanged);
    layoutChildren();
}

CconfigToolView::~CconfigToolView() {
    // The page is closed while it is still whole; at exit the shutting-down flag keeps it from
    // storing.
    closePage();
}

void CconfigToolView::start() {
    selectTab(kCommunicationPage);
    selectTab(kMainPage);
}

void CconfigToolView::installCommandWindow(QWidget* window) {
    delete m_commandWindow;
    m_commandWindow = window;
    window->setParent(this);
    window->show();
    layoutChildren();
}

void CconfigToolView::selectTab(int index) {
    m_tabs->setCurrentIndex(index);
}

int CconfigToolView::currentTab() const {
    return m_tabs->currentIndex();
}

QWidget* CconfigToolView::pageArea() const {
    return m_pageArea;
}

StoreResult CconfigToolView::storeCurrentPage() {
    return m_page != nullptr ? m_page->StoreValues() : StoreResult{};
}

void CconfigToolView::recordLoaded(LoadSource source) {
    if (source == LoadSource::Device) {
        m_state.pages.setLoadedFromDevice();
    } else {
        m_state.pages.setLoadedFromProfile();
    }
    reloadCurrentPage();
}

void CconfigToolView::reloadCurrentPage() {
    if (m_page != nullptr) {
        m_page->LoadValues();
    }
}

void CconfigToolView::selectionChanged(int index) {
    closePage();
    // A validation message of the page left does not keep the new page from opening.
    const PageTab& tab = m_tabTable.at(static_cast<std::size_t>(index));
    m_page = tab.create(m_state.pageContext(), m_pageArea);
    m_page->setObjectName(QStringLiteral("page%1").arg(index));
    m_pageArea->setWidget(m_page);
    m_page->openPage();
    layoutChildren();
}

void CconfigToolView::closePage() {
    if (m_page == nullptr) {
        return;
    }
    CPage* page = m_page;
    m_page = nullptr;
    page->closePage();
    m_pageArea->takeWidget();
    delete page;
}

void CconfigToolView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutChildren();
}

void CconfigToolView::layoutChildren() {
    const int cx = width();
    const int cy = height();
    const int strip = m_tabs->heightForWidth(cx);
    m_tabs->setGeometry(0, 0, cx, strip);
    m_pageArea->setGeometry(0, strip, cx, std::max(0, kCommandWindowTop - strip));
    m_commandWindow->setGeometry(0, kCommandWindowTop, cx, std::max(0, cy - kCommandWindowTop));
}

}  // namespace qn470
