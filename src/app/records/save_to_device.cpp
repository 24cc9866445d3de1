// SPDX-License-Identifier: Apache-2.0
#include "app/records/save_to_device.h"

#include <QTimer>

#include "app/records/save_verifier.h"
#include "app/records/window_journal.h"
#include "serial/serial_link.h"

namespace qn470 {

SaveToDevice::SaveToDevice(DeviceSession& session, SaveVerifier& verifier, WindowJournal& journal,
                           QObject* parent)
    : QObject(parent), m_session(session), m_verifier(verifier), m_journal(journal) {
    connect(&m_session, &DeviceSession::operationStarted, this, &SaveToDevice::onStarted);
    connect(&m_session, &DeviceSession::operationFinished, this, &SaveToDevice::onFinished);
}

bool SaveToDevice::start() {
    if (m_step != Step::Idle) {
        return false;
    }
    m_outcome = SaveOutcome{};
    m_outcome.port = m_session.link().portName();
    if (!m_session.isBusy() && m_session.link().isOpen() && m_journal.needsStateBeforeSave()) {
        // Nothing may go out, not even the read, for a save that will be refused.
        if (!m_session.checkSave()) {
            return false;
        }
        m_step = Step::ReadBefore;
        if (m_session.readBack()) {
            return true;
        }
        m_step = Step::Idle;
    }
    m_outcome.before = m_journal.knownState();
    return save();
}

bool SaveToDevice::save() {
    m_step = Step::Save;
    if (m_session.saveToDevice()) {
        return true;
    }
    m_step = Step::Idle;
    return false;
}

void SaveToDevice::verify() {
    m_step = Step::Verify;
    if (!m_session.readBack()) {
        m_verifier.judge(m_outcome, false);
        finish();
    }
}

void SaveToDevice::finish() {
    m_step = Step::Idle;
    m_journal.recordSave(m_outcome);
    emit ended(m_outcome);
}

void SaveToDevice::onStarted(DeviceSession::Operation operation) {
    if (m_step == Step::Save && operation == DeviceSession::Operation::Save) {
        // The page was stored and the lines built from the record just before this.
        m_outcome.sent = m_session.parameters();
    }
}

void SaveToDevice::onFinished(DeviceSession::Operation operation, bool ok) {
    using Operation = DeviceSession::Operation;
    switch (m_step) {
        case Step::Idle:
            return;
        case Step::ReadBefore:
            if (operation != Operation::ReadBack) {
                return;
            }
            if (ok) {
                m_outcome.before = m_session.readBackSet();
            } else if (m_session.readBackEnd() == DeviceSession::ReadBackEnd::Cancelled) {
                m_step = Step::Idle;
                return;
            }
            // Once the read-back's progress dialog has seen its end.
            QTimer::singleShot(0, this, &SaveToDevice::save);
            return;
        case Step::Save:
            if (operation != Operation::Save) {
                return;
            }
            m_outcome.saved = ok;
            if (!ok) {
                m_outcome.failure = m_session.failureReason();
            }
            if (!ok || !m_verifier.isEnabled()) {
                finish();
                return;
            }
            // Once everyone has seen the save end (the progress dialog closes first).
            QTimer::singleShot(0, this, &SaveToDevice::verify);
            return;
        case Step::Verify:
            if (operation == Operation::ReadBack) {
                m_verifier.judge(m_outcome, ok);
                finish();
            }
            return;
    }
}

}  // namespace qn470
