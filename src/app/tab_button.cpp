// SPDX-License-Identifier: Apache-2.0
#include "app/tab_button.h"

#include <QPainter>
#include <algorithm>

namespace qn470 {

CTabButton::CTabButton(const QString& label, QWidget* parent) : QPushButton(label, parent) {}

void CTabButton::setMarkCount(int count) {
    count = std::max(0, count);
    if (count == m_markCount) {
        return;
    }
    m_markCount = count;
    setAccessibleDescription(count > 0 ? tr("%n changed", nullptr, count) : QString());
    update();
}

void CTabButton::paintEvent(QPaintEvent* event) {
    QPushButton::paintEvent(event);
    if (m_markCount == 0) {
        return;
    }
    const QString text = m_markCount > 99 ? QStringLiteral("99+") : QString::number(m_markCount);
    QFont font = this->font();
    font.setPointSizeF(font.pointSizeF() * 0.8);
    const QFontMetrics metrics(font);
    const int height = metrics.height();
    const int width = std::max(height, metrics.horizontalAdvance(text) + height / 2);
    // Right-aligned in the corner, clear of the left-aligned label.
    const QRect badge(this->width() - width - 3, 3, width, height);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette().color(QPalette::Highlight));
    painter.drawRoundedRect(badge, height / 2.0, height / 2.0);
    painter.setFont(font);
    painter.setPen(palette().color(QPalette::HighlightedText));
    painter.drawText(badge, Qt::AlignCenter, text);
}

}  // namespace qn470
