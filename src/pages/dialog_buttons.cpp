#include "pages/dialog_buttons.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QDialog>
#include <QPushButton>
#include <QRadioButton>

namespace qn470 {

QRadioButton* addRadio(int id, const char* text, QButtonGroup& group, QWidget* parent) {
    auto* button = new QRadioButton(QString::fromUtf8(text), parent);
    button->setObjectName(QString::number(id));
    group.addButton(button, id);
    return button;
}

void addApplyCancel(QBoxLayout& row, QDialog& dialog, int applyId, int cancelId,
                    std::function<void()> apply) {
    auto* applyButton = new QPushButton(QStringLiteral("Apply"), &dialog);
    applyButton->setObjectName(QString::number(applyId));
    applyButton->setDefault(true);
    auto* cancelButton = new QPushButton(QStringLiteral("Cancel"), &dialog);
    cancelButton->setObjectName(QString::number(cancelId));
    QObject::connect(applyButton, &QPushButton::clicked, &dialog, std::move(apply));
    QObject::connect(cancelButton, &QPushButton::clicked, &dialog, &QDialog::reject);
    row.addStretch(1);
    row.addWidget(applyButton);
    row.addWidget(cancelButton);
}

}  // namespace qn470
