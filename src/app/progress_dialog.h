// SPDX-License-Identifier: Apache-2.0
#pragma once

// The "Processing ..." dialog shown while a load from or a save to the tracker runs. It follows
// the session: the bar takes the operation's range and progress, and the dialog closes itself
// when the operation ends.
//
//   auto* progress = new CProgress(session, DeviceSession::Operation::Save, frame);
//   progress->show();        // application modal; the event loop keeps running the save
//
// While the operation runs, Escape does nothing and closing the dialog (its close button or
// system menu) cancels the operation; the dialog goes away only when the session reports the
// end, so it never outlives or misses what it shows. It deletes itself after the end.

#include <QDialog>

#include "session/device_session.h"

class QProgressBar;
class QLabel;

namespace qn470 {

class CProgress : public QDialog {
    Q_OBJECT

public:
    enum ControlId : int { kProgressBar = 1126, kText = 1127 };

    CProgress(DeviceSession& session, DeviceSession::Operation operation,
              QWidget* parent = nullptr);

    QProgressBar* bar() const { return m_bar; }
    bool isRunning() const { return m_running; }

signals:
    // The user closed the dialog while the operation ran; the session is asked to cancel.
    void cancelRequested();

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void onFinished();

    DeviceSession& m_session;
    QProgressBar* m_bar;
    QLabel* m_text;
    bool m_running = true;
};

}  // namespace qn470
