// SPDX-License-Identifier: Apache-2.0
#pragma once

// "Save to device" from the window, its steps in this order, each ending in a field of one
// SaveOutcome:
//   1. read before  when the journal does not know what the tracker holds, it is read first
//                   (into the journal only; the pages keep the user's edits) -> before
//   2. save         the record's lines                                        -> saved, failure
//   3. verify       when on, the tracker is read back and compared            -> check
//   4. journal      one entry from the whole outcome; then ended(outcome)
// Closing the read-before's progress dialog means "do not save"; a tracker that answers it with
// an incomplete report is still saved to, and its entry says the before state is unknown.
//
//   SaveToDevice save(session, verifier, journal);
//   save.start();       // the command window's "Save to device"

#include <QObject>

#include "app/records/save_outcome.h"
#include "session/device_session.h"

namespace qn470 {

class SaveVerifier;
class WindowJournal;

class SaveToDevice : public QObject {
    Q_OBJECT

public:
    enum class Step { Idle, ReadBefore, Save, Verify };

    SaveToDevice(DeviceSession& session, SaveVerifier& verifier, WindowJournal& journal,
                 QObject* parent = nullptr);

    // False when the save was refused before anything went out (the session said why).
    bool start();
    Step step() const { return m_step; }

signals:
    // Once per save that started, after its entry was recorded.
    void ended(const qn470::SaveOutcome& outcome);

private:
    bool save();
    void verify();
    void finish();
    void onStarted(DeviceSession::Operation operation);
    void onFinished(DeviceSession::Operation operation, bool ok);

    DeviceSession& m_session;
    SaveVerifier& m_verifier;
    WindowJournal& m_journal;
    Step m_step = Step::Idle;
    SaveOutcome m_outcome;
};

}  // namespace qn470
