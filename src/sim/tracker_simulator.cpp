// SPDX-License-Identifier: Apache-2.0
#include "sim/tracker_simulator.h"

#include <QDateTime>
#include <algorithm>
#include <string>
#include <vector>

#include "config/command_line.h"
#include "config/default_profile.h"
#include "config/parameter_table.h"
#include "config/parameter_value.h"
#include "config/set_command_encoder.h"
#include "serial/simulator_registry.h"
#include "sim/position_sentence.h"
#include "sim/report_builder.h"
#include "sim/set_line_applier.h"

namespace qn470 {
namespace {

// A tracker does not keep an unterminated line of this length; it starts over.
constexpr qsizetype kMaxReceivedLine = 1024;
constexpr int kGarbageKinds = 5;

std::string_view withoutLineEnd(std::string_view line) {
    if (line.ends_with(kLineEnd)) {
        line.remove_suffix(kLineEnd.size());
    }
    return line;
}

QByteArray bytes(std::string_view text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

ParameterSet defaultParameters() {
    ParameterSet set;
    loadDefaultProfile(set);  // built in: cannot fail short of a broken build
    return set;
}

}  // namespace

TrackerSimulator::TrackerSimulator(const SimulatorOptions& options, QObject* parent)
    : TrackerSimulator(defaultParameters(), options, parent) {}

TrackerSimulator::TrackerSimulator(const ParameterSet& parameters, const SimulatorOptions& options,
                                   QObject* parent)
    : QObject(parent), m_parameters(parameters), m_options(options), m_writer(m_terminal) {
    m_writer.setBytesPerSecond(m_options.fast ? 0 : std::max(1, m_options.baudRate / 10));
    connect(&m_terminal, &PseudoTerminal::dataReceived, this, &TrackerSimulator::onDataReceived);
    connect(&m_writer, &PacedWriter::lineWritten, this, &TrackerSimulator::onLineWritten);
    connect(&m_rtcTimer, &QTimer::timeout, this,
            [this] { sendPeriodic("RTC_Counter=" + QByteArray::number(++m_rtcCounter)); });
    connect(&m_positionTimer, &QTimer::timeout, this, [this] {
        sendPeriodic(
            QByteArray::fromStdString(positionSentence(QDateTime::currentSecsSinceEpoch())));
    });
}

TrackerSimulator::~TrackerSimulator() {
    // The writer and the terminal must not call back into a half-destroyed simulator.
    disconnect(&m_writer, nullptr, this, nullptr);
    disconnect(&m_terminal, nullptr, this, nullptr);
    if (isPluggedIn()) {
        withdrawSimulator(portName());
    }
}

QString TrackerSimulator::friendlyName() const {
    return isPluggedIn() ? QStringLiteral("Prolific simulator (%1)").arg(portName()) : QString();
}

bool TrackerSimulator::start() {
    return isPluggedIn() || replug();
}

bool TrackerSimulator::replug() {
    if (isPluggedIn()) {
        unplug();
    }
    m_received.clear();
    m_linesSincePlug = 0;
    if (!m_terminal.open()) {
        return false;
    }
    if (m_options.announce) {
        announceSimulator(m_terminal.portName());
    }
    startTimers();
    return true;
}

void TrackerSimulator::startTimers() {
    if (m_options.rtcIntervalMs > 0) {
        m_rtcTimer.start(m_options.rtcIntervalMs);
    }
    if (m_transmissionOn && m_options.positionIntervalMs > 0) {
        m_positionTimer.start(m_options.positionIntervalMs);
    }
}

void TrackerSimulator::unplug() {
    if (!isPluggedIn()) {
        return;
    }
    ++m_plug;
    withdrawSimulator(m_terminal.portName());
    m_rtcTimer.stop();
    m_positionTimer.stop();
    m_writer.clear();
    m_terminal.close();
    m_received.clear();
    emit unplugged();
}

void TrackerSimulator::onDataReceived(const QByteArray& data) {
    QByteArray pending = m_received + data;
    m_received.clear();
    const unsigned plug = m_plug;
    // A tracker takes CR, LF or both as a line end.
    qsizetype start = 0;
    for (qsizetype i = 0; i < pending.size(); ++i) {
        const char c = pending[i];
        if (c != '\r' && c != '\n') {
            continue;
        }
        const QByteArray line = pending.mid(start, i - start);
        start = i + 1;
        if (!line.isEmpty()) {
            handleLine(line);
        }
        if (plug != m_plug) {
            return;  // unplugged while handling: the rest went nowhere
        }
    }
    m_received = pending.mid(start);
    if (m_received.size() > kMaxReceivedLine) {
        m_received.clear();
    }
}

void TrackerSimulator::handleLine(const QByteArray& line) {
    ++m_linesReceived;
    ++m_linesSincePlug;  // before the answer, whose lines count after it
    const std::string_view text(line.constData(), static_cast<std::size_t>(line.size()));
    if (text == withoutLineEnd(loadCommand())) {
        if (!m_options.silent) {
            sendReport();
        }
    } else if (text == withoutLineEnd(kTransmissionOnLine)) {
        m_transmissionOn = true;
        if (m_options.positionIntervalMs > 0) {
            m_positionTimer.start(m_options.positionIntervalMs);
        }
    } else if (text == withoutLineEnd(kTransmissionOffLine)) {
        m_transmissionOn = false;
        m_positionTimer.stop();
    } else {
        takeSetLine(text);
    }
    emit lineReceived(line);
    unplugWhenDue();
}

bool TrackerSimulator::applyTaken(std::string_view line) {
    if (m_options.ignoredCode.empty()) {
        return applySetLine(line, m_parameters);
    }
    const ParameterSet kept = m_parameters;
    const bool applied = applySetLine(line, m_parameters);
    const Parameter& ignored = parameter(m_options.ignoredCode);
    if (ignored.isText()) {
        writeText(m_parameters, ignored, readText(kept, ignored));
    } else {
        writeNumber(m_parameters, ignored, readNumber(kept, ignored));
    }
    return applied;
}

bool TrackerSimulator::takeSetLine(std::string_view text) {
    if (!m_options.fullSeriesOnly) {
        if (!applyTaken(text)) {
            return false;
        }
        ++m_setLinesApplied;
        return true;
    }
    const std::optional<SetLineFrame> frame = setLineFrame(text);
    if (!frame) {
        return false;
    }
    if (frame->block == 0) {
        m_series.clear();
    }
    // Blocks must come in order from 0 without a gap; anything else spoils the series.
    if (frame->block != static_cast<int>(m_series.size())) {
        m_series.clear();
        return false;
    }
    m_series.emplace_back(text.data(), static_cast<qsizetype>(text.size()));
    if (frame->block + 1 < kEncodedBlockCount) {
        return true;
    }
    for (const QByteArray& line : m_series) {
        if (applyTaken(std::string_view(line.constData(), static_cast<std::size_t>(line.size())))) {
            ++m_setLinesApplied;
        }
    }
    m_series.clear();
    return true;
}

void TrackerSimulator::unplugWhenDue() {
    if (m_options.unplugAfterLines > 0 && m_linesSincePlug >= m_options.unplugAfterLines) {
        unplug();
    }
}

void TrackerSimulator::sendReport() {
    ++m_reportsSent;
    const std::vector<std::string> lines = buildReport(m_parameters);
    for (std::size_t i = 0; i < lines.size() && isPluggedIn(); ++i) {
        if (static_cast<int>(i) + 1 != m_options.dropReportLine) {
            sendLine(bytes(withoutLineEnd(lines[i])));
        }
    }
}

void TrackerSimulator::sendPeriodic(const QByteArray& line) {
    // Nobody reading and the terminal full: skip the tick rather than pile up lines.
    if (m_writer.idle()) {
        sendLine(line);
    }
}

void TrackerSimulator::sendLine(const QByteArray& line) {
    if (!isPluggedIn()) {
        return;
    }
    if (m_options.garbage) {
        m_writer.enqueue(nextGarbage(), false);
    }
    m_writer.enqueue(line + bytes(kLineEnd), true);
}

void TrackerSimulator::onLineWritten(const QByteArray& bytes) {
    ++m_linesSent;
    ++m_linesSincePlug;
    emit lineSent(bytes.chopped(kLineEnd.size()));
    unplugWhenDue();
}

QByteArray TrackerSimulator::nextGarbage() {
    const int turn = m_garbageTurn++;
    switch (turn % kGarbageKinds) {
        case 0:
            return "~#noise " + QByteArray::number(turn) + " %&/()=?\r\n";
        case 1:
            return QByteArray(300, static_cast<char>('a' + turn % 26)) + "\r\n";
        case 2:
            return QByteArray(3, '\0');
        case 3:
            return "\r";
        default:
            return "\n";
    }
}

}  // namespace qn470
