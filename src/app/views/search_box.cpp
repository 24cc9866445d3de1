// SPDX-License-Identifier: Apache-2.0
#include "app/views/search_box.h"

#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QShortcut>

#include "app/views/parameter_index.h"

namespace qn470 {
namespace {

constexpr int kFieldWidth = 240;
constexpr int kListWidth = 520;
constexpr int kListRows = 12;

// "(E1) Host Port number1" shows as "Host Port number1" after its code.
QString withoutCode(const IndexedParameter& p) {
    const QString prefix = QStringLiteral("(%1)").arg(p.code);
    return p.label.startsWith(prefix) ? p.label.mid(prefix.size()).trimmed() : p.label;
}

// "Timer (Timer 2)": four groups of a page may share their labels.
QString place(const IndexedParameter& p) {
    if (p.group.isEmpty() || p.group == p.tabLabel) {
        return p.tabLabel;
    }
    return QStringLiteral("%1 (%2)").arg(p.tabLabel, p.group);
}

}  // namespace

CSearchBox::CSearchBox(const ParameterIndex& index, QWidget* parent)
    : QLineEdit(parent), m_index(index), m_list(new QListWidget(parent)) {
    setObjectName(QStringLiteral("searchBox"));
    setAccessibleName(tr("Search"));
    setPlaceholderText(tr("Search"));
    setToolTip(tr("Find a parameter by its code, its label or its tab (Ctrl+F)"));
    setClearButtonEnabled(true);
    setFixedWidth(kFieldWidth);

    // The field keeps the focus while the list is open; the list only shows and takes clicks.
    m_list->setObjectName(QStringLiteral("searchMatches"));
    m_list->setAccessibleName(tr("Search results"));
    m_list->setFocusPolicy(Qt::NoFocus);
    m_list->setUniformItemSizes(true);
    m_list->setFrameShape(QFrame::Box);
    m_list->hide();

    connect(this, &QLineEdit::textChanged, this, &CSearchBox::showMatches);
    connect(m_list, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { choose(m_list->row(item)); });
    connect(qApp, &QApplication::focusChanged, this, &CSearchBox::onFocusChanged);
}

CSearchBox::~CSearchBox() {
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
}

void CSearchBox::installShortcut() {
    auto* shortcut = new QShortcut(QKeySequence::Find, parentWidget());
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, this, [this] {
        setFocus(Qt::ShortcutFocusReason);
        selectAll();
        showMatches();
    });
}

void CSearchBox::onFocusChanged(QWidget* old, QWidget* now) {
    if (now == this && old != nullptr && old != this && old->window() == window()) {
        m_previousFocus = old;
    }
}

void CSearchBox::showMatches() {
    m_matches = m_index.search(text());
    m_list->clear();
    const std::size_t shown = std::min<std::size_t>(m_matches.size(), kMaxShown);
    for (std::size_t i = 0; i < shown; ++i) {
        const IndexedParameter& p = *m_matches[i];
        m_list->addItem(QStringLiteral("%1  %2 \u2014 %3").arg(p.code, withoutCode(p), place(p)));
    }
    if (hasFocus()) {
        showList();
    } else {
        m_list->hide();
    }
}

void CSearchBox::searchFor(const QString& text) {
    setFocus(Qt::ShortcutFocusReason);
    setText(text);
    showList();
}

void CSearchBox::showList() {
    if (m_list->count() == 0) {
        m_list->hide();
        return;
    }
    m_list->setCurrentRow(0);
    placeList();
    m_list->show();
    m_list->raise();
}

void CSearchBox::placeList() {
    QWidget* host = m_list->parentWidget();
    const int rowHeight = std::max(1, m_list->sizeHintForRow(0));
    const int rows = std::min(m_list->count(), kListRows);
    const int frame = 2 * m_list->frameWidth();
    const int width = std::min(std::max(kListWidth, this->width()), host->width());
    const QPoint below = mapTo(host, QPoint(0, height()));
    // Kept inside the host, whose right edge may be closer than the list is wide.
    const int left = std::clamp(below.x(), 0, std::max(0, host->width() - width));
    m_list->setGeometry(left, below.y(), width, rows * rowHeight + frame);
}

void CSearchBox::choose(int row) {
    if (row < 0 || row >= m_list->count() || static_cast<std::size_t>(row) >= m_matches.size()) {
        return;
    }
    const IndexedParameter& chosen = *m_matches[static_cast<std::size_t>(row)];
    m_list->hide();
    emit parameterChosen(chosen);
}

void CSearchBox::giveFocusBack() {
    m_list->hide();
    if (m_previousFocus != nullptr && m_previousFocus->isVisible() &&
        m_previousFocus->isEnabled()) {
        // As after a popup: a field that opens a choice dialog on focus stays quiet.
        m_previousFocus->setFocus(Qt::PopupFocusReason);
    }
}

void CSearchBox::keyPressEvent(QKeyEvent* event) {
    const bool listShown = m_list->isVisible() && m_list->count() > 0;
    switch (event->key()) {
        case Qt::Key_Down:
        case Qt::Key_Up:
            if (listShown) {
                const int step = event->key() == Qt::Key_Down ? 1 : -1;
                m_list->setCurrentRow(
                    std::clamp(m_list->currentRow() + step, 0, m_list->count() - 1));
            } else {
                showMatches();
            }
            return;
        case Qt::Key_PageDown:
        case Qt::Key_PageUp:
            if (listShown) {
                const int step = event->key() == Qt::Key_PageDown ? kListRows : -kListRows;
                m_list->setCurrentRow(
                    std::clamp(m_list->currentRow() + step, 0, m_list->count() - 1));
                return;
            }
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // Taken here, so Enter never reaches the window's own Enter.
            if (listShown) {
                choose(std::max(0, m_list->currentRow()));
            } else if (!m_matches.empty()) {
                choose(0);
            }
            event->accept();
            return;
        case Qt::Key_Escape:
            giveFocusBack();
            event->accept();
            return;
        default:
            break;
    }
    QLineEdit::keyPressEvent(event);
}

void CSearchBox::focusOutEvent(QFocusEvent* event) {
    // A click into the list leaves the focus here; anything else closes it.
    m_list->hide();
    QLineEdit::focusOutEvent(event);
}

}  // namespace qn470
