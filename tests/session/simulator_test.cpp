// SPDX-License-Identifier: Apache-2.0
// The tracker simulator: its report through the real decoder, set lines, the transmission switch,
// pacing and the failure modes, all over a real pseudo-terminal.

#include <errno.h>
#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <QElapsedTimer>
#include <QProcess>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <string>
#include <vector>

#include "config/command_line.h"
#include "config/default_profile.h"
#include "config/parameter_table.h"
#include "config/parameter_value.h"
#include "config/profile.h"
#include "config/report_decoder.h"
#include "config/series_codes.h"
#include "config/set_command_encoder.h"
#include "sim/position_sentence.h"
#include "sim/report_builder.h"
#include "sim/set_line_applier.h"
#include "sim/tracker_simulator.h"

namespace qn470 {
namespace {

// The set lines of a save in sending order, CR LF included; empty slots left out.
std::vector<std::string> setLines(const ParameterSet& set) {
    const SetCommandTable table = SetCommandEncoder::encode(set);
    EXPECT_TRUE(table.complete()) << table.describeOverlong();
    std::vector<std::string> lines;
    for (const LineSlot& slot : table.lines) {
        if (!slot.empty()) {
            lines.push_back(slot.line);
        }
    }
    return lines;
}

ParameterSet defaults() {
    ParameterSet set;
    EXPECT_TRUE(loadDefaultProfile(set).ok);
    return set;
}

std::string show(const ParameterSet& set, const Parameter& p) {
    return p.isText() ? '"' + readText(set, p) + '"' : std::to_string(readNumber(set, p));
}

// Every code a report carries holds the same value in both sets.
void expectSameDecodedValues(const ParameterSet& expected, const ParameterSet& actual) {
    for (const Parameter& p : allParameters()) {
        if (p.decode != Decode::None) {
            EXPECT_EQ(show(expected, p), show(actual, p)) << "code " << p.code;
        }
    }
}

struct ReportCheck {
    ParameterSet decoded{};  // zeroed, so a code missing from the report shows
    int completedAtLine = -1;
};

// Runs the report lines through the real decoder the way a load counts them.
ReportCheck decodeReport(const std::vector<std::string>& lines) {
    ReportCheck check;
    const ReportDecoder decoder;
    int counter = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string_view line = lines[i];
        if (line.ends_with(kLineEnd)) {
            line.remove_suffix(kLineEnd.size());
        }
        counter += decoder.decode(line, check.decoded);
        if (counter >= 65 && check.completedAtLine < 0) {
            check.completedAtLine = static_cast<int>(i);
        }
    }
    return check;
}

// Framing of one report line: header, items, "*", the XOR of everything before it, "!", CR LF.
void expectFramed(const std::string& line) {
    ASSERT_LE(line.size(), kMaxReportLineLength) << line;
    ASSERT_TRUE(line.ends_with("\r\n")) << line;
    EXPECT_TRUE(line.starts_with("KXs,KorvelantQN-470,")) << line;
    const std::size_t star = line.size() - 6;
    ASSERT_EQ(line[star], '*') << line;
    EXPECT_EQ(line[star + 3], '!') << line;
    EXPECT_EQ(line.substr(star + 1, 2), checksumDigits(std::string_view(line).substr(0, star)))
        << line;
}

// A set at the far end of every field: longest numbers the decoder takes, full-length texts.
// Event texts alternate between ones with "$" after a comma and ones without any comma.
ParameterSet extremeSet() {
    ParameterSet set = defaults();
    for (const Parameter& p : allParameters()) {
        if (p.isText()) {
            std::string text(static_cast<std::size_t>(p.maxTextLength()), 'x');
            if (p.decode == Decode::WholeText) {
                text.back() = '!';
            } else if (p.storage == Storage::EventText && p.offset % 2 == 0) {
                text.replace(10, 5, "$6,$1");
            }
            writeText(set, p, text);
            continue;
        }
        if (p.storage == Storage::FlagBit || p.storage == Storage::BoolByte) {
            writeNumber(set, p, 1);
        } else if (p.decode == Decode::Hex2 || p.decode == Decode::Weekday) {
            writeNumber(set, p, p.decode == Decode::Weekday ? 0x7b : 0xab);
        } else if (p.decode == Decode::Hex4) {
            writeNumber(set, p, 0xabcd);
        } else if (p.storage == Storage::Signed || p.storage == Storage::Hardware) {
            const int64_t low = p.size == 1 ? -128 : INT32_MIN;
            writeNumber(set, p, std::max(low, p.condition.min));
        } else {
            const int64_t high = (int64_t{1} << (8 * p.size)) - 1;
            writeNumber(set, p, std::min(high, p.condition.max));
        }
    }
    return set;
}

ParameterSet emptyTextSet() {
    ParameterSet set = defaults();
    for (const Parameter& p : allParameters()) {
        if (p.isText() && p.decode != Decode::WholeText) {
            writeText(set, p, "");
        }
    }
    return set;
}

TEST(ReportBuilder, EveryLineFramedAndTheSetComesBackThroughTheDecoder) {
    const struct {
        const char* name;
        ParameterSet set;
    } cases[] = {{"defaults", defaults()}, {"extreme", extremeSet()}, {"empty", emptyTextSet()}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<std::string> lines = buildReport(c.set);
        ASSERT_GE(lines.size(), 16u);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            expectFramed(lines[i]);
            EXPECT_EQ(lines[i].find(",Z4=") != std::string::npos, i + 1 == lines.size())
                << "Z4 belongs in the last line only: " << lines[i];
        }
        const ReportCheck check = decodeReport(lines);
        EXPECT_EQ(check.completedAtLine, static_cast<int>(lines.size()) - 1)
            << "a load must complete exactly at the last line";
        expectSameDecodedValues(c.set, check.decoded);
        EXPECT_EQ(check.decoded.hardwareOption.value, c.set.hardwareOption.value);
    }
}

TEST(ReportBuilder, CarriesEveryCodeOnce) {
    std::string all;
    for (const std::string& line : buildReport(defaults())) {
        all += ',' + line.substr(0, line.size() - 6) + ',';
    }
    for (const Parameter& p : allParameters()) {
        const std::string item = ',' + std::string(p.code) + '=';
        const std::size_t first = all.find(item);
        EXPECT_NE(first, std::string::npos) << p.code;
        EXPECT_EQ(all.find(item, first + 1), std::string::npos) << p.code;
    }
}

TEST(ReportBuilder, EventTextsQuotedOnlyWhenTheReceiverNeedsTheQuote) {
    ParameterSet set = defaults();
    const struct {
        const char* text;
        const char* value;
    } cases[] = {
        {"00Ping$6,$1", "\"00Ping$6,$1\""},
        {"00Plain text", "00Plain text"},
        {"", ""},
    };
    for (const auto& c : cases) {
        writeText(set, "BA", c.text);
        EXPECT_EQ(reportValue(set, parameter("BA")), c.value);
        const ReportCheck check = decodeReport(buildReport(set));
        EXPECT_EQ(readText(check.decoded, "BA"), c.text);
    }
}

TEST(SetLineApplier, AppliesLinesForThisDeviceOnly) {
    const struct {
        const char* line;
        bool applied;
        const char* code;
        int64_t value;
    } cases[] = {
        {"KXS,KorvelantQN-470,0,1,C1=300,C2=20*QQ!", true, "C1", 300},
        {"KXS,KorvelantQN-470,0,1,C1=30*QQ!", true, "C1", 180},  // out of range: kept
        {"KXS,KorvelantQN-470,0,17,T0=7,T1=8,T2=1f,T3=9*QQ!", true, "T2", 0x1f},
        {"KXS,KorvelantQN-470,0,18,U0=65000,U1=2,U2=0a*QQ!", true, "U0", 65000},
        {"KXS,KorvelantQN-470,2,70,Z0=1,Z1=2,Z2=3,Z3=ff,Z4=21,Z5=0000000001,S4=1*QQ!", true, "Z3",
         0x7f},
        {"KXS,OtherDevice,0,1,C1=300*QQ!", false, "C1", 180},
        {"KXs,KorvelantQN-470,0,1,C1=300*QQ!", false, "C1", 180},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        ParameterSet set = defaults();
        EXPECT_EQ(applySetLine(c.line, set), c.applied);
        EXPECT_EQ(readNumber(set, c.code), c.value);
    }
}

TEST(PositionSentence, CarriesTimeDateAndItsChecksum) {
    const std::string sentence = positionSentence(1700000000);  // 2023-11-14 22:13:20 UTC
    EXPECT_TRUE(sentence.starts_with("$GPRMC,221320.00,A,")) << sentence;
    EXPECT_NE(sentence.find(",141123,"), std::string::npos) << sentence;
    const std::size_t star = sentence.rfind('*');
    ASSERT_EQ(star, sentence.size() - 3);
    unsigned x = 0;
    for (std::size_t i = 1; i < star; ++i) {
        x ^= static_cast<unsigned char>(sentence[i]);
    }
    EXPECT_EQ(std::stoul(sentence.substr(star + 1), nullptr, 16), x);
}

// The client's end of the simulator's terminal, opened with plain descriptors.
class PortEnd {
public:
    explicit PortEnd(const QString& devicePath) {
        m_fd = ::open(devicePath.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    }
    ~PortEnd() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    PortEnd(const PortEnd&) = delete;
    PortEnd& operator=(const PortEnd&) = delete;

    bool ok() const { return m_fd >= 0; }
    bool gone() const { return m_gone; }
    const QByteArray& data() const { return m_data; }

    bool write(const QByteArray& bytes) {
        qsizetype done = 0;
        QElapsedTimer clock;
        clock.start();
        while (done < bytes.size() && clock.elapsed() < 5000) {
            const ssize_t n = ::write(m_fd, bytes.constData() + done, bytes.size() - done);
            if (n > 0) {
                done += n;
            } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
                return false;
            } else {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            }
        }
        return done == bytes.size();
    }

    void poll() {
        char buffer[1024];
        for (;;) {
            const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
            if (n > 0) {
                m_data.append(buffer, n);
            } else {
                m_gone = m_gone || n == 0 || (errno != EAGAIN && errno != EINTR);
                return;
            }
        }
    }

    // Complete lines received so far, without CR LF.
    std::vector<std::string> lines() const {
        std::vector<std::string> out;
        const std::string all = m_data.toStdString();
        std::size_t start = 0;
        for (std::size_t end; (end = all.find("\r\n", start)) != std::string::npos;
             start = end + 2) {
            out.push_back(all.substr(start, end - start));
        }
        return out;
    }

    int countLinesWith(std::string_view text) const {
        int n = 0;
        for (const std::string& line : lines()) {
            n += line.find(text) != std::string::npos ? 1 : 0;
        }
        return n;
    }

    // Lets the event loop run until pred holds or the time is up.
    bool waitFor(const std::function<bool()>& pred, int ms = 5000) {
        return QTest::qWaitFor(
            [&] {
                poll();
                return pred();
            },
            ms);
    }

private:
    int m_fd = -1;
    bool m_gone = false;
    QByteArray m_data;
};

QByteArray bytes(std::string_view text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

std::vector<std::string> withoutLineEnds(const std::vector<std::string>& lines) {
    std::vector<std::string> out;
    for (const std::string& line : lines) {
        out.push_back(line.substr(0, line.size() - kLineEnd.size()));
    }
    return out;
}

SimulatorOptions fastOptions() {
    SimulatorOptions options;
    options.fast = true;
    options.rtcIntervalMs = 0;
    return options;
}

#define START_OR_SKIP(sim)                                                           \
    if (!(sim).start()) {                                                            \
        GTEST_SKIP() << "no pseudo-terminal: " << (sim).errorString().toStdString(); \
    }

TEST(TrackerSimulator, AnswersTheLoadCommandWithTheWholeReport) {
    TrackerSimulator sim(fastOptions());
    START_OR_SKIP(sim);
    EXPECT_EQ(sim.friendlyName(), "Prolific simulator (" + sim.portName() + ")");
    EXPECT_TRUE(sim.portName().startsWith("pts/"));
    PortEnd port(sim.devicePath());
    ASSERT_TRUE(port.ok());

    const std::vector<std::string> expected = withoutLineEnds(buildReport(sim.parameters()));
    ASSERT_TRUE(port.write(bytes(loadCommand())));
    ASSERT_TRUE(port.waitFor([&] { return port.lines().size() >= expected.size(); }));
    EXPECT_EQ(port.lines(), expected);

    std::vector<std::string> received;
    for (const std::string& line : port.lines()) {
        received.push_back(line + "\r\n");
    }
    const ReportCheck check = decodeReport(received);
    EXPECT_EQ(check.completedAtLine, static_cast<int>(received.size()) - 1);
    expectSameDecodedValues(sim.parameters(), check.decoded);
    EXPECT_EQ(sim.linesReceived(), 1);
    EXPECT_EQ(sim.reportsSent(), 1);
    EXPECT_EQ(sim.linesSent(), static_cast<int>(expected.size()));
}

TEST(TrackerSimulator, AppliesTheSetLinesOfASave) {
    TrackerSimulator sim(fastOptions());
    START_OR_SKIP(sim);
    PortEnd port(sim.devicePath());
    ASSERT_TRUE(port.ok());

    ParameterSet changed = defaults();
    writeNumber(changed, "C1", 300);
    writeNumber(changed, "O6", -43200);
    writeNumber(changed, "SJ", 0x000a);
    writeNumber(changed, "Re", 1);
    writeNumber(changed, "T0", 77);
    writeNumber(changed, "U2", 0xc4);
    writeNumber(changed, "Z4", 0x21);
    writeText(changed, "BA", "00Changed$6,$1 text");
    writeText(changed, "O3", "SPRX*U!");
    QByteArray all;
    int lines = 0;
    for (const std::string& text : setLines(changed)) {
        QByteArray line = bytes(text);
        // A tracker takes a lone LF as a line end too.
        if (++lines % 2 == 0 && line.endsWith("\r\n")) {
            line.remove(line.size() - 2, 1);
        }
        all += line;
    }
    ASSERT_TRUE(port.write(all));
    ASSERT_TRUE(port.waitFor([&] { return sim.setLinesApplied() == kEncodedBlockCount; }));
    for (const Parameter& p : allParameters()) {
        if (carriedBySeries(p)) {
            EXPECT_EQ(show(changed, p), show(sim.parameters(), p)) << p.code;
        }
    }
    EXPECT_TRUE(port.lines().empty()) << "a tracker does not answer set lines";
}

TEST(TrackerSimulator, PositionSentencesFollowTheTransmissionSwitch) {
    SimulatorOptions options = fastOptions();
    options.rtcIntervalMs = 20;
    options.positionIntervalMs = 20;
    TrackerSimulator sim(options);
    START_OR_SKIP(sim);
    PortEnd port(sim.devicePath());
    ASSERT_TRUE(port.ok());

    ASSERT_TRUE(port.waitFor([&] { return port.countLinesWith("RTC_Counter") >= 2; }));
    EXPECT_EQ(port.countLinesWith("$GP"), 0);

    ASSERT_TRUE(port.write(bytes(kTransmissionOnLine)));
    ASSERT_TRUE(port.waitFor([&] { return port.countLinesWith("$GPRMC,") >= 3; }));
    EXPECT_TRUE(sim.transmissionOn());
    for (const std::string& line : port.lines()) {
        if (line.starts_with("$GP")) {
            EXPECT_EQ(line.substr(line.size() - 2), sentenceChecksum(line)) << line;
        }
    }

    ASSERT_TRUE(port.write(bytes(kTransmissionOffLine)));
    ASSERT_TRUE(port.waitFor([&] { return !sim.transmissionOn(); }));
    port.waitFor([] { return false; }, 50);  // a sentence sent just before may still be on its way
    const int sentences = port.countLinesWith("$GP");
    const int rtc = port.countLinesWith("RTC_Counter");
    ASSERT_TRUE(port.waitFor([&] { return port.countLinesWith("RTC_Counter") >= rtc + 3; }));
    EXPECT_EQ(port.countLinesWith("$GP"), sentences);
}

TEST(TrackerSimulator, FailureModes) {
    const int reportLines = static_cast<int>(buildReport(defaults()).size());
    const struct {
        const char* name;
        std::function<void(SimulatorOptions&)> set;
        int expectedLines;  // complete lines the client gets
        bool unplugged;
    } cases[] = {
        {"silent", [](SimulatorOptions& o) { o.silent = true; }, 0, false},
        {"drop line 3", [](SimulatorOptions& o) { o.dropReportLine = 3; }, reportLines - 1, false},
        {"drop last line", [&](SimulatorOptions& o) { o.dropReportLine = reportLines; },
         reportLines - 1, false},
        // The lines written before the unplug may be lost with the terminal.
        {"unplug after 5", [](SimulatorOptions& o) { o.unplugAfterLines = 5; }, 4, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatorOptions options = fastOptions();
        c.set(options);
        TrackerSimulator sim(options);
        START_OR_SKIP(sim);
        PortEnd port(sim.devicePath());
        ASSERT_TRUE(port.ok());
        int unplugs = 0;
        QObject::connect(&sim, &TrackerSimulator::unplugged, [&] { ++unplugs; });

        ASSERT_TRUE(port.write(bytes(loadCommand())));
        if (c.unplugged) {
            ASSERT_TRUE(port.waitFor([&] { return port.gone(); }));
            EXPECT_FALSE(sim.isPluggedIn());
            EXPECT_EQ(sim.linesReceived() + sim.linesSent(), options.unplugAfterLines);
        } else {
            // Long enough for a whole report in fast mode.
            port.waitFor([] { return false; }, 200);
        }
        if (c.unplugged) {
            EXPECT_LE(static_cast<int>(port.lines().size()), c.expectedLines);
        } else {
            EXPECT_EQ(static_cast<int>(port.lines().size()), c.expectedLines);
        }
        EXPECT_EQ(unplugs, c.unplugged ? 1 : 0);
        if (options.dropReportLine > 0) {
            const std::vector<std::string> all = withoutLineEnds(buildReport(sim.parameters()));
            for (const std::string& line : port.lines()) {
                EXPECT_NE(line, all[static_cast<std::size_t>(options.dropReportLine - 1)]);
            }
        }
    }
}

TEST(TrackerSimulator, GarbageNeverStopsItAndEveryReportLineStillArrives) {
    SimulatorOptions options = fastOptions();
    options.garbage = true;
    options.rtcIntervalMs = 5;
    TrackerSimulator sim(options);
    START_OR_SKIP(sim);
    PortEnd port(sim.devicePath());
    ASSERT_TRUE(port.ok());

    // Junk towards the simulator too: NUL bytes, an endless line, lone line ends.
    ASSERT_TRUE(port.write(QByteArray(3000, 'z') + QByteArray(5, '\0') + "\r\r\n\n" +
                           bytes(loadCommand())));
    const std::vector<std::string> report = withoutLineEnds(buildReport(sim.parameters()));
    const std::string last = report.back() + "\r\n";
    ASSERT_TRUE(port.waitFor([&] { return port.data().contains(bytes(last)); }));
    for (const std::string& line : report) {
        EXPECT_TRUE(port.data().contains(bytes(line + "\r\n"))) << line;
    }
    EXPECT_TRUE(port.data().contains(QByteArray(3, '\0')));
    EXPECT_TRUE(port.data().contains(QByteArray(300, 'a') + "\r\n") ||
                port.data().contains(QByteArray(300, 'b') + "\r\n"));
    EXPECT_EQ(sim.reportsSent(), 1);
    EXPECT_TRUE(sim.isPluggedIn());
}

TEST(TrackerSimulator, PacesAtItsBaudRate) {
    SimulatorOptions options = fastOptions();
    options.fast = false;
    options.baudRate = 230400;  // 23040 bytes per second
    TrackerSimulator sim(options);
    START_OR_SKIP(sim);
    PortEnd port(sim.devicePath());
    ASSERT_TRUE(port.ok());

    qsizetype reportBytes = 0;
    for (const std::string& line : buildReport(sim.parameters())) {
        reportBytes += static_cast<qsizetype>(line.size());
    }
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(port.write(bytes(loadCommand())));
    ASSERT_TRUE(port.waitFor([&] { return port.data().size() >= reportBytes; }));
    const double expectedMs = reportBytes * 1000.0 / 23040;
    EXPECT_GE(clock.elapsed(), expectedMs * 0.8);
    EXPECT_LE(clock.elapsed(), expectedMs * 3 + 500);
}

TEST(TrackerSimulator, UnplugAndReplug) {
    TrackerSimulator sim(fastOptions());
    START_OR_SKIP(sim);
    {
        PortEnd port(sim.devicePath());
        ASSERT_TRUE(port.ok());
        sim.unplug();
        EXPECT_TRUE(sim.portName().isEmpty());
        EXPECT_TRUE(port.waitFor([&] { return port.gone(); }));
    }
    ASSERT_TRUE(sim.replug()) << sim.errorString().toStdString();
    PortEnd port(sim.devicePath());
    ASSERT_TRUE(port.ok());
    ASSERT_TRUE(port.write(bytes(loadCommand())));
    EXPECT_TRUE(port.waitFor([&] { return port.countLinesWith(",Z4=") == 1; }));
}

// The path the tool takes: QSerialPort, closed and opened again on the same terminal.
TEST(TrackerSimulator, ServesASerialPortThatIsReopened) {
    TrackerSimulator sim(fastOptions());
    START_OR_SKIP(sim);
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        QSerialPort port(sim.portName());
        port.setBaudRate(115200);
        ASSERT_TRUE(port.open(QIODevice::ReadWrite)) << port.errorString().toStdString();
        QByteArray received;
        QObject::connect(&port, &QSerialPort::readyRead, [&] { received += port.readAll(); });
        port.write(bytes(loadCommand()));
        EXPECT_TRUE(QTest::qWaitFor([&] { return received.contains(",Z4="); }, 5000));
        EXPECT_TRUE(received.startsWith("KXs,")) << received.left(40).toStdString();
        port.close();
    }
    EXPECT_EQ(sim.reportsSent(), 2);
}

bool finished(QProcess& process, int ms = 10000) {
    return QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, ms);
}

bool simCommandAvailable() {
    QProcess help;
    help.start(QStringLiteral(QN470_CLI), {"sim", "--help"});
    return finished(help) && help.exitStatus() == QProcess::NormalExit && help.exitCode() == 0;
}

// qn470 sim as a process: port name first, a dump on SIGTERM, one-line errors for bad options.
TEST(SimCommand, RunsUntilTerminatedAndDumpsWhatItHolds) {
    if (!simCommandAvailable()) {
        GTEST_SKIP() << "qn470 sim is not available in this build";
    }
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString dump = dir.filePath("held.pro");
    QProcess sim;
    sim.start(QStringLiteral(QN470_CLI), {"sim", "--fast", "--dump", dump});
    ASSERT_TRUE(QTest::qWaitFor([&] { return sim.canReadLine(); }, 10000));
    const QString portName = QString::fromLocal8Bit(sim.readLine()).trimmed();
    ASSERT_TRUE(QTest::qWaitFor([&] { return sim.canReadLine(); }, 5000));
    EXPECT_EQ(QString::fromLocal8Bit(sim.readLine()).trimmed(),
              "Prolific simulator (" + portName + ")");

    PortEnd port("/dev/" + portName);
    ASSERT_TRUE(port.ok()) << portName.toStdString();
    ParameterSet changed = defaults();
    writeNumber(changed, "C1", 444);
    ASSERT_TRUE(port.write(bytes(setLines(changed)[1])));
    ASSERT_TRUE(port.write(bytes(loadCommand())));
    ASSERT_TRUE(port.waitFor([&] { return port.countLinesWith(",Z4=") == 1; }));

    sim.terminate();  // SIGTERM
    ASSERT_TRUE(finished(sim));
    EXPECT_EQ(sim.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(sim.exitCode(), 0);
    ParameterSet dumped;
    ASSERT_TRUE(readProfile(dump.toStdString(), dumped).ok);
    EXPECT_EQ(readNumber(dumped, "C1"), 444);
}

TEST(SimCommand, BadOptionsExitWithOneLineNamingTheProblem) {
    if (!simCommandAvailable()) {
        GTEST_SKIP() << "qn470 sim is not available in this build";
    }
    const struct {
        QStringList args;
        const char* named;
    } cases[] = {
        {{"--baud", "fast"}, "--baud"},
        {{"--baud", "10"}, "--baud"},
        {{"--unplug-after"}, "--unplug-after"},
        {{"--drop-line", "0"}, "--drop-line"},
        {{"--rtc-interval-ms=-1"}, "--rtc-interval-ms"},
        {{"--loud"}, "--loud"},
        {{"--fast=1"}, "--fast"},
        {{"--profile", "/nonexistent/x.pro"}, "/nonexistent/x.pro"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        QProcess sim;
        sim.start(QStringLiteral(QN470_CLI), QStringList{"sim"} + c.args);
        ASSERT_TRUE(finished(sim));
        EXPECT_EQ(sim.exitCode(), 2);
        const QString error = QString::fromLocal8Bit(sim.readAllStandardError());
        EXPECT_EQ(error.count('\n'), 1) << error.toStdString();
        EXPECT_TRUE(error.contains(c.named)) << error.toStdString();
        EXPECT_TRUE(sim.readAllStandardOutput().isEmpty());
    }
}

}  // namespace
}  // namespace qn470
