// SPDX-License-Identifier: Apache-2.0
#pragma once

// Writes one profile to one tracker and proves it took: open the port, read what the tracker
// holds (the before state), write the series (only the lines that differ, or all of them), read
// it back and compare what a set line carries. A changed-lines write that does not verify is
// followed by the whole series once, for firmware that takes only whole series.
//
//   TrackerProvisioner tracker({port, baud, intervalMs, changedOnly, profile});
//   connect(&tracker, &TrackerProvisioner::finished, ...);
//   tracker.start();            // returns at once; the event loop does the work
//   tracker.outcome();          // after finished
//
// Everything runs from the owner's event loop, so many trackers share one thread.

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "config/baud_rate.h"
#include "config/operation_result.h"
#include "config/parameter_set.h"
#include "serial/serial_link.h"
#include "session/device_session.h"
#include "session/prompter.h"

namespace qn470 {

struct ProvisionRequest {
    QString port;  // as DeviceSession::openPort takes it
    qint32 baud = kDefaultBaudRate;
    int intervalMs = DeviceSession::kDefaultSaveIntervalMs;
    bool changedOnly = false;
    ParameterSet profile;
    int idleTimeoutMs = DeviceSession::kLoadIdleTimeoutMs;
};

enum class ProvisionStep { Waiting, Opening, Reading, Writing, Verifying, WritingAll, Done };

// "waiting", "opening", "reading", ... for the live table.
QString stepName(ProvisionStep step);

struct ProvisionOutcome {
    // Ok, Differs (the codes the tracker holds otherwise after writing), Failed, Stopped.
    OperationResult result;
    std::vector<std::string> notWritable;  // settings no set line can change that differ
    std::vector<int> blocksWritten;        // in sending order, each once
    QString imei;
    QString deviceId;
    QString firmware;
    std::optional<ParameterSet> before;  // what the tracker held when it was read
    std::optional<ParameterSet> after;   // what it held at the last read-back
    // Lines went out, but no read-back showed the series arrived whole (the write or the check
    // was cut). A series that verifies with differences is complete, not half-written.
    bool halfWritten = false;
    bool wroteWholeSeries = false;  // the whole series was written (first or as fallback)
    qint64 elapsedMs = 0;

    // "ok", "differs C1 C2", "failed read: no answer", "stopped".
    QString resultText() const { return QString::fromStdString(result.text()); }
    // The Device ID it holds now, which the profile may just have set: from the last read-back,
    // else as first read.
    QString deviceIdNow() const;
};

class TrackerProvisioner : public QObject {
    Q_OBJECT

public:
    explicit TrackerProvisioner(ProvisionRequest request, QObject* parent = nullptr);
    ~TrackerProvisioner() override;

    void start();
    // Ends the running step; the outcome says stopped, and half-written when a write was cut.
    void stop();
    // Ends it as failed in `step` (the journal could not keep the before state, say).
    void abort(OperationResult::Step step, const QString& reason);
    // From a receiver of identified(): the profile written, verified and compared from then on
    // (the shared one with this tracker's own values laid over it).
    void setProfile(ParameterSet profile) { m_request.profile = std::move(profile); }

    const ProvisionRequest& request() const { return m_request; }
    ProvisionStep step() const { return m_step; }
    const ProvisionOutcome& outcome() const { return m_outcome; }
    bool isFinished() const { return m_step == ProvisionStep::Done; }

signals:
    void stepChanged(ProvisionStep step);
    void progressChanged(int value, int maximum);
    // The before state, IMEI and Device ID are known; nothing was written yet. A receiver may
    // abort() here, and nothing will be.
    void identified();
    void finished();

private:
    void setStep(ProvisionStep step);
    void onOperationFinished(DeviceSession::Operation operation, bool success);
    void afterBeforeRead(bool success);
    void write(bool wholeSeries);
    void afterWrite(bool success);
    void afterVerify(bool success);
    void fail(OperationResult::Step step, const QString& reason);
    void end(OperationResult result);
    void finish();

    ProvisionRequest m_request;
    ParameterSet m_record;
    TextPrompter m_prompter;
    CSerialLink m_link;
    DeviceSession m_session;
    ProvisionStep m_step = ProvisionStep::Waiting;
    ProvisionOutcome m_outcome;
    QElapsedTimer m_clock;
    int m_progressMaximum = 1;
    bool m_linesSent = false;
};

}  // namespace qn470
