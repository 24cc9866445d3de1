// SPDX-License-Identifier: Apache-2.0
#include "app/views/field_highlight.h"

#include <QEvent>
#include <QPainter>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace qn470 {
namespace {

constexpr int kPen = 2;
constexpr int kOutset = 3;

class HighlightFrame : public QWidget {
public:
    HighlightFrame(QWidget& control, int durationMs)
        : QWidget(control.parentWidget()), m_control(&control) {
        setObjectName(QLatin1String(kHighlightName));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        follow();
        control.installEventFilter(this);
        show();
        raise();
        QTimer::singleShot(durationMs, this, &QObject::deleteLater);
    }

protected:
    // The control may still be laid out after the frame appears.
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_control &&
            (event->type() == QEvent::Move || event->type() == QEvent::Resize)) {
            follow();
        }
        return QWidget::eventFilter(watched, event);
    }

    void paintEvent(QPaintEvent* /*event*/) override {
        if (m_control == nullptr) {
            return;
        }
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QPen pen(palette().color(QPalette::Highlight));
        pen.setWidth(kPen);
        painter.setPen(pen);
        painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 3, 3);
    }

private:
    void follow() {
        setGeometry(m_control->geometry().adjusted(-kOutset, -kOutset, kOutset, kOutset));
    }

    QPointer<QWidget> m_control;
};

}  // namespace

void flashHighlight(QWidget& control, int durationMs) {
    if (control.parentWidget() == nullptr) {
        return;
    }
    // One frame per control: a second search to the same field restarts it.
    const QObjectList siblings = control.parentWidget()->children();
    for (QObject* child : siblings) {
        if (auto* old = dynamic_cast<HighlightFrame*>(child)) {
            delete old;
        }
    }
    new HighlightFrame(control, durationMs);
}

}  // namespace qn470
