// SPDX-License-Identifier: Apache-2.0
#include "app/tab_strip_accessibility.h"

#include <QAccessibleWidget>

#include "app/tab_button.h"
#include "app/tab_strip.h"

namespace qn470 {
namespace {

class AccessibleTabList : public QAccessibleWidget {
public:
    explicit AccessibleTabList(QWidget* strip)
        : QAccessibleWidget(strip, QAccessible::PageTabList) {}
};

class AccessibleTab : public QAccessibleWidget {
public:
    explicit AccessibleTab(CTabButton* button) : QAccessibleWidget(button, QAccessible::PageTab) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && button()->accessibleName().isEmpty()) {
            return QString(button()->text()).remove(QLatin1Char('&'));
        }
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.selectable = true;
        s.selected = button()->isChecked();
        return s;
    }

    QStringList actionNames() const override {
        return QAccessibleWidget::actionNames() << pressAction();
    }

    void doAction(const QString& name) override {
        if (name == pressAction()) {
            button()->click();
        } else {
            QAccessibleWidget::doAction(name);
        }
    }

private:
    CTabButton* button() const { return static_cast<CTabButton*>(widget()); }
};

QAccessibleInterface* createTabStripInterface(const QString& className, QObject* object) {
    if (className == QLatin1String(CTabStrip::staticMetaObject.className())) {
        if (auto* strip = qobject_cast<CTabStrip*>(object)) {
            return new AccessibleTabList(strip);
        }
    }
    if (className == QLatin1String(CTabButton::staticMetaObject.className())) {
        if (auto* button = qobject_cast<CTabButton*>(object)) {
            return new AccessibleTab(button);
        }
    }
    return nullptr;
}

}  // namespace

void installTabStripAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(&createTabStripInterface);
        return true;
    }();
    (void)installed;
}

}  // namespace qn470
