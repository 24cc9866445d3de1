// SPDX-License-Identifier: Apache-2.0
#pragma once

// Shared pieces of the window tests: a prompter that records every message, a choice runner
// that hands the real dialog to a script, and lookups of controls by their id.

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QRadioButton>
#include <QTest>
#include <QWidget>
#include <functional>
#include <vector>

#include "pages/choice_runner.h"
#include "session/prompter.h"

namespace qn470::test {

class ScriptedPrompter : public Prompter {
public:
    Answer message(const QString& text, const QString& caption, Buttons, Icon) override {
        messages.push_back(text);
        captions.push_back(caption);
        return Answer::Ok;
    }
    QString openFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFileName(const QString&, const QString&, const QString&) override { return {}; }

    std::vector<QString> messages;
    std::vector<QString> captions;
};

// Every dialog is given to `script`, which may click its real widgets and must return the
// dialog's result; without a script the dialog is cancelled.
class ScriptedChoices : public ChoiceRunner {
public:
    int run(QDialog& dialog) override {
        titles.push_back(dialog.windowTitle());
        if (!script) {
            return QDialog::Rejected;
        }
        return script(dialog);
    }

    std::function<int(QDialog&)> script;
    std::vector<QString> titles;
};

template <typename T>
T* byId(const QObject* root, int id) {
    return root->findChild<T*>(QString::number(id));
}

// Clicks a button where a user would: check boxes and radios on their indicator (a dialog that
// was never shown has not laid out its buttons, so their middle may be past the label).
inline void click(QAbstractButton* button) {
    const bool indicator = qobject_cast<QCheckBox*>(button) || qobject_cast<QRadioButton*>(button);
    QTest::mouseClick(button, Qt::LeftButton, {},
                      indicator ? QPoint(4, button->height() / 2) : button->rect().center());
}

// Shows a widget as an active window so focus events are delivered.
inline bool showActive(QWidget& window) {
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

// Lets queued work (a choice dialog opening on focus) run.
inline void settle() {
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

}  // namespace qn470::test
