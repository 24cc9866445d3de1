// SPDX-License-Identifier: Apache-2.0
#include "app/progress_dialog.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace qn470 {

CProgress::CProgress(DeviceSession& session, DeviceSession::Operation operation, QWidget* parent)
    : QDialog(parent), m_session(session), m_bar(new QProgressBar(this)), m_text(new QLabel(this)) {
    setObjectName(QStringLiteral("137"));
    setWindowTitle(tr("Processing ..."));
    setWindowModality(Qt::ApplicationModal);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    m_bar->setObjectName(QString::number(kProgressBar));
    m_bar->setTextVisible(false);
    m_bar->setRange(0, operation == DeviceSession::Operation::Save
                           ? DeviceSession::kSaveProgressMax
                           : DeviceSession::kLoadProgressMax);
    m_bar->setValue(0);
    m_text->setObjectName(QString::number(kText));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_bar);
    layout->addWidget(m_text);
    setMinimumWidth(320);

    connect(&session, &DeviceSession::progressRangeChanged, m_bar, &QProgressBar::setRange);
    connect(&session, &DeviceSession::progressChanged, m_bar, &QProgressBar::setValue);
    connect(&session, &DeviceSession::operationFinished, this, &CProgress::onFinished);
    // Queued: the cancel ends the operation, which closes this dialog, and that must not happen
    // inside its own close event.
    connect(this, &CProgress::cancelRequested, &session, &DeviceSession::cancel,
            Qt::QueuedConnection);
    if (!session.isBusy()) {
        // Nothing to wait for (it ended before the dialog was made).
        m_running = false;
    }
}

void CProgress::reject() {
    // Escape must neither hide a dialog whose operation still runs nor cancel it by accident.
    if (!m_running) {
        QDialog::reject();
    }
}

void CProgress::closeEvent(QCloseEvent* event) {
    if (m_running) {
        event->ignore();
        emit cancelRequested();
        return;
    }
    QDialog::closeEvent(event);
}

void CProgress::onFinished() {
    m_running = false;
    disconnect(&m_session, nullptr, this, nullptr);
    done(QDialog::Accepted);
    deleteLater();
}

}  // namespace qn470
