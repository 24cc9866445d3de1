// SPDX-License-Identifier: Apache-2.0
#include "provision/tracker_provisioner.h"

#include "config/parameter_table.h"
#include "config/series_difference.h"
#include "config/set_command_encoder.h"
#include "config/wire_value.h"
#include "journal/journal_text.h"
#include "session/code_comparison.h"

namespace qn470 {
namespace {

using Step = OperationResult::Step;

QString textOf(const ParameterSet& set, std::string_view code) {
    return trackerText(formatWireValue(set, parameter(code), Wire::Text));
}

}  // namespace

QString ProvisionOutcome::deviceIdNow() const {
    return after ? textOf(*after, "O5") : deviceId;
}

QString stepName(ProvisionStep step) {
    switch (step) {
        case ProvisionStep::Waiting:
            return QStringLiteral("waiting");
        case ProvisionStep::Opening:
            return QStringLiteral("opening");
        case ProvisionStep::Reading:
            return QStringLiteral("reading");
        case ProvisionStep::Writing:
            return QStringLiteral("writing");
        case ProvisionStep::Verifying:
            return QStringLiteral("verifying");
        case ProvisionStep::WritingAll:
            return QStringLiteral("writing all");
        case ProvisionStep::Done:
            return QStringLiteral("done");
    }
    return {};
}

TrackerProvisioner::TrackerProvisioner(ProvisionRequest request, QObject* parent)
    : QObject(parent),
      m_request(std::move(request)),
      m_record(m_request.profile),
      // A lost link is reported in the outcome; nobody is there to press OK.
      m_prompter([](const QString&) {}),
      m_session(m_record, m_link, m_prompter) {
    m_session.setOpenFailureBox(false);
    m_session.setSaveInterval(m_request.intervalMs);
    m_session.setIdleTimeout(m_request.idleTimeoutMs);
    connect(&m_session, &DeviceSession::operationFinished, this,
            &TrackerProvisioner::onOperationFinished);
    connect(&m_session, &DeviceSession::progressRangeChanged, this,
            [this](int, int maximum) { m_progressMaximum = maximum; });
    connect(&m_session, &DeviceSession::progressChanged, this,
            [this](int value) { emit progressChanged(value, m_progressMaximum); });
}

TrackerProvisioner::~TrackerProvisioner() {
    disconnect(&m_session, nullptr, this, nullptr);
}

void TrackerProvisioner::setStep(ProvisionStep step) {
    m_step = step;
    emit stepChanged(step);
}

void TrackerProvisioner::start() {
    m_clock.start();
    setStep(ProvisionStep::Opening);
    if (!m_session.openPort(m_request.port, m_request.baud)) {
        const PortDiagnosis& diagnosis = m_session.openDiagnosis();
        fail(Step::Open, QStringLiteral("cannot open %1%2")
                             .arg(m_request.port, diagnosis.brief.isEmpty()
                                                      ? QString()
                                                      : QStringLiteral(": ") + diagnosis.brief));
        return;
    }
    setStep(ProvisionStep::Reading);
    if (!m_session.loadFromDevice()) {
        fail(Step::Read, m_session.failureReason());
    }
}

void TrackerProvisioner::stop() {
    if (!isFinished()) {
        end(OperationResult::stopped());
    }
}

void TrackerProvisioner::abort(Step step, const QString& reason) {
    if (!isFinished()) {
        fail(step, reason);
    }
}

void TrackerProvisioner::onOperationFinished(DeviceSession::Operation operation, bool success) {
    if (isFinished()) {
        return;
    }
    switch (operation) {
        case DeviceSession::Operation::Load:
            afterBeforeRead(success);
            break;
        case DeviceSession::Operation::Save:
            afterWrite(success);
            break;
        case DeviceSession::Operation::ReadBack:
            afterVerify(success);
            break;
        case DeviceSession::Operation::None:
            break;
    }
}

void TrackerProvisioner::afterBeforeRead(bool success) {
    if (!success) {
        fail(Step::Read, m_session.failureReason());
        return;
    }
    m_outcome.before = m_record;
    m_outcome.imei = textOf(m_record, "B2");
    m_outcome.deviceId = textOf(m_record, "O5");
    m_outcome.firmware = textOf(m_record, "O7");
    emit identified();
    if (!isFinished()) {
        write(!m_request.changedOnly);
    }
}

void TrackerProvisioner::write(bool wholeSeries) {
    const SetCommandTable wanted = SetCommandEncoder::encode(m_request.profile);
    const std::vector<int> blocks =
        wholeSeries ? wholeSeriesBlocks(wanted)
                    : changedBlocks(wanted, SetCommandEncoder::encode(*m_outcome.before));
    for (const int block : blocks) {
        std::vector<int>& written = m_outcome.blocksWritten;
        if (std::find(written.begin(), written.end(), block) == written.end()) {
            written.push_back(block);
        }
    }
    m_outcome.wroteWholeSeries = m_outcome.wroteWholeSeries || wholeSeries;
    setStep(wholeSeries && m_request.changedOnly ? ProvisionStep::WritingAll
                                                 : ProvisionStep::Writing);
    m_session.replaceRecord(m_request.profile, RecordSource::File);
    if (!m_session.saveBlocksToDevice(blocks)) {
        fail(Step::Write, m_session.failureReason());
        return;
    }
    m_linesSent = true;
}

void TrackerProvisioner::afterWrite(bool success) {
    if (!success) {
        fail(Step::Write, m_session.failureReason());
        return;
    }
    setStep(ProvisionStep::Verifying);
    if (!m_session.readBack()) {
        fail(Step::Verify, m_session.failureReason());
    }
}

void TrackerProvisioner::afterVerify(bool success) {
    if (!success) {
        fail(Step::Verify, m_session.failureReason());
        return;
    }
    const ParameterSet& held = m_session.readBackSet();
    m_outcome.after = held;
    m_outcome.notWritable = unwritableDifferences(m_request.profile, held);
    std::vector<std::string> differing;
    for (const CodeDifference& d :
         differingCodes(m_request.profile, held, CodeSelection::SentAndReported)) {
        differing.push_back(d.code);
    }
    if (differing.empty()) {
        end(OperationResult::ok());
    } else if (!m_outcome.wroteWholeSeries) {
        write(true);  // the tracker may take only whole series
    } else {
        end(OperationResult::differs(std::move(differing)));
    }
}

void TrackerProvisioner::fail(Step step, const QString& reason) {
    end(OperationResult::failed(step, reason.toStdString()));
}

void TrackerProvisioner::end(OperationResult result) {
    m_outcome.result = std::move(result);
    // A read-back after the write shows the whole series arrived, even when values differ;
    // without one, lines went out and nobody knows how many the tracker took.
    const bool readBack = m_outcome.result.kind == OperationResult::Kind::Ok ||
                          m_outcome.result.kind == OperationResult::Kind::Differs;
    m_outcome.halfWritten = m_linesSent && !readBack;
    finish();
}

void TrackerProvisioner::finish() {
    m_outcome.elapsedMs = m_clock.isValid() ? m_clock.elapsed() : 0;
    m_step = ProvisionStep::Done;  // before the session ends, so its last signals are ignored
    m_session.disconnectDevice();
    emit stepChanged(ProvisionStep::Done);
    emit finished();
}

}  // namespace qn470
