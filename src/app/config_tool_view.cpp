// SPDX-License-Identifier: Apache-2.0
#include "app/config_tool_view.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLayout>
#include <QResizeEvent>
#include <QScrollArea>

#include "app/tab_strip.h"
#include "app/views/field_highlight.h"
#include "app/views/parameter_index.h"
#include "app/views/search_box.h"

namespace {

// Between the last tab and the first tool control, and between two tool controls.
constexpr int kToolGap = 8;

}  // namespace

namespace qn470 {

CconfigToolView::CconfigToolView(AppState& state, std::vector<PageTab> tabs, QWidget* parent)
    : QWidget(parent),
      m_state(state),
      m_tabTable(std::move(tabs)),
      m_tabs(new CTabStrip(this)),
      m_pageArea(new QScrollArea(this)),
      m_commandWindow(new QWidget(this)),
      m_index(std::make_unique<ParameterIndex>(state, m_tabTable)) {
    for (const PageTab& tab : m_tabTable) {
        m_tabs->addTab(tab.label);
    }
    m_pageArea->setObjectName(QStringLiteral("pageArea"));
    m_pageArea->setFrameShape(QFrame::NoFrame);
    m_pageArea->setWidgetResizable(true);
    m_commandWindow->setObjectName(QStringLiteral("commandWindowSlot"));
    connect(m_tabs, &CTabStrip::currentChanged, this, &CconfigToolView::selectionChanged);

    m_search = new CSearchBox(*m_index, this);
    m_search->installShortcut();
    connect(m_search, &CSearchBox::parameterChosen, this, &CconfigToolView::focusParameter);
    addToolWidget(m_search);
    if (m_tabs->count() > 0) {
        // Reached by Tab right after the tabs, where it shows.
        QWidget::setTabOrder(m_tabs->tabButton(m_tabs->count() - 1), m_search);
    }
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

void CconfigToolView::addToolWidget(QWidget* widget) {
    widget->setParent(this);
    m_toolWidgets.push_back(widget);
    widget->show();
    layoutChildren();
}

void CconfigToolView::focusParameter(const IndexedParameter& parameter) {
    if (parameter.tab != currentTab()) {
        selectTab(parameter.tab);
    }
    if (m_page == nullptr || currentTab() != parameter.tab) {
        return;
    }
    QWidget* control = m_page->findChild<QWidget*>(QString::number(parameter.controlId));
    if (control == nullptr) {
        return;
    }
    // A page just opened is laid out before its field is scrolled to and framed.
    if (m_page->layout() != nullptr) {
        m_page->layout()->activate();
    }
    if (parameter.listItem >= 0) {
        if (auto* list = qobject_cast<QComboBox*>(control)) {
            list->setCurrentIndex(parameter.listItem);
        }
    }
    const FieldBinding* binding = m_page->binder().binding(parameter.controlId);
    const bool opensDialog = binding != nullptr && binding->choice != nullptr;
    if (!opensDialog && control->isEnabled() && control->focusPolicy() != Qt::NoFocus) {
        control->setFocus(Qt::OtherFocusReason);
    }
    m_pageArea->ensureWidgetVisible(control);
    flashHighlight(*control);
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

    const QRect free = m_tabs->freeSpace().translated(m_tabs->pos());
    int x = free.left() + kToolGap;
    for (QWidget* tool : m_toolWidgets) {
        const QSize size = tool->sizeHint()
                               .expandedTo(tool->minimumSize())
                               .boundedTo(QSize(std::max(0, free.right() - x), free.height()));
        tool->setGeometry(x, free.top() + (free.height() - size.height()) / 2, size.width(),
                          size.height());
        tool->raise();
        x += size.width() + kToolGap;
    }
}

}  // namespace qn470
