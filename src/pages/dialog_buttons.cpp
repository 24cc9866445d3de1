// SPDX-License-Identifier: Apache-2.0
#include "pages/dialog_buttons.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QCoreApplication>
#include <QDialog>
#include <QPushButton>
#include <QRadioButton>

namespace qn470 {

QRadioButton* addRadio(int id, const QString& text, QButtonGroup& group, QWidget* parent) {
    auto* button = new QRadioButton(text, parent);
    button->setObjectName(QString::number(id));
    group.addButton(button, id);
    return button;
}

void addApplyCancel(QBoxLayout& row, QDialog& dialog, int applyId, int cancelId,
                    std::function<void()> apply, const QString& applyText) {
    auto* applyButton = new QPushButton(
        applyText.isEmpty() ? QCoreApplication::translate("qn470::DialogButtons", "Apply")
                            : applyText,
        &dialog);
    applyButton->setObjectName(QString::number(applyId));
    applyButton->setDefault(true);
    auto* cancelButton =
        new QPushButton(QCoreApplication::translate("qn470::DialogButtons", "Cancel"), &dialog);
    cancelButton->setObjectName(QString::number(cancelId));
    QObject::connect(applyButton, &QPushButton::clicked, &dialog, std::move(apply));
    QObject::connect(cancelButton, &QPushButton::clicked, &dialog, &QDialog::reject);
    const bool column =
        row.direction() == QBoxLayout::TopToBottom || row.direction() == QBoxLayout::BottomToTop;
    if (!column) {
        row.addStretch(1);
    }
    row.addWidget(applyButton);
    row.addWidget(cancelButton);
    if (column) {
        row.addStretch(1);
    }
}

}  // namespace qn470
