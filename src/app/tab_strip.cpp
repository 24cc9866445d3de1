// SPDX-License-Identifier: Apache-2.0
#include "app/tab_strip.h"

#include <QAccessible>
#include <QButtonGroup>
#include <QKeyEvent>
#include <algorithm>

#include "app/tab_button.h"
#include "app/tab_strip_accessibility.h"

namespace qn470 {
namespace {

constexpr char kButtonStyle[] =
    "QPushButton { text-align: left; padding: 0 6px; border: 1px solid transparent;"
    " border-radius: 2px; background: transparent; }"
    "QPushButton:hover { border-color: palette(mid); }"
    "QPushButton:checked { background: palette(midlight); border-color: palette(dark); }";

}  // namespace

CTabStrip::CTabStrip(QWidget* parent) : QWidget(parent), m_group(new QButtonGroup(this)) {
    installTabStripAccessibility();
    setObjectName(QStringLiteral("4102"));
    m_group->setExclusive(true);
    connect(m_group, &QButtonGroup::idClicked, this, [this](int index) {
        // The focus moves on the click, so a page field being left is checked before the page
        // is closed.
        m_buttons[static_cast<std::size_t>(index)]->setFocus(Qt::MouseFocusReason);
        setCurrentIndex(index);
    });
}

int CTabStrip::addTab(const QString& label) {
    auto* button = new CTabButton(label, this);
    const int index = count();
    button->setObjectName(QStringLiteral("tab%1").arg(index));
    button->setCheckable(true);
    button->setFlat(true);
    button->setFocusPolicy(Qt::TabFocus);
    button->setFixedSize(kTabWidth, kTabHeight);
    button->setStyleSheet(QLatin1String(kButtonStyle));
    button->installEventFilter(this);
    m_group->addButton(button, index);
    m_buttons.push_back(button);
    placeButtons();
    updateGeometry();
    return index;
}

QString CTabStrip::tabText(int index) const {
    return m_buttons.at(static_cast<std::size_t>(index))->text();
}

QAbstractButton* CTabStrip::tabButton(int index) const {
    return m_buttons.at(static_cast<std::size_t>(index));
}

void CTabStrip::setCurrentIndex(int index) {
    if (index < 0 || index >= count()) {
        return;
    }
    m_buttons[static_cast<std::size_t>(index)]->setChecked(true);
    if (index == m_current) {
        return;
    }
    const int previous = m_current;
    m_current = index;
    announceSelection(previous);
    announceSelection(index);
    emit currentChanged(index);
}

void CTabStrip::announceSelection(int index) {
    if (index < 0 || index >= count()) {
        return;
    }
    QAccessible::State changed;
    changed.selected = true;
    QAccessibleStateChangeEvent event(m_buttons[static_cast<std::size_t>(index)], changed);
    QAccessible::updateAccessibility(&event);
}

void CTabStrip::setMarkCount(int index, int count) {
    if (index >= 0 && index < this->count()) {
        m_buttons[static_cast<std::size_t>(index)]->setMarkCount(count);
    }
}

int CTabStrip::markCount(int index) const {
    return m_buttons.at(static_cast<std::size_t>(index))->markCount();
}

QRect CTabStrip::freeSpace() const {
    const int perRow = tabsPerRow(width());
    const int lastRow = count() == 0 ? 0 : (count() - 1) / perRow;
    const int inLastRow = count() - lastRow * perRow;
    const int left = kMargin + inLastRow * kTabWidth;
    const int right = width() - kMargin;
    return {left, kMargin + lastRow * (kTabHeight + kRowGap), std::max(0, right - left),
            kTabHeight};
}

bool CTabStrip::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return QWidget::eventFilter(watched, event);
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    const bool plain = modifiers == Qt::NoModifier;
    const bool ctrl = (modifiers & Qt::ControlModifier) != 0;
    if ((plain && key->key() == Qt::Key_Right) || (ctrl && key->key() == Qt::Key_Tab)) {
        step(1);
        return true;
    }
    if ((plain && key->key() == Qt::Key_Left) || (ctrl && key->key() == Qt::Key_Backtab)) {
        step(-1);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void CTabStrip::step(int delta) {
    if (count() == 0) {
        return;
    }
    const int from = m_current < 0 ? 0 : m_current;
    const int index = (from + delta + count()) % count();
    // The focus moves first, as on a click.
    m_buttons[static_cast<std::size_t>(index)]->setFocus(Qt::TabFocusReason);
    setCurrentIndex(index);
}

int CTabStrip::tabsPerRow(int width) const {
    return std::max(1, (width - 2 * kMargin) / kTabWidth);
}

int CTabStrip::heightForWidth(int width) const {
    const int perRow = tabsPerRow(width);
    const int rows = std::max(1, (count() + perRow - 1) / perRow);
    return 2 * kMargin + rows * kTabHeight + (rows - 1) * kRowGap;
}

QSize CTabStrip::sizeHint() const {
    const int width = 2 * kMargin + std::max(1, count()) * kTabWidth;
    return {width, heightForWidth(width)};
}

void CTabStrip::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeButtons();
}

void CTabStrip::placeButtons() {
    const int perRow = tabsPerRow(width());
    for (int i = 0; i < count(); ++i) {
        const int row = i / perRow;
        const int column = i % perRow;
        m_buttons[static_cast<std::size_t>(i)]->move(kMargin + column * kTabWidth,
                                                     kMargin + row * (kTabHeight + kRowGap));
    }
}

}  // namespace qn470
