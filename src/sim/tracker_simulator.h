// SPDX-License-Identifier: Apache-2.0
#pragma once

// A tracker on a pseudo-terminal, for tests and for trying the tool without hardware.
//
//   TrackerSimulator sim(options);          // parameters from the built-in default profile
//   if (!sim.start()) { report(sim.errorString()); }
//   port.setPortName(sim.portName());       // "pts/3"; sim.friendlyName() for port lists
//
// It answers the load command with a report of every parameter it holds, applies the set lines
// it receives, switches its position sentences on and off with the two "LO" lines and prints an
// "RTC_Counter" line every few seconds. What it sends is paced at its baud rate unless fast.
// Failure modes (SimulatorOptions): silent, unplug after N lines, garbage, drop a report line.
// Everything runs from the event loop of the thread that owns it.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>
#include <string_view>
#include <vector>

#include "config/parameter_set.h"
#include "sim/paced_writer.h"
#include "sim/pseudo_terminal.h"
#include "sim/simulator_options.h"

namespace qn470 {

class TrackerSimulator : public QObject {
    Q_OBJECT

public:
    // Holds the parameters of the built-in default profile.
    explicit TrackerSimulator(const SimulatorOptions& options = {}, QObject* parent = nullptr);
    TrackerSimulator(const ParameterSet& parameters, const SimulatorOptions& options,
                     QObject* parent = nullptr);
    ~TrackerSimulator() override;

    // Opens the pseudo-terminal and starts the periodic lines (no-op when running). False with
    // errorString().
    bool start();
    QString errorString() const { return m_terminal.errorString(); }

    // Closes the terminal as if the adapter were pulled; counters and parameters stay.
    void unplug();
    // Plugs in again on a new pseudo-terminal (its name may differ). False with errorString().
    bool replug();
    bool isPluggedIn() const { return m_terminal.isOpen(); }

    // "pts/3", "/dev/pts/3" and "Prolific simulator (pts/3)"; empty while unplugged.
    QString portName() const { return m_terminal.portName(); }
    QString devicePath() const { return m_terminal.devicePath(); }
    QString friendlyName() const;

    const ParameterSet& parameters() const { return m_parameters; }
    ParameterSet& parameters() { return m_parameters; }
    const SimulatorOptions& options() const { return m_options; }

    int linesReceived() const { return m_linesReceived; }
    int linesSent() const { return m_linesSent; }
    int setLinesApplied() const { return m_setLinesApplied; }
    int reportsSent() const { return m_reportsSent; }
    bool transmissionOn() const { return m_transmissionOn; }

    // Queues one line (without CR LF) as the tracker would print it.
    void sendLine(const QByteArray& line);

signals:
    // Whole lines without their line end.
    void lineReceived(const QByteArray& line);
    void lineSent(const QByteArray& line);
    void unplugged();

private:
    void onDataReceived(const QByteArray& data);
    void handleLine(const QByteArray& line);
    void onLineWritten(const QByteArray& bytes);
    void unplugWhenDue();
    void sendReport();
    void sendPeriodic(const QByteArray& line);
    void startTimers();
    QByteArray nextGarbage();
    // Applies a set line, or holds it back until its series is whole (fullSeriesOnly).
    bool takeSetLine(std::string_view text);
    // Applies one set line, leaving the ignored code (SimulatorOptions) as it was.
    bool applyTaken(std::string_view line);

    ParameterSet m_parameters;
    SimulatorOptions m_options;
    PseudoTerminal m_terminal;
    PacedWriter m_writer;
    QTimer m_rtcTimer;
    QTimer m_positionTimer;
    QByteArray m_received;             // bytes after the last line end
    std::vector<QByteArray> m_series;  // set lines held back since block 0 (fullSeriesOnly)

    int m_linesReceived = 0;
    int m_linesSent = 0;
    int m_setLinesApplied = 0;
    int m_reportsSent = 0;
    int m_linesSincePlug = 0;
    int m_rtcCounter = 0;
    int m_garbageTurn = 0;
    unsigned m_plug = 0;  // bumped by every unplug
    bool m_transmissionOn = false;
};

}  // namespace qn470
