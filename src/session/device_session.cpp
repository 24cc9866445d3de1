// SPDX-License-Identifier: Apache-2.0
#include "session/device_session.h"

#include <algorithm>

#include "config/baud_rate.h"
#include "config/command_line.h"
#include "config/default_profile.h"
#include "config/report_completeness.h"
#include "config/value_check.h"
#include "serial/port_diagnosis.h"
#include "serial/serial_link.h"
#include "session/baud_text.h"
#include "session/prompter.h"
#include "session/status_texts.h"

namespace qn470 {
namespace {

// The idle time is looked at in this many steps; the load's progress bar shows them while
// nothing has been decoded.
constexpr int kIdleSteps = 50;

QString text(const char* latin1) {
    return QString::fromLatin1(latin1);
}

// A message box whose answer changes nothing: its buttons only close it, as they always did.
void tell(Prompter& prompter, const QString& text, const QString& caption,
          Prompter::Buttons buttons, Prompter::Icon icon) {
    static_cast<void>(prompter.message(text, caption, buttons, icon));
}

QString withoutLineEnd(std::string_view line) {
    if (line.ends_with(kLineEnd)) {
        line.remove_suffix(kLineEnd.size());
    }
    return QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size()));
}

}  // namespace

DeviceSession::DeviceSession(ParameterSet& parameters, CSerialLink& link, Prompter& prompter,
                             QObject* parent)
    : QObject(parent), m_set(parameters), m_link(link), m_prompter(prompter) {
    connect(&m_link, &CSerialLink::lineReceived, this, &DeviceSession::onReportLine);
    connect(&m_link, &CSerialLink::deviceLost, this, &DeviceSession::onDeviceLost);
    connect(&m_link, &CSerialLink::writeFailed, this, &DeviceSession::onWriteFailed);
    connect(&m_link, &CSerialLink::bytesWritten, this, &DeviceSession::onBytesWritten);
    connect(&m_link, &CSerialLink::receiveLogAppended, this, &DeviceSession::receiveLogAppended);
    connect(&m_link, &CSerialLink::receiveLogCleared, this, &DeviceSession::receiveLogCleared);
    connect(&m_idleTimer, &QTimer::timeout, this, &DeviceSession::onIdleTick);
    m_saveTimer.setSingleShot(true);
    // 71 intervals must add up to 71 intervals, not up to 5 % more.
    m_saveTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_saveTimer, &QTimer::timeout, this, &DeviceSession::sendSlots);
    SetCommandEncoder::encode(m_set, m_table);
}

DeviceSession::~DeviceSession() {
    // The link may outlive the session.
    disconnect(&m_link, nullptr, this, nullptr);
}

bool DeviceSession::isConnected() const {
    return m_link.connected();
}

QString DeviceSession::receiveLog() const {
    return m_link.receiveLog();
}

void DeviceSession::showStatus(const QString& text) {
    m_status = text;
    emit statusChanged(text);
}

StoreResult DeviceSession::storeCurrentPage() {
    return m_hooks.storeValues ? m_hooks.storeValues() : StoreResult{};
}

void DeviceSession::replaceRecord(const ParameterSet& set, RecordSource source) {
    m_set = set;
    rebuildLineTable();
    if (m_hooks.loadValues) {
        m_hooks.loadValues(source);
    }
    emit recordReplaced(source);
}

void DeviceSession::rebuildLineTable() {
    SetCommandEncoder::encode(m_set, m_table);
}

// Connection ----------------------------------------------------------------------------------

bool DeviceSession::toggleConnection(const QString& portListText, const QString& baudText) {
    if (m_link.connected()) {
        disconnectDevice();
        return true;
    }
    return connectDevice(portListText, baudText);
}

bool DeviceSession::connectDevice(const QString& portListText, const QString& baudText) {
    const PortChoice choice = choosePort(portListText);
    m_link.setTrackerPortChosen(choice.trackerPortChosen);
    if (!choice.ok) {
        m_connectFailure =
            choice.trackerPortChosen ? ConnectFailure::BadPortName : ConnectFailure::NotTrackerPort;
        showStatus(choice.message);
        return false;
    }
    return openPort(choice.portName, parseBaudText(baudText));
}

bool DeviceSession::openPort(const QString& portName, qint32 baudRate) {
    cancel();
    const bool wasConnected = m_link.connected();
    const bool opened = m_link.open(portName, baudRate);
    m_link.setConnected(opened);
    m_loadedOnThisConnection = false;
    if (opened) {
        m_connectFailure = ConnectFailure::None;
    } else {
        m_connectFailure =
            isStandardBaudRate(baudRate) ? ConnectFailure::OpenFailed : ConnectFailure::BadBaud;
    }
    showStatus(text(opened ? status::kPortOpenSuccess : status::kPortOpenFail));
    m_openDiagnosis = {};
    if (m_connectFailure == ConnectFailure::BadBaud && m_openFailureBox) {
        tell(m_prompter,
             text(status::kBaudNotStandard)
                 .arg(baudRate)
                 .arg(QString::fromStdString(standardBaudRatesText())),
             text(status::kCaptionError), Prompter::Buttons::Ok, Prompter::Icon::Warning);
    }
    // A refused rate never reached the port, so there is nothing to find out about it.
    if (m_connectFailure == ConnectFailure::OpenFailed) {
        m_openDiagnosis = diagnosePort(portName, m_link.openError(), m_link.openErrorText(),
                                       systemPortSource()());
        if (m_openFailureBox && m_openDiagnosis.kind != PortProblem::None) {
            tell(m_prompter, m_openDiagnosis.text(), text(status::kCaptionError),
                 Prompter::Buttons::Ok, Prompter::Icon::Warning);
        }
    }
    if (opened != wasConnected) {
        emit connectionChanged(opened);
    }
    return opened;
}

void DeviceSession::disconnectDevice() {
    cancel();
    const bool wasConnected = m_link.connected();
    m_link.setConnected(false);
    m_link.close();
    showStatus(text(status::kPortClosed));
    if (wasConnected) {
        emit connectionChanged(false);
    }
}

// Sending --------------------------------------------------------------------------------------

bool DeviceSession::writeLine(std::string_view line) {
    return m_link.write(QByteArray(line.data(), static_cast<qsizetype>(line.size())));
}

bool DeviceSession::sendCommandLine(const QString& text) {
    if (isBusy()) {
        return false;
    }
    const QString command = text.left(kMaxCommandLength);
    if (!m_link.isOpen()) {
        showStatus(qn470::text(status::kSendNotOpen));
        return false;
    }
    if (!m_link.write(command.toLatin1() + QByteArray(kLineEnd.data(), kLineEnd.size()))) {
        showStatus(qn470::text(status::kSendFailed).arg(m_link.writeErrorText()));
        return false;
    }
    showStatus(command);
    m_decodedBlocks = 0;
    return true;
}

bool DeviceSession::sendTransmissionSwitch(bool active) {
    if (isBusy()) {
        return false;
    }
    if (!m_link.isOpen()) {
        showStatus(text(status::kNotOpen));
        return false;
    }
    const std::string_view line = active ? kTransmissionOnLine : kTransmissionOffLine;
    if (!writeLine(line)) {
        showStatus(text(status::kSendFailed).arg(m_link.writeErrorText()));
        return false;
    }
    showStatus(withoutLineEnd(line));
    m_decodedBlocks = 0;
    return true;
}

void DeviceSession::reportClosedLink() {
    m_failure = QStringLiteral("serial port is not open");
    showStatus(text(status::kNotOpen));
    if (!m_link.normalModeSeen()) {
        showStatus(text(status::kNotNormalMode));
    }
}

// Operations -----------------------------------------------------------------------------------

void DeviceSession::beginOperation(Operation operation, int progressMaximum) {
    m_operation = operation;
    ++m_run;
    m_decodedBlocks = 0;
    emit operationStarted(operation);
    emit progressRangeChanged(0, progressMaximum);
    emit progressChanged(0);
}

void DeviceSession::endOperation() {
    m_operation = Operation::None;
    ++m_run;
    m_idleTimer.stop();
    m_saveTimer.stop();
    m_awaitingFlush = false;
}

void DeviceSession::cancel() {
    if (m_operation == Operation::Load || m_operation == Operation::ReadBack) {
        finishLoad(End::Cancelled);
    } else if (m_operation == Operation::Save) {
        finishSave(End::Cancelled);
    }
}

void DeviceSession::onDeviceLost() {
    if (m_operation == Operation::Load || m_operation == Operation::ReadBack) {
        finishLoad(End::Disconnected);
    } else if (m_operation == Operation::Save) {
        finishSave(End::Disconnected);
    }
}

// The port could not write what was queued: a load's command never went out, so no answer will
// come; a save's line did not reach the tracker.
void DeviceSession::onWriteFailed(const QString& reason) {
    if (m_operation == Operation::Load || m_operation == Operation::ReadBack) {
        m_writeFailure = reason;
        finishLoad(End::WriteFailed);
    } else if (m_operation == Operation::Save) {
        ++m_failedLines;
    }
}

void DeviceSession::onBytesWritten() {
    if (m_awaitingFlush && m_link.bytesToWrite() == 0) {
        sendSlots();
    }
}

// Load -----------------------------------------------------------------------------------------

bool DeviceSession::loadFromDevice() {
    return startReading(Operation::Load);
}

bool DeviceSession::readBack() {
    return startReading(Operation::ReadBack);
}

bool DeviceSession::startReading(Operation operation) {
    if (isBusy()) {
        m_failure = QStringLiteral("busy");
        return false;
    }
    if (!m_link.isOpen()) {
        if (operation == Operation::ReadBack) {
            m_readBackEnd = ReadBackEnd::LinkLost;
            m_failure = QStringLiteral("link lost");
        } else {
            reportClosedLink();
        }
        return false;
    }
    m_staging = std::make_unique<ParameterSet>(m_set);
    loadDefaultProfile(*m_staging);  // built in: cannot fail
    m_arrived.reset();
    m_missingCodes.clear();
    m_idleTicks = 0;
    // No line can come in before the event loop runs again, so the order here is free.
    if (!writeLine(loadCommand())) {
        // Without the command no answer comes: say so now, with the port's reason, rather than
        // after the idle time.
        m_staging.reset();
        m_writeFailure = m_link.writeErrorText();
        m_failure = readFailure(End::WriteFailed);
        if (operation == Operation::ReadBack) {
            m_readBackEnd = ReadBackEnd::WriteFailed;
        } else {
            showStatus(text(status::kLoadCommandNotWritten).arg(m_writeFailure));
        }
        return false;
    }
    if (operation == Operation::Load) {
        showStatus(QString::fromLatin1(loadCommand()));
    }
    beginOperation(operation, kLoadProgressMax);
    m_idleTimer.start(std::max(1, m_idleTimeoutMs / kIdleSteps));
    return true;
}

void DeviceSession::onReportLine(const QByteArray& line) {
    const bool loading = m_operation == Operation::Load || m_operation == Operation::ReadBack;
    ParameterSet& target = loading ? *m_staging : m_set;
    const int count =
        m_decoder.decode(std::string_view(line.constData(), static_cast<std::size_t>(line.size())),
                         target, loading ? &m_arrived : nullptr);
    m_decodedBlocks += count;
    if (!loading) {
        if (m_decodedBlocks >= kCompleteReportCount) {
            rebuildLineTable();
        }
        return;
    }
    if (count > 0) {
        m_idleTicks = 0;
    }
    if (m_decodedBlocks >= kCompleteReportCount) {
        finishLoad(End::Complete);
    } else if (m_decodedBlocks != 0) {
        emit progressChanged(std::min(m_decodedBlocks, kLoadProgressMax));
    }
}

void DeviceSession::onIdleTick() {
    if (!m_link.isOpen()) {
        finishLoad(End::Disconnected);
        return;
    }
    ++m_idleTicks;
    if (m_decodedBlocks == 0) {
        emit progressChanged(std::min(m_idleTicks, kLoadProgressMax));
    }
    if (m_idleTicks >= kIdleSteps) {
        finishLoad(End::Idle);
    }
}

void DeviceSession::finishLoad(End end) {
    std::unique_ptr<ParameterSet> staging = std::move(m_staging);
    if (m_operation == Operation::ReadBack) {
        finishReadBack(end, std::move(staging));
        return;
    }
    endOperation();
    m_decodedBlocks = 0;
    // The count says how many lines came, not which: a dropped line would leave defaults where
    // the tracker's values belong.
    m_missingCodes = missingReportCodes(m_arrived);
    const bool codesMissing = end == End::Complete && !m_missingCodes.empty();
    const bool complete = end == End::Complete && (!codesMissing || !m_requireAllCodes);
    m_failure = complete ? QString() : readFailure(end);
    if (complete) {
        m_loadedOnThisConnection = true;
        emit progressChanged(kLoadProgressMax);
        replaceRecord(*staging, RecordSource::Device);
    } else if (end == End::Disconnected) {
        tell(m_prompter, text(status::kDisconnectDevice), text(status::kCaptionError),
             Prompter::Buttons::OkCancel, Prompter::Icon::Information);
    }
    if (end == End::WriteFailed) {
        showStatus(text(status::kLoadCommandNotWritten).arg(m_writeFailure));
    } else if (codesMissing && !complete) {
        showStatus(text(status::kLoadCodesMissing)
                       .arg(m_missingCodes.size())
                       .arg(QString::fromStdString(listCodes(m_missingCodes))));
    } else {
        showStatus(text(complete ? status::kLoadComplete : status::kLoadNotComplete));
    }
    emit operationFinished(Operation::Load, complete);
}

QString DeviceSession::readFailure(End end) const {
    switch (end) {
        case End::Complete:
            return QStringLiteral("report incomplete: %1 codes missing (%2)")
                .arg(m_missingCodes.size())
                .arg(QString::fromStdString(listCodes(m_missingCodes)));
        case End::Idle:
            return QStringLiteral("no answer");
        case End::Disconnected:
            return QStringLiteral("link lost");
        case End::Cancelled:
            return QStringLiteral("cancelled");
        case End::WriteFailed:
            return QStringLiteral("load command not written: ") + m_writeFailure;
    }
    return {};
}

void DeviceSession::finishReadBack(End end, std::unique_ptr<ParameterSet> staging) {
    endOperation();
    m_decodedBlocks = 0;
    m_missingCodes = missingReportCodes(m_arrived);
    switch (end) {
        case End::Complete:
            m_readBackEnd = m_missingCodes.empty() || !m_requireAllCodes ? ReadBackEnd::Complete
                                                                         : ReadBackEnd::Incomplete;
            break;
        case End::Idle:
            m_readBackEnd = ReadBackEnd::NoAnswer;
            break;
        case End::Disconnected:
            m_readBackEnd = ReadBackEnd::LinkLost;
            break;
        case End::Cancelled:
            m_readBackEnd = ReadBackEnd::Cancelled;
            break;
        case End::WriteFailed:
            m_readBackEnd = ReadBackEnd::WriteFailed;
            break;
    }
    const bool complete = m_readBackEnd == ReadBackEnd::Complete;
    m_failure = complete ? QString() : readFailure(end);
    if (complete) {
        m_readBack = *staging;
        m_loadedOnThisConnection = true;
        emit progressChanged(kLoadProgressMax);
    }
    emit operationFinished(Operation::ReadBack, complete);
}

// Save -----------------------------------------------------------------------------------------

bool DeviceSession::saveToDevice() {
    return startSave(nullptr);
}

bool DeviceSession::saveBlocksToDevice(const std::vector<int>& blocks) {
    return startSave(&blocks);
}

bool DeviceSession::checkSave() {
    // A refused field left part of the page out of the record: sending it would overwrite the
    // tracker with values the user did not mean.
    const StoreResult stored = storeCurrentPage();
    if (!stored.ok) {
        m_failure = QStringLiteral("the value of %1 was not taken").arg(stored.field);
        showStatus(text(status::kSaveFieldRefused).arg(stored.field));
        return false;
    }
    // Values the tracker would not take, or lines that would not decode back to what they carry,
    // are refused before anything is sent: half a parameter set is worse than none.
    const std::vector<ValueProblem> problems = checkParameterSet(m_set);
    if (!problems.empty()) {
        m_failure = QStringLiteral("values the tracker would not take: ") +
                    QString::fromLatin1(describeProblems(problems));
        showStatus(
            text(status::kSaveValuesRefused).arg(QString::fromLatin1(describeProblems(problems))));
        return false;
    }
    rebuildLineTable();
    if (!m_table.overlong.empty()) {
        m_failure =
            QStringLiteral("line too long: ") + QString::fromStdString(m_table.describeOverlong());
        showStatus(
            text(status::kSaveLineTooLong).arg(QString::fromStdString(m_table.describeOverlong())));
        return false;
    }
    if (!m_table.complete()) {
        m_failure = QStringLiteral("lines the tracker would read differently: ") +
                    QString::fromStdString(m_table.describeUnfaithful());
        showStatus(text(status::kSaveLineUnfaithful)
                       .arg(QString::fromStdString(m_table.describeUnfaithful())));
        return false;
    }
    return true;
}

bool DeviceSession::startSave(const std::vector<int>* blocks) {
    if (isBusy()) {
        m_failure = QStringLiteral("busy");
        return false;
    }
    if (!m_link.isOpen()) {
        reportClosedLink();
        return false;
    }
    if (!checkSave()) {
        return false;
    }
    // The lines sent are the ones built now, whatever is decoded while they go out.
    m_saveLines = m_table.lines;
    if (blocks != nullptr) {
        // Slot n carries block n; the lines left out pass like empty slots, without a pause.
        for (std::size_t slot = 0; slot < m_saveLines.size(); ++slot) {
            if (std::find(blocks->begin(), blocks->end(), static_cast<int>(slot)) ==
                blocks->end()) {
                m_saveLines[slot].line.clear();
            }
        }
    }
    m_nextSlot = 0;
    m_failedLines = 0;
    beginOperation(Operation::Save, kSaveProgressMax);
    sendSlots();
    return true;
}

void DeviceSession::sendSlots() {
    if (m_operation != Operation::Save) {
        return;
    }
    const unsigned run = m_run;
    m_awaitingFlush = false;
    while (m_nextSlot < kSlotCount) {
        if (!m_link.isOpen()) {
            finishSave(End::Disconnected);
            return;
        }
        const LineSlot& slot = m_saveLines[static_cast<std::size_t>(m_nextSlot)];
        ++m_nextSlot;
        if (slot.empty()) {
            emit progressChanged(std::min(m_nextSlot, kSaveProgressMax));
            continue;
        }
        const bool written = writeLine(slot.line);
        emit progressChanged(std::min(m_nextSlot, kSaveProgressMax));
        if (written) {
            m_saveTimer.start(m_saveIntervalMs);
            return;
        }
        ++m_failedLines;
        tell(m_prompter, text(status::kWriteLineFailed), text(status::kCaptionError),
             Prompter::Buttons::OkCancel, Prompter::Icon::Information);
        if (run != m_run) {
            return;  // ended while the message was shown
        }
    }
    // Closing the port drops what is still queued, so the save ends once all of it went out.
    if (m_link.bytesToWrite() > 0) {
        m_awaitingFlush = true;
        return;
    }
    finishSave(End::Complete);
}

void DeviceSession::finishSave(End end) {
    endOperation();
    const bool complete = end == End::Complete && m_failedLines == 0;
    if (end == End::Disconnected) {
        tell(m_prompter, text(status::kDisconnectDevice), text(status::kCaptionErrorBetweenLines),
             Prompter::Buttons::OkCancel, Prompter::Icon::Information);
    }
    const QString lines = m_failedLines == 1 ? QStringLiteral("1 line")
                                             : QStringLiteral("%1 lines").arg(m_failedLines);
    m_failure = complete                   ? QString()
                : end == End::Complete     ? lines + QStringLiteral(" failed")
                : end == End::Disconnected ? QStringLiteral("link lost")
                                           : QStringLiteral("cancelled");
    if (complete) {
        showStatus(text(status::kSaveComplete));
    } else if (end == End::Complete) {
        showStatus(text(status::kSaveLinesFailed).arg(lines));
    } else {
        showStatus(text(status::kSaveNotComplete));
    }
    emit operationFinished(Operation::Save, complete);
}

}  // namespace qn470
