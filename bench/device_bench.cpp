// SPDX-License-Identifier: Apache-2.0
// Device benchmarks against the tracker simulator on a pseudo-terminal, through the real serial
// link and device session:
//   throughput  lines streamed by the simulator at full speed: bytes per second, lines lost
//   load        a whole load at 115,200 baud against the pure transfer time of the report
//   save        a save with a given interval: total time against 71 intervals
//   idle        a load from a tracker that never answers: time to the failure against the idle
//               time
//   unplug      CPU time the process spends in the second after the terminal vanished under an
//               open link (near zero unless the event loop spins)
// Usage: qn470_device_bench [throughput|load|save|idle|unplug] [--interval-ms N] [--idle-ms N]
//        [--megabytes N]

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include "config/default_profile.h"
#include "serial/serial_link.h"
#include "session/device_session.h"
#include "session/prompter.h"
#include "sim/report_builder.h"
#include "sim/tracker_simulator.h"

namespace {

using namespace qn470;

// Runs the event loop until done() or the time limit; false on the time limit.
template <typename Done>
bool runUntil(Done done, int limitMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > limitMs) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    return true;
}

SimulatorOptions simOptions(bool fast, bool silent) {
    SimulatorOptions options;
    options.fast = fast;
    options.silent = silent;
    options.rtcIntervalMs = 0;
    return options;
}

ParameterSet defaults() {
    ParameterSet set;
    loadDefaultProfile(set);
    return set;
}

struct Rig {
    explicit Rig(bool fast, bool silent = false) : sim(simOptions(fast, silent)) {}

    bool start() {
        if (!sim.start()) {
            std::fprintf(stderr, "no pseudo-terminal: %s\n", qPrintable(sim.errorString()));
            return false;
        }
        return session.openPort(sim.portName(), 115200);
    }

    TrackerSimulator sim;
    ParameterSet set = defaults();
    CSerialLink link;
    TextPrompter prompter{
        [](const QString& text) { std::fprintf(stderr, "%s\n", qPrintable(text)); }};
    DeviceSession session{set, link, prompter};
};

int throughput(double megabytes) {
    Rig rig(true);
    if (!rig.start()) {
        return 1;
    }
    // Numbered lines of 100 bytes with CR LF, the size of a typical report line.
    const qint64 lineCount = static_cast<qint64>(megabytes * 1e6 / 100);
    qint64 received = 0;
    qint64 bytes = 0;
    qint64 outOfOrder = 0;
    QObject::connect(&rig.link, &CSerialLink::lineReceived, [&](const QByteArray& line) {
        if (!line.startsWith("N")) {
            return;
        }
        if (line.mid(1, 8).toLongLong() != received) {
            ++outOfOrder;
        }
        ++received;
        bytes += line.size() + 2;
    });
    QElapsedTimer clock;
    clock.start();
    qint64 queued = 0;
    // Feeds the simulator in batches so its queue stays bounded.
    QTimer feeder;
    QObject::connect(&feeder, &QTimer::timeout, [&] {
        for (int i = 0; i < 2000 && queued < lineCount; ++i, ++queued) {
            QByteArray line = "N" + QByteArray::number(queued).rightJustified(8, '0') + ",";
            line += QByteArray(98 - line.size(), 'x');
            rig.sim.sendLine(line);
        }
    });
    feeder.start(0);
    const bool done = runUntil([&] { return received >= lineCount; }, 120000);
    feeder.stop();
    const double seconds = clock.nsecsElapsed() / 1e9;
    std::printf(
        "throughput: %lld lines, %.1f MB in %.3f s = %.2f MB/s; lost %lld, out of order "
        "%lld%s\n",
        static_cast<long long>(received), bytes / 1e6, seconds, bytes / 1e6 / seconds,
        static_cast<long long>(lineCount - received), static_cast<long long>(outOfOrder),
        done ? "" : " (timed out)");
    return done && outOfOrder == 0 ? 0 : 1;
}

int load() {
    Rig rig(false);
    if (!rig.start()) {
        return 1;
    }
    qint64 reportBytes = 0;
    const auto report = buildReport(rig.sim.parameters());
    for (const std::string& line : report) {
        reportBytes += static_cast<qint64>(line.size());
    }
    bool finished = false;
    bool ok = false;
    QObject::connect(&rig.session, &DeviceSession::operationFinished,
                     [&](DeviceSession::Operation, bool success) {
                         finished = true;
                         ok = success;
                     });
    QElapsedTimer clock;
    clock.start();
    rig.session.loadFromDevice();
    runUntil([&] { return finished; }, 30000);
    const double seconds = clock.nsecsElapsed() / 1e9;
    const double transfer = reportBytes * 10.0 / 115200;
    std::printf(
        "load at 115200 baud: %zu lines, %lld bytes; %.3f s against %.3f s of pure "
        "transfer (%+.1f %%)%s\n",
        report.size(), static_cast<long long>(reportBytes), seconds, transfer,
        (seconds / transfer - 1) * 100, ok ? "" : " FAILED");
    return ok ? 0 : 1;
}

int save(int intervalMs) {
    Rig rig(false);
    if (!rig.start()) {
        return 1;
    }
    rig.session.setSaveInterval(intervalMs);
    bool finished = false;
    bool ok = false;
    QObject::connect(&rig.session, &DeviceSession::operationFinished,
                     [&](DeviceSession::Operation, bool success) {
                         finished = true;
                         ok = success;
                     });
    QElapsedTimer clock;
    clock.start();
    rig.session.saveToDevice();
    runUntil([&] { return finished; }, 200000);
    const double seconds = clock.nsecsElapsed() / 1e9;
    const double intervals = kEncodedBlockCount * intervalMs / 1000.0;
    std::printf(
        "save with %d ms interval: %.3f s = 71 intervals (%.3f s) + %.3f s; simulator "
        "applied %d lines%s\n",
        intervalMs, seconds, intervals, seconds - intervals, rig.sim.setLinesApplied(),
        ok ? "" : " FAILED");
    return ok ? 0 : 1;
}

int idle(int idleMs) {
    Rig rig(true, true);
    if (!rig.start()) {
        return 1;
    }
    rig.session.setIdleTimeout(idleMs);
    bool finished = false;
    bool ok = true;
    QObject::connect(&rig.session, &DeviceSession::operationFinished,
                     [&](DeviceSession::Operation, bool success) {
                         finished = true;
                         ok = success;
                     });
    QElapsedTimer clock;
    clock.start();
    rig.session.loadFromDevice();
    runUntil([&] { return finished; }, idleMs + 30000);
    const double ms = clock.nsecsElapsed() / 1e6;
    // The idle time is counted in steps of a fiftieth of it.
    std::printf("idle load with %d ms idle time: failed after %.1f ms (%+.1f ms)%s\n", idleMs, ms,
                ms - idleMs, finished && !ok ? "" : " NOT FAILED");
    return finished && !ok ? 0 : 1;
}

int unplug() {
    Rig rig(true);
    if (!rig.start()) {
        return 1;
    }
    rig.link.setConnected(true);
    int lost = 0;
    QObject::connect(&rig.link, &CSerialLink::deviceLost, [&] { ++lost; });
    rig.sim.unplug();
    if (!runUntil([&] { return lost > 0; }, 5000)) {
        std::printf("unplug: the link never noticed\n");
        return 1;
    }
    const std::clock_t cpuBefore = std::clock();
    QElapsedTimer clock;
    clock.start();
    // A plain event loop: it sleeps unless something wakes it.
    QEventLoop loop;
    QTimer::singleShot(1000, &loop, &QEventLoop::quit);
    loop.exec();
    const double cpu = static_cast<double>(std::clock() - cpuBefore) / CLOCKS_PER_SEC;
    std::printf("after an unplug: %.3f s of CPU in %.3f s of waiting; device lost %d time(s)\n",
                cpu, clock.nsecsElapsed() / 1e9, lost);
    return lost == 1 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::string which = argc > 1 && argv[1][0] != '-' ? argv[1] : "all";
    int intervalMs = 50;
    int idleMs = 300;
    double megabytes = 20;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--interval-ms") == 0) {
            intervalMs = std::atoi(argv[i + 1]);
        } else if (std::strcmp(argv[i], "--idle-ms") == 0) {
            idleMs = std::atoi(argv[i + 1]);
        } else if (std::strcmp(argv[i], "--megabytes") == 0) {
            megabytes = std::atof(argv[i + 1]);
        }
    }
    int failures = 0;
    if (which == "all" || which == "throughput") {
        failures += throughput(megabytes);
    }
    if (which == "all" || which == "load") {
        failures += load();
    }
    if (which == "all" || which == "save") {
        failures += save(intervalMs);
    }
    if (which == "all" || which == "idle") {
        failures += idle(idleMs);
    }
    if (which == "all" || which == "unplug") {
        failures += unplug();
    }
    return failures == 0 ? 0 : 1;
}
