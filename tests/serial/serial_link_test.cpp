// SPDX-License-Identifier: Apache-2.0
#include "serial/serial_link.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "serial/pty_master.h"
#include "support/case_name.h"

namespace qn470 {
namespace {

using test::PtyMaster;

class SerialLinkOnPty : public testing::Test {
protected:
    void SetUp() override {
        if (!m_pty.ok()) {
            GTEST_SKIP() << "no pseudo-terminal: " << m_pty.error().toStdString();
        }
        ASSERT_TRUE(m_link.open(m_pty.portName(), 115200)) << m_pty.portName().toStdString();
    }

    // Sends from the tracker's side and waits until the link has delivered `lines` more lines.
    void send(const QByteArray& data, int lines) {
        const qsizetype target = m_received.count() + lines;
        ASSERT_TRUE(m_pty.write(data));
        ASSERT_TRUE(QTest::qWaitFor([&] { return m_received.count() >= target; }, 3000))
            << "got " << m_received.count() << " of " << target << " lines";
    }

    QByteArrayList receivedLines() const {
        QByteArrayList lines;
        for (const QList<QVariant>& args : m_received) {
            lines.append(args.at(0).toByteArray());
        }
        return lines;
    }

    PtyMaster m_pty;
    CSerialLink m_link;
    QSignalSpy m_received{&m_link, &CSerialLink::lineReceived};
};

TEST_F(SerialLinkOnPty, DeliversLinesInOrderAndLogsThem) {
    QSignalSpy appended(&m_link, &CSerialLink::receiveLogAppended);
    send("KXs,1,A0=1*00\r\nKXs,2", 1);
    send(",B1=2*00\r\n\r\n", 2);
    EXPECT_EQ(receivedLines(), (QByteArrayList{"KXs,1,A0=1*00", "KXs,2,B1=2*00", ""}));
    EXPECT_EQ(m_link.receiveLog(), QString("KXs,1,A0=1*00\r\nKXs,2,B1=2*00\r\n\r\n"));
    ASSERT_EQ(appended.count(), 3);
    EXPECT_EQ(appended.at(1).at(0).toString(), QString("KXs,2,B1=2*00\r\n"));
    EXPECT_FALSE(m_link.normalModeSeen());
}

struct LineRule {
    const char* line;
    bool logged;
    bool normalMode;
};

class SerialLinkLineRules : public SerialLinkOnPty, public testing::WithParamInterface<LineRule> {};

TEST_P(SerialLinkLineRules, LogAndNormalMode) {
    const LineRule rule = GetParam();
    send(QByteArray(rule.line) + "\r\n", 1);
    EXPECT_EQ(receivedLines(), QByteArrayList{rule.line});
    EXPECT_EQ(m_link.receiveLog(), rule.logged ? QString(rule.line) + "\r\n" : QString());
    EXPECT_EQ(m_link.normalModeSeen(), rule.normalMode);
}

INSTANTIATE_TEST_SUITE_P(Serial, SerialLinkLineRules,
                         testing::Values(LineRule{"$GPRMC,123519,A,4807.038,N", false, true},
                                         LineRule{"noise$GPGGA", false, true},
                                         LineRule{"RTC_Counter=1234", true, true},
                                         LineRule{"rtc_counter=1234", true, false},
                                         LineRule{"$GNRMC,123519", true, false},
                                         LineRule{"KXs,KorvelantQN-470,1,A0=1*3F", true, false}),
                         [](const auto& info) { return caseName(info.param.line); });

TEST_F(SerialLinkOnPty, NormalModeStaysSetAndBytesPassUnchanged) {
    send("RTC_Counter=1\r\n", 1);
    send("caf\xe9\x01\r\n", 1);
    EXPECT_TRUE(m_link.normalModeSeen());
    EXPECT_EQ(receivedLines().last(), QByteArray("caf\xe9\x01"));
    EXPECT_TRUE(m_link.receiveLog().endsWith(QString::fromLatin1("caf\xe9\x01\r\n")));
}

TEST_F(SerialLinkOnPty, LogIsEmptiedByTheLine778AndStartsWithIt) {
    QSignalSpy cleared(&m_link, &CSerialLink::receiveLogCleared);
    QByteArray burst;
    for (int i = 1; i <= 777; ++i) {
        burst += "line" + QByteArray::number(i) + "\r\n";
        if (i % 100 == 0) {
            burst += "$GPGSV,not logged\r\n";  // position sentences do not count
        }
    }
    send(burst, 777 + 7);
    EXPECT_EQ(cleared.count(), 0);
    EXPECT_EQ(m_link.receiveLog().count("\r\n"), 777);
    EXPECT_TRUE(m_link.receiveLog().startsWith("line1\r\n"));

    send("line778\r\n", 1);
    EXPECT_EQ(cleared.count(), 1);
    EXPECT_EQ(m_link.receiveLog(), QString("line778\r\n"));

    // The log never holds more than 777 lines: the next emptying comes 777 lines later.
    QByteArray more;
    for (int i = 779; i <= 1554; ++i) {
        more += "line" + QByteArray::number(i) + "\r\n";
    }
    send(more, 776);
    EXPECT_EQ(cleared.count(), 1);
    send("line1555\r\n", 1);
    EXPECT_EQ(cleared.count(), 2);
    EXPECT_EQ(m_link.receiveLog(), QString("line1555\r\n"));
}

TEST_F(SerialLinkOnPty, WritesReachTheTracker) {
    const QByteArray command = "KXC,KorvelantQN-470,LO(0)*QQ!\r\n";
    ASSERT_TRUE(m_link.write(command));
    QByteArray seen;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            seen += m_pty.readAvailable();
            return seen.size() >= command.size();
        },
        3000));
    EXPECT_EQ(seen, command);
}

TEST_F(SerialLinkOnPty, ReopenDropsUnfinishedTailButKeepsLog) {
    send("first\r\nunfinished", 1);
    m_link.close();
    EXPECT_FALSE(m_link.isOpen());
    EXPECT_FALSE(m_link.write("x"));
    ASSERT_TRUE(m_link.reopen(9600));
    EXPECT_EQ(m_link.baudRate(), 9600);
    EXPECT_EQ(m_link.portName(), m_pty.portName());
    send("second\r\n", 1);
    EXPECT_EQ(receivedLines(), (QByteArrayList{"first", "second"}));
    EXPECT_EQ(m_link.receiveLog(), QString("first\r\nsecond\r\n"));
}

TEST_F(SerialLinkOnPty, UnplugIsHandledOnceWithoutSpinning) {
    QSignalSpy lost(&m_link, &CSerialLink::deviceLost);
    auto* port = m_link.findChild<QSerialPort*>();
    ASSERT_NE(port, nullptr);
    QSignalSpy portErrors(port, &QSerialPort::errorOccurred);
    m_link.setConnected(true);
    send("before\r\n", 1);

    m_pty.closeMaster();
    ASSERT_TRUE(lost.wait(2000));
    EXPECT_FALSE(m_link.isOpen());
    EXPECT_TRUE(m_link.connected());
    EXPECT_FALSE(m_link.write("x"));

    // A port left open on a vanished terminal reports errors in a tight loop; closed, it has
    // nothing left to wake the event loop with (the CPU it takes: qn470_device_bench unplug).
    EXPECT_FALSE(port->isOpen());
    const qsizetype errorsAfterLoss = portErrors.count();
    QTest::qWait(300);
    EXPECT_EQ(lost.count(), 1);
    EXPECT_EQ(portErrors.count(), errorsAfterLoss);
    EXPECT_LE(errorsAfterLoss, 2);
}

TEST(SerialLink, RefusesWhatCannotBeOpened) {
    CSerialLink link;
    EXPECT_FALSE(link.open("ttyQN470none", 115200));
    EXPECT_FALSE(link.isOpen());
    EXPECT_EQ(link.portName(), QString("ttyQN470none"));
    EXPECT_FALSE(link.open("", 115200));

    PtyMaster pty;
    if (pty.ok()) {
        EXPECT_FALSE(link.open(pty.portName(), 0));  // a baud box holding "abc"
        EXPECT_FALSE(link.open(pty.portName(), -9600));
        EXPECT_FALSE(link.isOpen());
    }
}

}  // namespace
}  // namespace qn470
