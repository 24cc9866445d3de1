// SPDX-License-Identifier: Apache-2.0
// qn470 ports, send, load and save as processes, against the simulator running in this test.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "config/default_profile.h"
#include "config/parameter_value.h"
#include "config/profile.h"
#include "config/report_completeness.h"
#include "config/report_decoder.h"
#include "serial/pty_master.h"
#include "session/code_comparison.h"
#include "session/device_session.h"
#include "sim/report_builder.h"
#include "sim/tracker_simulator.h"
#include "support/cli_process.h"
#include "support/set_differences.h"

namespace qn470 {
namespace {

// Runs qn470 with the event loop going, so the simulator in this process keeps serving. A load
// that cannot complete ends after a short silence instead of the tracker's 10 s: the simulator
// here answers at once.
CliRun qn470(const QStringList& arguments, int ms = 20000) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QN470_LOAD_IDLE_MS"), QStringLiteral("1500"));
    return runQn470(arguments, ms, environment);
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
    const QString rates =
        "not a standard rate (1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400, "
        "460800, 921600)";
    const struct {
        QStringList args;
        QString message;  // empty: the profile reader's message about the file
    } cases[] = {
        {{"send"}, "qn470: --port is missing"},
        {{"send", "--port", "pts/0"}, "qn470: missing argument"},
        {{"send", "--port", "pts/0", "a", "b"}, "qn470: too many arguments"},
        {{"send", "--port", "pts/0", "--baud", "fast", "AT"}, "qn470: --baud fast: " + rates},
        {{"send", "--port", "pts/0", "--baud=0", "AT"}, "qn470: --baud 0: " + rates},
        {{"send", "--port", "ttyQN470none", "--baud", "115201", "AT"},
         "qn470: --baud 115201: " + rates},
        {{"load", "--port", "pts/0", "--baud", "-9600", "x.pro"}, "qn470: --baud -9600: " + rates},
        {{"load", "--port", "pts/0", "--baud", "99999999999", "x.pro"},
         "qn470: --baud 99999999999: " + rates},
        {{"send", "--port", "ttyQN470none", "--wait-ms", "600001", "AT"},
         "qn470: --wait-ms 600001: must be between 0 and 600000"},
        {{"send", "--port", "pts/0", "--wait-ms", "1s", "AT"},
         "qn470: --wait-ms 1s: not a whole number of milliseconds"},
        // Refused before the port is opened, not cut and sent.
        {{"send", "--port", "ttyQN470none", QString(128, 'A')},
         "qn470: TEXT is 128 characters long; at most 127 can be sent"},
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
         "qn470: --interval-ms -5: must be between 0 and 60000"},
        {{"save", "--port", "pts/0", "--interval-ms", "2147483647", "in.pro"},
         "qn470: --interval-ms 2147483647: must be between 0 and 60000"},
        {{"save", "--port", "pts/0", "--interval-ms=60001", "in.pro"},
         "qn470: --interval-ms 60001: must be between 0 and 60000"},
        {{"save", "--port", "pts/0", "--interval-ms", "99999999999999999999", "in.pro"},
         "qn470: --interval-ms 99999999999999999999: must be between 0 and 60000"},
        {{"save", "--port", "pts/0", "--interval-ms", "0x10", "in.pro"},
         "qn470: --interval-ms 0x10: not a whole number of milliseconds"},
        {{"load", "--port", "pts/0", "--allow-missing=yes", "x.pro"},
         "qn470: --allow-missing takes no value"},
        {{"save", "--port", "pts/0", "--allow-missing", "in.pro"},
         "qn470: unknown option --allow-missing"},
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

// The tests' shorter idle time is checked like an option, before any port is opened: it can only
// shorten the wait.
TEST_F(DeviceCommands, LoadIdleTimeFromTheEnvironmentIsChecked) {
    const struct {
        const char* value;
        const char* message;
    } cases[] = {
        {"soon", "qn470: QN470_LOAD_IDLE_MS soon: not a whole number of milliseconds"},
        {"", "qn470: QN470_LOAD_IDLE_MS : not a whole number of milliseconds"},
        {"10001", "qn470: QN470_LOAD_IDLE_MS 10001: must be between 0 and 10000"},
        {"-1", "qn470: QN470_LOAD_IDLE_MS -1: must be between 0 and 10000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QN470_LOAD_IDLE_MS"), QString::fromLatin1(c.value));
        const CliRun run =
            runQn470({"load", "--port", "ttyQN470none", file("x.pro")}, 20000, environment);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.err.split('\n').first().toStdString(), c.message);
        EXPECT_FALSE(QFile::exists(file("x.pro")));
    }
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

TEST_F(DeviceCommands, PortThatCannotBeOpenedIsExplainedBelowTheFirstLine) {
    const CliRun run = qn470({"send", "--port", "ttyQN470none", "AT"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(
        run.err.startsWith("serial port is open fail.\n"
                           "qn470: cannot open ttyQN470none at 115200 baud\n"
                           "qn470: /dev/ttyQN470none does not exist: the adapter is not "
                           "plugged in, or the system gave it another name.\n"
                           "qn470: Serial ports present now:\n"))
        << run.err.toStdString();
    EXPECT_TRUE(run.err.endsWith("qn470: Plug the adapter in and choose its port.\n"))
        << run.err.toStdString();
}

TEST_F(DeviceCommands, PortsCheckSaysWhetherEachPortCanBeOpenedNow) {
    test::PtyMaster held;
    test::PtyMaster free;
    if (!held.ok() || !free.ok()) {
        GTEST_SKIP() << "no pseudo-terminal: " << held.error().toStdString();
    }
    // This process holds one in exclusive use, as a terminal program would.
    const QByteArray heldPath = "/dev/" + held.portName().toLocal8Bit();
    const int fd = ::open(heldPath.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ioctl(fd, TIOCEXCL), 0);
    const CliRun run = qn470({"ports", "--check"});
    ::close(fd);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    const struct {
        QString port;
        QString verdict;
    } cases[] = {
        {held.portName(), QString("busy: held by %1 (").arg(QCoreApplication::applicationPid())},
        {free.portName(), "ok"},
    };
    const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
    for (const auto& c : cases) {
        const QString start = "pseudo-terminal (" + c.port + ")  ";
        const QStringList found = lines.filter(start);
        ASSERT_EQ(found.size(), 1) << run.out.toStdString();
        EXPECT_TRUE(found[0].startsWith(start + c.verdict)) << found[0].toStdString();
    }
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

    // "-": the same bytes on standard output, no folder check in the way, no file named "-".
    const CliRun piped = qn470({"load", "--port", m_sim->portName(), "-"});
    ASSERT_EQ(piped.exitCode, 0) << piped.err.toStdString();
    QFile written(file("out.pro"));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(piped.rawOut == written.readAll());
    EXPECT_FALSE(QFile::exists("-"));
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

    // A value the tracker does not take (O3 must end in "!"): a warning when the profile is
    // read, then the save is refused before anything is sent, as bad input.
    writeText(wanted, "O3", "NOMARK");
    ASSERT_TRUE(writeProfile(wanted, file("in.pro").toStdString()).ok);
    QSignalSpy received(m_sim.get(), &TrackerSimulator::lineReceived);
    run =
        qn470({"save", "--port", m_sim->portName(), "--interval-ms=0", "--verify", file("in.pro")});
    EXPECT_EQ(run.exitCode, 2) << run.err.toStdString();
    const QRegularExpression warning(
        "^qn470: warning: " + QRegularExpression::escape(file("in.pro")) +
            ": line \\d+: O3=NOMARK: must end with \"!\"$",
        QRegularExpression::MultilineOption);
    EXPECT_TRUE(run.err.contains(warning)) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(
        "FAIL ! Save Data to device refused, values the tracker would not take: O3=NOMARK"))
        << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
    QTest::qWait(100);
    EXPECT_EQ(received.count(), 0);
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

    // The longest command line goes out whole (one more is refused: see the bad input table).
    const QString longest(DeviceSession::kMaxCommandLength, 'B');
    const qsizetype before = received.count();
    run = qn470({"send", "--port", m_sim->portName(), "--wait-ms", "0", longest});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    if (received.count() == before) {
        received.wait(2000);
    }
    ASSERT_GT(received.count(), before);
    EXPECT_EQ(received.last().at(0).toByteArray(), longest.toLatin1());
}

// What leaving out one line of the simulator's report leaves missing, worked out from the
// report itself, so the table follows the report's layout.
struct DroppedLine {
    int line = 0;                           // 1 = first
    std::vector<std::string_view> missing;  // required codes the other lines do not carry
    bool countReached = false;              // the other lines still reach the load's count
};

std::vector<DroppedLine> droppedLines() {
    ParameterSet tracker;
    loadDefaultProfile(tracker);
    const std::vector<std::string> report = buildReport(tracker);
    const ReportDecoder decoder;
    std::vector<DroppedLine> cases;
    for (std::size_t dropped = 0; dropped < report.size(); ++dropped) {
        ParameterSet scratch = tracker;
        CodeSet arrived;
        int count = 0;
        for (std::size_t i = 0; i < report.size(); ++i) {
            std::string_view line = report[i];
            line.remove_suffix(2);  // CR LF, which the link takes off
            if (i != dropped) {
                count += decoder.decode(line, scratch, &arrived);
            }
        }
        cases.push_back({static_cast<int>(dropped) + 1, missingReportCodes(arrived),
                         count >= DeviceSession::kCompleteReportCount});
    }
    return cases;
}

void PrintTo(const DroppedLine& c, std::ostream* out) {
    *out << "line " << c.line;
}

class DropReportLine : public DeviceCommands, public testing::WithParamInterface<DroppedLine> {};

TEST_P(DropReportLine, LoadNeedsEveryCodeUnlessAllowedMissing) {
    const DroppedLine& c = GetParam();
    SimulatorOptions options;
    options.dropReportLine = c.line;
    START_SIMULATOR_OR_SKIP(options);
    const QString missing = QString::number(c.missing.size()) + " codes";
    const QString codes = QString::fromStdString(listCodes(c.missing));

    // Without --allow-missing: a code missing fails the load, and nothing is written.
    const bool strictOk = c.countReached && c.missing.empty();
    CliRun run = qn470({"load", "--port", m_sim->portName(), file("strict.pro")});
    EXPECT_EQ(run.exitCode, strictOk ? 0 : 1) << run.err.toStdString();
    EXPECT_EQ(QFile::exists(file("strict.pro")), strictOk);
    if (c.countReached && !c.missing.empty()) {
        EXPECT_TRUE(run.err.endsWith("FAIL ! Load data from device is not complete, " + missing +
                                     " missing: " + codes + ".\n"))
            << run.err.toStdString();
    }

    // With it, the count alone decides; what did not come is a warning.
    run = qn470({"load", "--allow-missing", "--port", m_sim->portName(), file("lenient.pro")});
    EXPECT_EQ(run.exitCode, c.countReached ? 0 : 1) << run.err.toStdString();
    EXPECT_EQ(QFile::exists(file("lenient.pro")), c.countReached);
    if (!c.countReached) {
        EXPECT_TRUE(run.err.endsWith("FAIL ! Load data from device is not complete.\n"));
    } else if (!c.missing.empty()) {
        EXPECT_TRUE(
            run.err.endsWith("Load data from device is complete.\nqn470: warning: the "
                             "report did not carry " +
                             missing + ": " + codes + "\n"))
            << run.err.toStdString();
    } else {
        EXPECT_TRUE(run.err.endsWith("Load data from device is complete.\n"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Simulator, DropReportLine, testing::ValuesIn(droppedLines()),
    [](const testing::TestParamInfo<DroppedLine>& info) {
        return QString("Line%1").arg(info.param.line, 2, 10, QChar('0')).toStdString();
    });

}  // namespace
}  // namespace qn470
