// SPDX-License-Identifier: Apache-2.0
#include "app/widget_prompter.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace qn470 {
namespace {

QMessageBox::Icon boxIcon(Prompter::Icon icon) {
    switch (icon) {
        case Prompter::Icon::Information:
            return QMessageBox::Information;
        case Prompter::Icon::Warning:
            return QMessageBox::Warning;
        case Prompter::Icon::Critical:
            return QMessageBox::Critical;
        case Prompter::Icon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

Prompter::Answer WidgetPrompter::message(const QString& text, const QString& caption,
                                         Buttons buttons, Icon icon) {
    QMessageBox box(boxIcon(icon),
                    caption.isEmpty() ? QCoreApplication::applicationName() : caption, text,
                    QMessageBox::NoButton, QApplication::activeWindow());
    switch (buttons) {
        case Buttons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case Buttons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case Buttons::SaveDiscardCancel:
            box.setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
            box.setDefaultButton(QMessageBox::Cancel);
            break;
    }
    const int pressed = box.exec();
    if (pressed == QMessageBox::Cancel) {
        return Answer::Cancel;
    }
    if (buttons == Buttons::SaveDiscardCancel) {
        // Closing the box by its title bar is no answer to keep or lose anything.
        return pressed == QMessageBox::Save      ? Answer::Ok
               : pressed == QMessageBox::Discard ? Answer::Discard
                                                 : Answer::Cancel;
    }
    return buttons == Buttons::OkCancel && box.clickedButton() == nullptr ? Answer::Cancel
                                                                          : Answer::Ok;
}

QString WidgetPrompter::openFileName(const QString& caption, const QString& directory,
                                     const QString& filter) {
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), caption, directory, filter);
}

QString WidgetPrompter::saveFileName(const QString& caption, const QString& defaultName,
                                     const QString& filter) {
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), caption, defaultName, filter);
}

}  // namespace qn470
