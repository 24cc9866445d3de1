// SPDX-License-Identifier: Apache-2.0
// The device operations against a bare pseudo-terminal whose other end the test plays: exact
// bytes on the wire, the status texts, the counter and completion rules, the save's pacing.

#include "session/device_session.h"

#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSerialPort>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <cstring>

#include "config/command_line.h"
#include "config/default_profile.h"
#include "config/parameter_value.h"
#include "config/report_completeness.h"
#include "config/report_decoder.h"
#include "serial/pty_master.h"
#include "serial/serial_link.h"
#include "session/file_operations.h"
#include "session/scripted_prompter.h"
#include "session/status_texts.h"
#include "sim/report_builder.h"

namespace qn470 {
namespace {

using test::PtyMaster;
using test::ScriptedPrompter;

ParameterSet defaults() {
    ParameterSet set;
    EXPECT_TRUE(loadDefaultProfile(set).ok);
    return set;
}

QString latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// A report line carrying items; counts 1, or 50 with Z4.
QByteArray reportLine(int number, const QByteArray& items) {
    return "KXs,KorvelantQN-470,1," + QByteArray::number(number) + "," + items + "*00!\r\n";
}

// The non-empty slots of a table, concatenated in sending order.
QByteArray tableBytes(const SetCommandTable& table) {
    QByteArray bytes;
    for (const LineSlot& slot : table.lines) {
        bytes += QByteArray::fromStdString(slot.line);
    }
    return bytes;
}

// The slot line that carries code=, or empty.
std::string slotWith(const SetCommandTable& table, const std::string& code) {
    for (const LineSlot& slot : table.lines) {
        if (slot.line.find("," + code + "=") != std::string::npos) {
            return slot.line;
        }
    }
    return {};
}

class SessionFixture : public testing::Test {
protected:
    SessionFixture() {
        m_session.setPageHooks({[this] {
                                    ++m_stores;
                                    return StoreResult{};
                                },
                                [this](RecordSource source) { m_loads.push_back(source); }});
    }

    QStringList statuses() const {
        QStringList texts;
        for (const QList<QVariant>& args : m_statuses) {
            texts.append(args.at(0).toString());
        }
        return texts;
    }

    ParameterSet m_set = defaults();
    CSerialLink m_link;
    ScriptedPrompter m_prompter;
    DeviceSession m_session{m_set, m_link, m_prompter};
    int m_stores = 0;
    std::vector<RecordSource> m_loads;
    QSignalSpy m_statuses{&m_session, &DeviceSession::statusChanged};
    QSignalSpy m_finished{&m_session, &DeviceSession::operationFinished};
};

// Every command with the link closed: its status lines in order, nothing else happens.
struct ClosedCase {
    const char* name;
    std::function<bool(DeviceSession&)> command;
    QStringList expected;
    const char* box = nullptr;  // how the one message box (caption "Error") starts, if any
};

class ClosedLink : public SessionFixture, public testing::WithParamInterface<ClosedCase> {};

TEST_P(ClosedLink, ShowsItsStatusAndChangesNothing) {
    const ParameterSet before = m_set;
    EXPECT_FALSE(GetParam().command(m_session));
    EXPECT_EQ(statuses(), GetParam().expected);
    EXPECT_EQ(m_session.statusText(), GetParam().expected.back());
    EXPECT_EQ(std::memcmp(&before, &m_set, sizeof before), 0);
    EXPECT_FALSE(m_session.isBusy());
    EXPECT_EQ(m_stores, 0);
    if (GetParam().box == nullptr) {
        EXPECT_TRUE(m_prompter.messages.empty());
    } else {
        ASSERT_EQ(m_prompter.messages.size(), 1u);
        EXPECT_EQ(m_prompter.messages[0].caption, QString("Error"));
        EXPECT_TRUE(m_prompter.messages[0].text.startsWith(GetParam().box))
            << m_prompter.messages[0].text.toStdString();
    }
    EXPECT_FALSE(m_link.isOpen());
}

const QString kNotOpen = status::kNotOpen;
const QString kNotNormal = status::kNotNormalMode;

INSTANTIATE_TEST_SUITE_P(
    Session, ClosedLink,
    testing::Values(
        ClosedCase{"Send",
                   [](DeviceSession& s) { return s.sendCommandLine("AT"); },
                   {"FAIL !! Serial port is not open.\r\n"}},
        ClosedCase{"SwitchOn",
                   [](DeviceSession& s) { return s.sendTransmissionSwitch(true); },
                   {"FAIL ! Serial port is not open.\r\n"}},
        ClosedCase{"SwitchOff",
                   [](DeviceSession& s) { return s.sendTransmissionSwitch(false); },
                   {"FAIL ! Serial port is not open.\r\n"}},
        ClosedCase{"Load",
                   [](DeviceSession& s) { return s.loadFromDevice(); },
                   {kNotOpen, "FAIL ! Not Normal mode or serial port error.\r\n"}},
        ClosedCase{
            "Save", [](DeviceSession& s) { return s.saveToDevice(); }, {kNotOpen, kNotNormal}},
        ClosedCase{
            "NoMatchWord",
            [](DeviceSession& s) { return s.connectDevice("USB Serial (ttyUSB0)", "115200"); },
            {"Not STM serial port!\r\n"}},
        ClosedCase{"EmptyList",
                   [](DeviceSession& s) { return s.connectDevice("", "115200"); },
                   {"Not STM serial port!\r\n"}},
        ClosedCase{
            "NoSuchPort",
            [](DeviceSession& s) { return s.connectDevice("Prolific USB (ttyQN999)", "115200"); },
            {"serial port is open fail.\r\n"},
            "/dev/ttyQN999 does not exist: the adapter is not plugged in"},
        ClosedCase{"NoParentheses",
                   [](DeviceSession& s) { return s.connectDevice("Prolific USB", "115200"); },
                   {"serial port is open fail.\r\n"}},
        ClosedCase{"Stop",
                   [](DeviceSession& s) {
                       s.disconnectDevice();
                       return false;
                   },
                   {"COM port is Close.\r\n"}}),
    [](const testing::TestParamInfo<ClosedCase>& info) { return info.param.name; });

// Why a connection failed, as the value the command-line tool acts on.
TEST_F(SessionFixture, AFailedConnectionSaysWhyAsAValue) {
    m_session.setOpenFailureBox(false);
    using Failure = DeviceSession::ConnectFailure;
    const struct {
        const char* list;
        const char* baud;
        Failure expected;
    } cases[] = {
        {"USB Serial (ttyUSB0)", "115200", Failure::NotTrackerPort},
        {"", "115200", Failure::NotTrackerPort},
        {"Prolific USB", "115200", Failure::BadPortName},
        {"Prolific USB (ttyQN9999999)", "115200", Failure::BadPortName},
        {"Prolific USB (ttyQN999)", "115200", Failure::OpenFailed},
        {"Prolific USB (ttyQN999)", "abc", Failure::BadBaud},
        // The rates qn470 --baud refuses are refused here too, before the port is touched.
        {"Prolific USB (ttyQN999)", "11520", Failure::BadBaud},
        {"Prolific USB (ttyQN999)", "115201", Failure::BadBaud},
        {"Prolific USB (ttyQN999)", "-9600", Failure::BadBaud},
        {"Prolific USB (ttyQN999)", "9600", Failure::OpenFailed},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(m_session.connectDevice(QString::fromLatin1(c.list), c.baud));
        EXPECT_EQ(m_session.lastConnectFailure(), c.expected) << c.list << " at " << c.baud;
    }
}

// The rest runs over a pseudo-terminal; the test writes the tracker's side.
class SessionOnPty : public SessionFixture {
protected:
    void SetUp() override {
        if (!m_pty.ok()) {
            GTEST_SKIP() << "no pseudo-terminal: " << m_pty.error().toStdString();
        }
        m_session.setSaveInterval(0);
        ASSERT_TRUE(m_session.connectDevice(entry(), "115200"));
        m_statuses.clear();
    }

    QString entry() const { return "Prolific simulator (" + m_pty.portName() + ")"; }

    // Sends tracker lines and waits until the link has delivered them.
    void tracker(const QByteArray& data) {
        const qsizetype target = m_received.count() + data.count('\n');
        ASSERT_TRUE(m_pty.write(data));
        ASSERT_TRUE(QTest::qWaitFor([&] { return m_received.count() >= target; }, 3000));
    }

    // Everything the session wrote, once it stopped writing.
    QByteArray wire() {
        QByteArray data;
        for (int quiet = 0; quiet < 3;) {
            QTest::qWait(10);
            const QByteArray more = m_pty.readAvailable();
            quiet = more.isEmpty() ? quiet + 1 : 0;
            data += more;
        }
        return data;
    }

    // A real event loop (qWaitFor sleeps 10 ms between looks, which would pace a fast save).
    bool waitFinished(int count = 1, int ms = 5000) {
        QElapsedTimer clock;
        clock.start();
        while (m_finished.count() < count && clock.elapsed() < ms) {
            m_finished.wait(static_cast<int>(ms - clock.elapsed()));
        }
        return m_finished.count() >= count;
    }
    bool lastSuccess() const { return m_finished.last().at(1).toBool(); }

    PtyMaster m_pty;
    QSignalSpy m_received{&m_link, &CSerialLink::lineReceived};
};

TEST_F(SessionOnPty, StartAndStop) {
    EXPECT_TRUE(m_session.isConnected());
    QSignalSpy changed(&m_session, &DeviceSession::connectionChanged);
    EXPECT_TRUE(m_session.toggleConnection(entry(), "115200"));
    EXPECT_EQ(statuses(), QStringList{"COM port is Close.\r\n"});
    EXPECT_FALSE(m_link.isOpen());
    EXPECT_FALSE(m_session.isConnected());
    ASSERT_EQ(changed.count(), 1);
    EXPECT_FALSE(changed.at(0).at(0).toBool());

    // The baud box is read like atoi: " +9600" opens at 9600, "abc" is 0 and refused.
    EXPECT_TRUE(m_session.toggleConnection(entry(), " +9600 baud"));
    EXPECT_EQ(m_session.statusText(), QString("serial port is open success.\r\n"));
    EXPECT_EQ(m_link.baudRate(), 9600);
    EXPECT_TRUE(m_link.trackerPortChosen());
    EXPECT_EQ(m_session.lastConnectFailure(), DeviceSession::ConnectFailure::None);
    m_session.disconnectDevice();
    EXPECT_FALSE(m_session.connectDevice(entry(), "abc"));
    EXPECT_EQ(m_session.statusText(), QString("serial port is open fail.\r\n"));
    EXPECT_EQ(m_session.lastConnectFailure(), DeviceSession::ConnectFailure::BadBaud);
    EXPECT_FALSE(m_session.isConnected());
}

// A rate that is not standard opens nothing, and the box says which rates are.
TEST_F(SessionOnPty, ANonStandardRateIsRefusedWithTheStandardOnes) {
    m_session.disconnectDevice();
    m_prompter.messages.clear();
    EXPECT_FALSE(m_session.connectDevice(entry(), "11520"));
    EXPECT_FALSE(m_link.isOpen());
    EXPECT_EQ(m_session.lastConnectFailure(), DeviceSession::ConnectFailure::BadBaud);
    EXPECT_EQ(m_session.statusText(), QString("serial port is open fail.\r\n"));
    ASSERT_EQ(m_prompter.messages.size(), 1u);
    EXPECT_TRUE(m_prompter.messages[0].text.contains("11520"))
        << m_prompter.messages[0].text.toStdString();
    EXPECT_TRUE(m_prompter.messages[0].text.contains(
        "1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400, 460800, 921600"))
        << m_prompter.messages[0].text.toStdString();
}

// The port takes the load command but cannot write it out: the read ends at once with the
// port's reason, not after the idle time with "not complete".
TEST_F(SessionOnPty, ALoadCommandThePortCannotWriteFailsAtOnceWithThePortsReason) {
    const struct {
        const char* name;
        DeviceSession::Operation operation;
    } cases[] = {{"load", DeviceSession::Operation::Load},
                 {"read back", DeviceSession::Operation::ReadBack}};
    // The port's descriptor becomes a socket closed for writing: writes fail with EPIPE.
    const auto previous = std::signal(SIGPIPE, SIG_IGN);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(m_session.connectDevice(entry(), "115200"));
        auto* port = m_link.findChild<QSerialPort*>();
        ASSERT_NE(port, nullptr);
        int pair[2];
        ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, pair), 0);
        ASSERT_EQ(::shutdown(pair[0], SHUT_WR), 0);
        // The port's own close never runs on the swapped descriptor, so its exclusive claim on
        // the terminal would outlive it, and only root could open the terminal again.
        ASSERT_EQ(::ioctl(static_cast<int>(port->handle()), TIOCNXCL), 0);
        ASSERT_GE(::dup2(pair[0], static_cast<int>(port->handle())), 0);
        ::close(pair[0]);
        m_session.setIdleTimeout(600000);  // an idle end would come far too late to count
        const int finishedBefore = static_cast<int>(m_finished.count());
        const bool load = c.operation == DeviceSession::Operation::Load;
        ASSERT_TRUE(load ? m_session.loadFromDevice() : m_session.readBack());
        ASSERT_TRUE(waitFinished(finishedBefore + 1, 30000));
        EXPECT_FALSE(lastSuccess());
        const QString reason = QString::fromLocal8Bit(std::strerror(EPIPE));
        EXPECT_EQ(m_session.failureReason(), "load command not written: " + reason);
        if (load) {
            EXPECT_EQ(m_session.statusText(),
                      "FAIL ! Load data from device is not complete, the load command was not "
                      "written: " +
                          reason + ".\r\n");
        } else {
            EXPECT_EQ(m_session.readBackEnd(), DeviceSession::ReadBackEnd::WriteFailed);
        }
        m_session.disconnectDevice();
        ::close(pair[1]);
    }
    std::signal(SIGPIPE, previous);
}

TEST_F(SessionOnPty, SendWritesTheLineAndShowsIt) {
    const struct {
        QString typed;
        QByteArray onWire;
    } cases[] = {
        {"AT+VER?", "AT+VER?\r\n"},
        {"", "\r\n"},
        {QString(200, 'a'), QByteArray(127, 'a') + "\r\n"},  // cut at 127 characters
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(m_session.sendCommandLine(c.typed));
        EXPECT_EQ(wire(), c.onWire);
        EXPECT_EQ(m_session.statusText(), QString::fromLatin1(c.onWire.chopped(2)));
    }
    EXPECT_TRUE(m_session.sendTransmissionSwitch(true));
    EXPECT_EQ(wire(), QByteArray("KXC,KorvelantQN-470,LO*QQ!\r\n"));
    EXPECT_EQ(m_session.statusText(), QString("KXC,KorvelantQN-470,LO*QQ!"));
    EXPECT_TRUE(m_session.sendTransmissionSwitch(false));
    EXPECT_EQ(wire(), QByteArray("KXC,KorvelantQN-470,LO(0)*QQ!\r\n"));
    EXPECT_EQ(m_session.statusText(), QString("KXC,KorvelantQN-470,LO(0)*QQ!"));
}

TEST_F(SessionOnPty, ClosedAfterNormalModeShowsOnlyNotOpen) {
    tracker("RTC_Counter=1\r\n");
    m_link.close();
    EXPECT_FALSE(m_session.loadFromDevice());
    EXPECT_FALSE(m_session.saveToDevice());
    EXPECT_EQ(statuses(), QStringList({kNotOpen, kNotOpen}));
}

TEST_F(SessionOnPty, LinesOutsideALoadAreDecodedIntoTheRecordAndCounted) {
    const std::string before = slotWith(m_session.lineTable(), "C1");
    ASSERT_NE(before.find(",C1=180"), std::string::npos) << before;

    tracker(reportLine(1, "C1=300") + "RTC_Counter=5\r\n");
    EXPECT_EQ(readNumber(m_set, "C1"), 300);
    EXPECT_EQ(m_session.decodedBlocks(), 1);
    EXPECT_EQ(slotWith(m_session.lineTable(), "C1"), before) << "rebuilt only from 65 on";

    // A send resets the counter.
    m_session.sendCommandLine("x");
    EXPECT_EQ(m_session.decodedBlocks(), 0);
    tracker(reportLine(1, "C1=310"));
    for (int i = 0; i < 13; ++i) {
        tracker(reportLine(2, "A2=7"));
    }
    EXPECT_EQ(m_session.decodedBlocks(), 14);
    EXPECT_EQ(slotWith(m_session.lineTable(), "C1"), before);
    tracker(reportLine(3, "Z4=10"));  // 14 + 50: still short of 65
    EXPECT_EQ(slotWith(m_session.lineTable(), "C1"), before);
    tracker(reportLine(4, "A2=8"));
    EXPECT_EQ(m_session.decodedBlocks(), 65);
    EXPECT_NE(slotWith(m_session.lineTable(), "C1").find(",C1=310"), std::string::npos);
    EXPECT_FALSE(m_session.isBusy());
    EXPECT_TRUE(m_loads.empty()) << "no load ran";
}

TEST_F(SessionOnPty, LoadCompletesAtTheLineThatReaches65) {
    m_session.setRequireAllCodes(false);  // the count rule alone; the codes are tested below
    ASSERT_EQ(ReportDecoder().decode(reportLine(9, "Z4=10").toStdString(), m_set), 50);
    QSignalSpy progress(&m_session, &DeviceSession::progressChanged);
    QSignalSpy range(&m_session, &DeviceSession::progressRangeChanged);
    writeNumber(m_set, "J3", 4);  // not in the report: reset to its default by the load
    const ParameterSet before = m_set;

    ASSERT_TRUE(m_session.loadFromDevice());
    EXPECT_EQ(wire(), QByteArray::fromStdString(loadCommand()));
    EXPECT_EQ(statuses(), QStringList{latin1(loadCommand())});
    ASSERT_EQ(range.count(), 1);
    EXPECT_EQ(range.at(0), (QList<QVariant>{0, 64}));

    tracker(reportLine(1, "C1=300,E0=gps.example.net"));
    for (int i = 2; i <= 14; ++i) {
        tracker(reportLine(i, "A2=9") + "noise without the mark\r\n");
    }
    tracker(reportLine(15, "Z4=20"));
    EXPECT_TRUE(m_session.isBusy()) << "64 is not complete";
    EXPECT_EQ(m_session.decodedBlocks(), 64);
    EXPECT_EQ(progress.last().at(0).toInt(), 64);
    EXPECT_EQ(std::memcmp(&before, &m_set, sizeof before), 0) << "the record waits";

    tracker(reportLine(16, "C2=30"));
    ASSERT_EQ(m_finished.count(), 1);
    EXPECT_TRUE(lastSuccess());
    EXPECT_EQ(m_session.statusText(), QString("Load data from device is complete.\r\n"));
    EXPECT_EQ(readNumber(m_set, "C1"), 300);
    EXPECT_EQ(readText(m_set, "E0"), "gps.example.net");
    EXPECT_EQ(readNumber(m_set, "Z4"), 0x20);  // a hex byte on the wire
    EXPECT_EQ(readNumber(m_set, "C2"), 30);
    EXPECT_EQ(readNumber(m_set, "J3"), readNumber(defaults(), "J3"));
    EXPECT_EQ(m_loads, std::vector<RecordSource>{RecordSource::Device});
    EXPECT_EQ(m_session.decodedBlocks(), 0);
    EXPECT_NE(slotWith(m_session.lineTable(), "C1").find(",C1=300"), std::string::npos);
    EXPECT_TRUE(m_prompter.messages.empty());
}

// A report that reaches the count but misses codes (a dropped line, lines without values) fails
// like an interrupted load and names what is missing; --allow-missing takes it.
TEST_F(SessionOnPty, ALoadWithoutEveryCodeFailsAndNamesTheMissingOnes) {
    ParameterSet held = defaults();  // what the tracker holds
    writeNumber(held, "A2", 9);
    writeNumber(held, "C1", 300);
    writeText(held, "BA", "00Mine");
    const std::vector<std::string> lines = buildReport(held);
    const auto report = [&](const char* droppedCode) {
        QByteArray bytes;
        for (const std::string& line : lines) {
            if (droppedCode == nullptr ||
                line.find(std::string(",") + droppedCode + "=") == std::string::npos) {
                bytes += QByteArray::fromStdString(line);
            }
        }
        return bytes;
    };
    struct Case {
        const char* name;
        QByteArray lines;
        bool requireAll;
        bool success;
        QString status;  // the whole status, or its start and a code it names
        const char* named = nullptr;
    };
    QByteArray empty;
    for (int i = 1; i <= 65; ++i) {
        empty += reportLine(i, "");
    }
    const QString missing = "FAIL ! Load data from device is not complete, ";
    const Case cases[] = {
        {"whole report", report(nullptr), true, true, status::kLoadComplete},
        {"the line with BA dropped", report("BA"), true, false, missing, "codes missing: "},
        {"65 lines without values", empty, true, false,
         missing + QString::number(requiredReportCodes().count()) + " codes missing: A0, A1, PE",
         "and "},
        {"the line with BA dropped, allowed", report("BA"), false, true, status::kLoadComplete},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_set = defaults();
        writeNumber(m_set, "A2", 7);
        const ParameterSet before = m_set;
        m_session.setRequireAllCodes(c.requireAll);
        m_finished.clear();
        ASSERT_TRUE(m_session.loadFromDevice());
        tracker(c.lines);
        ASSERT_TRUE(waitFinished());
        EXPECT_EQ(lastSuccess(), c.success);
        if (c.named == nullptr) {
            EXPECT_EQ(m_session.statusText(), c.status);
        } else {
            EXPECT_TRUE(m_session.statusText().startsWith(c.status))
                << m_session.statusText().toStdString();
            EXPECT_TRUE(m_session.statusText().contains(c.named));
        }
        if (c.success) {
            EXPECT_EQ(readNumber(m_set, "A2"), 9);
            EXPECT_EQ(readNumber(m_set, "C1"), 300);
            EXPECT_EQ(readText(m_set, "BA"), c.requireAll ? "00Mine" : defaultEventText(0))
                << "a default where the dropped line was";
        } else {
            EXPECT_EQ(std::memcmp(&before, &m_set, sizeof before), 0) << "the record stays";
        }
        wire();
    }
}

// What a lenient profile read lets in never reaches the tracker: the save sends nothing.
TEST_F(SessionOnPty, ValuesTheTrackerWouldNotTakeStopTheSave) {
    struct Case {
        const char* code;
        std::string text;  // a number when the code is numeric
        const char* status;
    };
    const Case cases[] = {
        {"C1", "4464",
         "FAIL ! Save Data to device refused, values the tracker would not take: C1=4464 (must "
         "be between 60 and 600).\r\n"},
        {"E0", "host.example,A2=9",
         "FAIL ! Save Data to device refused, values the tracker would not take: "
         "E0=host.example,A2=9 (holds a comma, which would end the value on the tracker).\r\n"},
    };
    for (const Case& c : cases) {
        m_set = defaults();
        if (parameter(c.code).isText()) {
            writeText(m_set, c.code, c.text);
        } else {
            writeNumber(m_set, c.code, std::stoll(c.text));
        }
        EXPECT_FALSE(m_session.saveToDevice()) << c.code;
        EXPECT_EQ(m_session.statusText(), QString::fromLatin1(c.status));
        EXPECT_FALSE(m_session.isBusy());
        EXPECT_EQ(wire(), QByteArray()) << c.code;
    }
}

// A stored profile with problems still loads as it always did, then says what is wrong with it
// in one message; a clean one says nothing.
TEST_F(SessionFixture, LoadFromFileShowsTheProfilesProblemsInOneMessage) {
    QTemporaryDir folder;
    FileOperations files(m_session);
    const QString bad = folder.filePath("bad.pro");
    QFile file(bad);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[QN-470]\r\nC1=70000\r\nZZ=1\r\nA2=9\r\n");
    file.close();
    ASSERT_TRUE(files.readProfileFile(bad));
    EXPECT_EQ(readNumber(m_set, "C1"), 70000 % 65536) << "read the way it always was";
    EXPECT_EQ(readNumber(m_set, "A2"), 9);
    EXPECT_EQ(m_session.statusText(), QString(status::kReadFileSuccess));
    ASSERT_EQ(m_prompter.messages.size(), 1u);
    EXPECT_EQ(m_prompter.messages[0].caption, "Profile problems");
    EXPECT_TRUE(m_prompter.messages[0].text.startsWith("bad.pro was loaded as it stands, but 2 "));
    EXPECT_TRUE(m_prompter.messages[0].text.endsWith(
        "line 2: C1=70000: must be between 60 and 600\nline 3: ZZ=1: no parameter has this "
        "key\n"));

    ASSERT_TRUE(files.writeProfileFile(bad));
    ASSERT_TRUE(files.readProfileFile(bad));
    EXPECT_EQ(m_prompter.messages.size(), 2u) << "4464 is written back as it is held";
    writeNumber(m_set, "C1", 300);
    ASSERT_TRUE(files.writeProfileFile(bad));
    ASSERT_TRUE(files.readProfileFile(bad));
    EXPECT_EQ(m_prompter.messages.size(), 2u) << "a clean profile loads without a word";
}

// How long the idle time really is: qn470_device_bench idle.
TEST_F(SessionOnPty, IdleLoadFailsAndKeepsTheRecord) {
    writeNumber(m_set, "C1", 420);
    const ParameterSet before = m_set;
    // Decoded lines keep the load alive: more of them, each well within the idle time, than
    // the idle time lasts.
    constexpr int kIdleMs = 500;
    constexpr int kGapMs = 50;
    m_session.setIdleTimeout(kIdleMs);
    ASSERT_TRUE(m_session.loadFromDevice());
    for (int i = 1; i <= 2 * kIdleMs / kGapMs; ++i) {
        QTest::qWait(kGapMs);
        tracker(reportLine(i, "C1=500"));
    }
    EXPECT_TRUE(m_session.isBusy());
    EXPECT_TRUE(m_finished.isEmpty());
    // Other lines do not: the load ends while they keep coming.
    for (int i = 0; i < 400 && m_finished.isEmpty(); ++i) {
        tracker("RTC_Counter=1\r\n");
        QTest::qWait(kGapMs);
    }
    ASSERT_EQ(m_finished.count(), 1);
    EXPECT_FALSE(lastSuccess());
    EXPECT_EQ(m_session.statusText(), QString("FAIL ! Load data from device is not complete.\r\n"));
    EXPECT_EQ(std::memcmp(&before, &m_set, sizeof before), 0);
    EXPECT_TRUE(m_loads.empty());
    EXPECT_TRUE(m_prompter.messages.empty());

    // A second load starts from nothing again, and ends alike.
    ASSERT_TRUE(m_session.loadFromDevice());
    ASSERT_TRUE(waitFinished(2));
    EXPECT_FALSE(lastSuccess());
    EXPECT_EQ(std::memcmp(&before, &m_set, sizeof before), 0);
}

TEST_F(SessionOnPty, CancelEndsALoadWithTheRecordUnchanged) {
    const ParameterSet before = m_set;
    ASSERT_TRUE(m_session.loadFromDevice());
    tracker(reportLine(1, "C1=300"));
    m_session.cancel();
    ASSERT_EQ(m_finished.count(), 1);
    EXPECT_FALSE(lastSuccess());
    EXPECT_EQ(m_session.statusText(), QString("FAIL ! Load data from device is not complete.\r\n"));
    EXPECT_TRUE(m_prompter.messages.empty());
    EXPECT_EQ(std::memcmp(&before, &m_set, sizeof before), 0);
    EXPECT_FALSE(m_session.isBusy());
}

TEST_F(SessionOnPty, SaveStoresThePageAndWritesEverySlotInOrder) {
    m_session.setPageHooks({[this] {
                                writeNumber(m_set, "C1", 555);
                                return StoreResult{};
                            },
                            {}});
    QSignalSpy progress(&m_session, &DeviceSession::progressChanged);
    QSignalSpy range(&m_session, &DeviceSession::progressRangeChanged);
    ASSERT_TRUE(m_session.saveToDevice());
    ASSERT_TRUE(waitFinished());
    EXPECT_TRUE(lastSuccess());
    const QByteArray sent = wire();
    EXPECT_EQ(sent, tableBytes(SetCommandEncoder::encode(m_set)));
    EXPECT_EQ(sent.count("\r\n"), kEncodedBlockCount);
    EXPECT_TRUE(sent.contains(",C1=555,"));
    EXPECT_EQ(statuses(), QStringList{"Save Data to device is complete.\r\n"});
    ASSERT_EQ(range.count(), 1);
    EXPECT_EQ(range.at(0), (QList<QVariant>{0, 74}));
    EXPECT_EQ(progress.first().at(0).toInt(), 0);
    EXPECT_EQ(progress.last().at(0).toInt(), 74);
    EXPECT_TRUE(m_prompter.messages.empty());
}

// A page that refuses a field stops each of the three saves before it sends, asks or writes
// anything; the FAIL line names that page's field.
TEST_F(SessionOnPty, ARefusedFieldStopsEverySaveBeforeItStarts) {
    const struct {
        const char* name;
        std::function<bool(DeviceSession&, FileOperations&)> save;
        const char* code;
        const char* status;
    } cases[] = {
        {"device", [](DeviceSession& s, FileOperations&) { return s.saveToDevice(); }, "J9",
         "FAIL ! Save Data to device stopped: the value of J9 was not taken.\r\n"},
        {"file", [](DeviceSession&, FileOperations& f) { return f.saveToFile(); }, "C3",
         "FAIL ! Write to file stopped: the value of C3 was not taken.\r\n"},
        {"bin", [](DeviceSession&, FileOperations& f) { return f.saveToBinFile(); }, "E4",
         "FAIL ! Write to bin file stopped: the value of E4 was not taken.\r\n"},
    };
    QTemporaryDir dir;
    FileOperations files(m_session);
    QSignalSpy started(&m_session, &DeviceSession::operationStarted);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_session.setPageHooks({[&c] { return StoreResult::refused(c.code); }, {}});
        m_prompter.answers.assign({dir.filePath("chosen")});  // a dialog would write this
        m_statuses.clear();
        EXPECT_FALSE(c.save(m_session, files));
        EXPECT_EQ(statuses(), QStringList{c.status});
        EXPECT_TRUE(files.chosenFile().isEmpty());
        EXPECT_FALSE(m_session.isBusy());
    }
    EXPECT_TRUE(wire().isEmpty());
    EXPECT_EQ(started.count(), 0);
    EXPECT_EQ(m_finished.count(), 0);
    EXPECT_TRUE(m_prompter.dialogs.empty());
    EXPECT_TRUE(m_prompter.messages.empty());
    EXPECT_TRUE(QDir(dir.path()).isEmpty());

    // Nothing stays refused once the page takes every field.
    m_session.setPageHooks({[] { return StoreResult{}; }, {}});
    ASSERT_TRUE(m_session.saveToDevice());
    ASSERT_TRUE(waitFinished());
    EXPECT_TRUE(lastSuccess());
    EXPECT_EQ(wire().count("\r\n"), kEncodedBlockCount);
}

// The command-line tool sets no hooks: its saves count every field as taken.
TEST_F(SessionOnPty, WithoutAStoreHookTheSaveGoesOut) {
    m_session.setPageHooks({});
    ASSERT_TRUE(m_session.saveToDevice());
    ASSERT_TRUE(waitFinished());
    EXPECT_TRUE(lastSuccess());
    EXPECT_EQ(statuses(), QStringList{"Save Data to device is complete.\r\n"});
}

// Paced, every line still goes out once and in slot order; the time it takes (one interval per
// written line, none for an empty slot) is qn470_device_bench save.
TEST_F(SessionOnPty, PacedSaveWritesEveryLineInOrder) {
    m_session.setSaveInterval(20);
    ASSERT_TRUE(m_session.saveToDevice());
    ASSERT_TRUE(waitFinished(1, 20000));
    EXPECT_TRUE(lastSuccess());
    const QByteArrayList lines = wire().split('\n');
    ASSERT_EQ(lines.count(), kEncodedBlockCount + 1);  // the part after the last line end
    m_session.setSaveInterval(0);
    ASSERT_TRUE(m_session.saveToDevice());
    ASSERT_TRUE(waitFinished(2));
    EXPECT_EQ(lines, wire().split('\n'));
}

TEST_F(SessionOnPty, WhileASaveRunsOtherCommandsAreRefused) {
    m_session.setSaveInterval(50);
    ASSERT_TRUE(m_session.saveToDevice());
    FileOperations files(m_session);
    EXPECT_FALSE(m_session.saveToDevice());
    EXPECT_FALSE(m_session.loadFromDevice());
    EXPECT_FALSE(m_session.sendCommandLine("x"));
    EXPECT_FALSE(files.loadDefaultProfile());
    EXPECT_TRUE(m_session.isBusy());

    QTest::qWait(120);
    m_session.cancel();
    EXPECT_FALSE(m_session.isBusy());
    EXPECT_EQ(m_session.statusText(), QString("FAIL ! Save Data to device is not complete.\r\n"));
    const int lines = static_cast<int>(wire().count("\r\n"));
    EXPECT_GE(lines, 2);
    EXPECT_LE(lines, 4);
    QTest::qWait(120);
    EXPECT_TRUE(wire().isEmpty()) << "nothing after the cancel";
}

}  // namespace
}  // namespace qn470
