// qn470 ports, send, load and save as processes, against the simulator running in this test.

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>

#include "config/default_profile.h"
#include "config/parameter_value.h"
#include "config/profile.h"
#include "session/code_comparison.h"
#include "sim/tracker_simulator.h"

namespace qn470 {
namespace {

struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs qn470 with the event loop going, so the simulator in this process keeps serving.
CliRun qn470(const QStringList& arguments, int ms = 20000) {
    QProcess process;
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    process.start(QStringLiteral(QN470_CLI), arguments);
    loop.exec();
    CliRun run;
    if (process.state() != QProcess::NotRunning || process.exitStatus() != QProcess::NormalExit) {
        ADD_FAILURE() << "qn470 " << arguments.join(' ').toStdString() << " did not finish";
        return run;
    }
    run.exitCode = process.exitCode();
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

ParameterSet defaultSet() {
    ParameterSet set;
    EXPECT_TRUE(loadDefaultProfile(set).ok);
    return set;
}

std::string describe(const std::vector<CodeDifference>& differences) {
    std::string text;
    for (const CodeDifference& d : differences) {
        text += d.code + ": " + d.expected + " -> " + d.actual + "\n";
    }
    return text;
}

class DeviceCommands : public testing::Test {
protected:
    QString file(const QString& name) const { return m_dir.filePath(name); }

    // A simulator with everything quiet unless asked.
    bool startSimulator(SimulatorOptions options, const ParameterSet& set = defaultSet()) {
        options.fast = true;
        m_sim = std::make_unique<TrackerSimulator>(set, options);
        return m_sim->start();
    }

    QTemporaryDir m_dir;
    std::unique_ptr<TrackerSimulator> m_sim;
};

#define START_SIMULATOR_OR_SKIP(...)                                                  \
    if (!startSimulator(__VA_ARGS__)) {                                               \
        GTEST_SKIP() << "no pseudo-terminal: " << m_sim->errorString().toStdString(); \
    }

TEST_F(DeviceCommands, BadInputExitsWith2AndOneLineNamingTheProblem) {
    const QString missingFolder = file("no-such-folder/out.pro");
    const struct {
        QStringList args;
        QString message;  // empty: the profile reader's message about the file
    } cases[] = {
        {{"send"}, "qn470: --port is missing"},
        {{"send", "--port", "pts/0"}, "qn470: missing argument"},
        {{"send", "--port", "pts/0", "a", "b"}, "qn470: too many arguments"},
        {{"send", "--port", "pts/0", "--baud", "fast", "AT"},
         "qn470: --baud fast: not a positive whole number"},
        {{"send", "--port", "pts/0", "--baud=0", "AT"},
         "qn470: --baud 0: not a positive whole number"},
        {{"send", "--port", "pts/0", "--transmission", "maybe"},
         "qn470: --transmission maybe: must be on or off"},
        {{"send", "--port", "pts/0", "--transmission", "on", "AT"},
         "qn470: TEXT and --transmission exclude each other"},
        {{"send", "--port"}, "qn470: --port needs a value"},
        {{"load", "--port", "pts/0", "--bogus", "x.pro"}, "qn470: unknown option --bogus"},
        {{"load", "--port", "pts/0", missingFolder},
         "qn470: " + missingFolder + ": the folder " + file("no-such-folder") + " does not exist"},
        {{"load", "--port", "USB Serial (ttyUSB0)", file("x.pro")},
         "qn470: --port USB Serial (ttyUSB0): not a tracker port"},  // after the status line
        {{"save", "--port", "pts/0", "--interval-ms", "-5", "in.pro"},
         "qn470: --interval-ms -5: not a whole number of milliseconds"},
        {{"save", "--port", "pts/0", "--verify=yes", "in.pro"}, "qn470: --verify takes no value"},
        {{"save", "--port", "pts/0", file("missing.pro")}, {}},
        {{"ports", "extra"}, "qn470: too many arguments"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const CliRun run = qn470(c.args);
        EXPECT_EQ(run.exitCode, 2);
        // The message line; a status line the window would show may come before it.
        const QStringList lines = run.err.split('\n');
        const auto message = std::find_if(lines.begin(), lines.end(), [](const QString& line) {
            return line.startsWith("qn470: ");
        });
        ASSERT_NE(message, lines.end()) << run.err.toStdString();
        if (!c.message.isEmpty()) {
            EXPECT_EQ(message->toStdString(), c.message.toStdString());
        } else {
            EXPECT_TRUE(message->startsWith("qn470: " + file("missing.pro") + ": "))
                << message->toStdString();
        }
        EXPECT_TRUE(run.out.isEmpty());
    }
    EXPECT_FALSE(QFile::exists(file("x.pro")));
}

TEST_F(DeviceCommands, EachCommandHasHelp) {
    for (const char* command : {"ports", "send", "load", "save"}) {
        const CliRun run = qn470({command, "--help"});
        EXPECT_EQ(run.exitCode, 0) << command;
        EXPECT_TRUE(run.out.startsWith(QString("usage: qn470 ") + command)) << command;
    }
}

TEST_F(DeviceCommands, PortsListsOnlyTrackerPorts) {
    const CliRun run = qn470({"ports"});
    EXPECT_EQ(run.exitCode, 0);
    for (const QString& line : run.out.split('\n', Qt::SkipEmptyParts)) {
        EXPECT_TRUE(line.contains("Prolific") || line.contains("COM1")) << line.toStdString();
        EXPECT_TRUE(line.endsWith(')')) << line.toStdString();
    }
}

TEST_F(DeviceCommands, PortThatCannotBeOpenedIsADeviceFailure) {
    const CliRun run = qn470({"load", "--port", "ttyQN470none", file("out.pro")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.startsWith("serial port is open fail.\n")) << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(file("out.pro")));
}

TEST_F(DeviceCommands, LoadWritesTheTrackersSet) {
    ParameterSet tracker = defaultSet();
    writeNumber(tracker, "C1", 240);
    writeText(tracker, "E0", "cli.example.net");
    START_SIMULATOR_OR_SKIP({}, tracker);
    // By its friendly name, the way the window's port list shows it.
    const CliRun run = qn470({"load", "--port", m_sim->friendlyName(), file("out.pro")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("serial port is open success.\n"));
    EXPECT_TRUE(run.err.contains("KXC,KorvelantQN-470,L0*"));
    EXPECT_TRUE(run.err.endsWith("Load data from device is complete.\n")) << run.err.toStdString();
    ParameterSet loaded = defaultSet();
    ASSERT_TRUE(readProfile(file("out.pro").toStdString(), loaded).ok);
    EXPECT_EQ(describe(differingCodes(tracker, loaded, CodeSelection::Reported)), "");
}

TEST_F(DeviceCommands, LoadThatDoesNotCompleteWritesNothing) {
    SimulatorOptions options;
    options.unplugAfterLines = 4;
    START_SIMULATOR_OR_SKIP(options);
    const CliRun run = qn470({"load", "--port", m_sim->portName(), file("out.pro")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("Disconnect device!")) << run.err.toStdString();
    EXPECT_TRUE(run.err.endsWith("FAIL ! Load data from device is not complete.\n"));
    EXPECT_FALSE(QFile::exists(file("out.pro")));
}

TEST_F(DeviceCommands, SaveAndVerify) {
    START_SIMULATOR_OR_SKIP({});
    ParameterSet wanted = defaultSet();
    writeNumber(wanted, "C1", 420);
    writeNumber(wanted, "O6", -7200);
    writeText(wanted, "D1", "+4930123456");
    ASSERT_TRUE(writeProfile(wanted, file("in.pro").toStdString()).ok);

    CliRun run = qn470({"save", "--port", "/dev/" + m_sim->portName(), "--interval-ms", "1",
                        "--verify", file("in.pro")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
    EXPECT_TRUE(run.err.contains("Save Data to device is complete.\n"));
    EXPECT_EQ(describe(differingCodes(wanted, m_sim->parameters(), CodeSelection::Sent)), "");

    // A value the tracker does not take (O3 must end in "!") is listed, exit status 1.
    writeText(wanted, "O3", "NOMARK");
    ASSERT_TRUE(writeProfile(wanted, file("in.pro").toStdString()).ok);
    run =
        qn470({"save", "--port", m_sim->portName(), "--interval-ms=0", "--verify", file("in.pro")});
    EXPECT_EQ(run.exitCode, 1) << run.err.toStdString();
    EXPECT_TRUE(run.out.startsWith("O3: NOMARK -> ")) << run.out.toStdString();
    EXPECT_EQ(run.out.count('\n'), 1);
}

TEST_F(DeviceCommands, SendPrintsWhatTheTrackerAnswers) {
    SimulatorOptions options;
    options.rtcIntervalMs = 50;
    START_SIMULATOR_OR_SKIP(options);
    QSignalSpy received(m_sim.get(), &TrackerSimulator::lineReceived);
    CliRun run = qn470({"send", "--port", m_sim->portName(), "--wait-ms", "300", "AT+HELLO"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.err, QString("serial port is open success.\nAT+HELLO\n"));
    EXPECT_TRUE(run.out.contains("RTC_Counter=")) << run.out.toStdString();
    ASSERT_GE(received.count(), 1);
    EXPECT_EQ(received.first().at(0).toByteArray(), QByteArray("AT+HELLO"));

    run = qn470({"send", "--port", m_sim->portName(), "--wait-ms", "0", "--transmission", "on"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.err.endsWith("KXC,KorvelantQN-470,LO*QQ!\n"));
    EXPECT_TRUE(m_sim->transmissionOn());
}

}  // namespace
}  // namespace qn470
