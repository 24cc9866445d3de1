#include "app/tab_strip.h"

#include <QButtonGroup>
#include <QPushButton>
#include <algorithm>

namespace qn470 {
namespace {

constexpr char kButtonStyle[] =
    "QPushButton { text-align: left; padding: 0 6px; border: 1px solid transparent;"
    " border-radius: 2px; background: transparent; }"
    "QPushButton:hover { border-color: palette(mid); }"
    "QPushButton:checked { background: palette(midlight); border-color: palette(dark); }";

}  // namespace

CTabStrip::CTabStrip(QWidget* parent) : QWidget(parent), m_group(new QButtonGroup(this)) {
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
    auto* button = new QPushButton(label, this);
    const int index = count();
    button->setObjectName(QStringLiteral("tab%1").arg(index));
    button->setCheckable(true);
    button->setFlat(true);
    button->setFocusPolicy(Qt::TabFocus);
    button->setFixedSize(kTabWidth, kTabHeight);
    button->setStyleSheet(QLatin1String(kButtonStyle));
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
    m_current = index;
    emit currentChanged(index);
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
