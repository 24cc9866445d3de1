// SPDX-License-Identifier: Apache-2.0
// The device operations end to end: the real serial link on a pseudo-terminal with the tracker
// simulator at its other end, including its failure modes and an unplugged adapter.

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include "config/command_line.h"
#include "config/default_profile.h"
#include "config/parameter_value.h"
#include "serial/device_watcher.h"
#include "serial/serial_link.h"
#include "session/code_comparison.h"
#include "session/device_session.h"
#include "session/scripted_prompter.h"
#include "sim/tracker_simulator.h"
#include "support/set_differences.h"

namespace qn470 {
namespace {

using test::ScriptedPrompter;

// A parameter set unlike the defaults in numbers, signed values, flags, media bytes and texts.
ParameterSet changedSet() {
    ParameterSet set = defaultSet();
    writeNumber(set, "C1", 300);
    writeNumber(set, "O6", -3600);
    writeNumber(set, "J5", -12);
    writeNumber(set, "A0", 0);
    writeNumber(set, "Re", 1);
    writeNumber(set, "CC", 0x3f);
    writeNumber(set, "SJ", 0x0a0b);
    writeNumber(set, "E1", 5050);
    writeText(set, "E0", "gps.example.net");
    writeText(set, "D1", "+4912345678");
    writeText(set, "BA", "00Help$6,$1 now");
    writeText(set, "O3", "SPRX*U!");
    return set;
}

SimulatorOptions quietFast() {
    SimulatorOptions options;
    options.fast = true;
    options.rtcIntervalMs = 0;
    return options;
}

class SessionWithSimulator : public testing::Test {
protected:
    void start(const SimulatorOptions& options, const ParameterSet& trackerSet = changedSet()) {
        m_sim = std::make_unique<TrackerSimulator>(trackerSet, options);
        if (!m_sim->start()) {
            GTEST_SKIP() << "no pseudo-terminal: " << m_sim->errorString().toStdString();
        }
        m_session.setSaveInterval(2);
        ASSERT_TRUE(m_session.connectDevice(m_sim->friendlyName(), "115200"))
            << m_session.statusText().toStdString();
    }

    // A real event loop (qWaitFor sleeps 10 ms between looks, which would pace a fast save).
    bool waitFinished(qsizetype count, int ms) {
        QElapsedTimer clock;
        clock.start();
        while (m_finished.count() < count && clock.elapsed() < ms) {
            m_finished.wait(static_cast<int>(ms - clock.elapsed()));
        }
        return m_finished.count() >= count;
    }

    bool runLoad(int ms = 10000) {
        const qsizetype before = m_finished.count();
        if (!m_session.loadFromDevice()) {
            return false;
        }
        EXPECT_TRUE(waitFinished(before + 1, ms));
        return m_finished.count() > before && m_finished.last().at(1).toBool();
    }

    bool runSave(int ms = 10000) {
        const qsizetype before = m_finished.count();
        if (!m_session.saveToDevice()) {
            return false;
        }
        EXPECT_TRUE(waitFinished(before + 1, ms));
        return m_finished.count() > before && m_finished.last().at(1).toBool();
    }

    std::unique_ptr<TrackerSimulator> m_sim;
    ParameterSet m_set = defaultSet();
    CSerialLink m_link;
    ScriptedPrompter m_prompter;
    DeviceSession m_session{m_set, m_link, m_prompter};
    QSignalSpy m_finished{&m_session, &DeviceSession::operationFinished};
};

TEST_F(SessionWithSimulator, LoadTakesEveryReportedCode) {
    start(quietFast());
    ASSERT_TRUE(runLoad());
    EXPECT_EQ(m_session.statusText(), QString("Load data from device is complete.\r\n"));
    EXPECT_EQ(describe(differingCodes(m_sim->parameters(), m_set, CodeSelection::Reported)), "");
    EXPECT_EQ(m_sim->reportsSent(), 1);
    EXPECT_TRUE(m_prompter.messages.empty());
}

TEST_F(SessionWithSimulator, SaveLeavesTheTrackerHoldingEverySentCode) {
    start(quietFast(), defaultSet());
    m_set = changedSet();
    ASSERT_TRUE(runSave());
    EXPECT_EQ(m_session.statusText(), QString("Save Data to device is complete.\r\n"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_sim->setLinesApplied() == kEncodedBlockCount; }));
    EXPECT_EQ(describe(differingCodes(m_set, m_sim->parameters(), CodeSelection::Sent)), "");

    // And a load reads back what was saved.
    const ParameterSet saved = m_set;
    m_set = defaultSet();
    ASSERT_TRUE(runLoad());
    EXPECT_EQ(describe(differingCodes(saved, m_set, CodeSelection::SentAndReported)), "");
}

TEST_F(SessionWithSimulator, SendAndTheTransmissionSwitch) {
    SimulatorOptions options = quietFast();
    options.positionIntervalMs = 20;
    start(options);
    QSignalSpy received(m_sim.get(), &TrackerSimulator::lineReceived);
    ASSERT_TRUE(m_session.sendCommandLine("AT+PING"));
    ASSERT_TRUE(received.wait(3000));
    EXPECT_EQ(received.last().at(0).toByteArray(), QByteArray("AT+PING"));

    EXPECT_FALSE(m_link.normalModeSeen());
    ASSERT_TRUE(m_session.sendTransmissionSwitch(true));
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_link.normalModeSeen(); }, 3000));
    EXPECT_TRUE(m_sim->transmissionOn());
    EXPECT_FALSE(m_session.receiveLog().contains("$GP")) << "position sentences are not logged";

    ASSERT_TRUE(m_session.sendTransmissionSwitch(false));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_sim->transmissionOn(); }, 3000));
    EXPECT_EQ(m_session.statusText(), QString("KXC,KorvelantQN-470,LO(0)*QQ!"));
}

TEST_F(SessionWithSimulator, SilentTrackerEndsTheLoadByTheIdleRule) {
    SimulatorOptions options = quietFast();
    options.silent = true;
    options.rtcIntervalMs = 20;  // lines keep coming, but none of them is a report
    start(options);
    writeNumber(m_set, "C1", 444);
    const ParameterSet before = m_set;
    m_session.setIdleTimeout(300);
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(runLoad());
    EXPECT_GE(clock.elapsed(), 300);
    EXPECT_EQ(m_session.statusText(), QString("FAIL ! Load data from device is not complete.\r\n"));
    EXPECT_EQ(std::memcmp(&before, &m_set, sizeof before), 0);
    EXPECT_TRUE(m_link.normalModeSeen());
}

TEST_F(SessionWithSimulator, UnplugDuringALoadKeepsTheRecord) {
    SimulatorOptions options = quietFast();
    options.fast = false;  // the unplug comes while the report is still on its way
    options.unplugAfterLines = 6;
    start(options);
    const ParameterSet before = m_set;
    EXPECT_FALSE(runLoad());
    EXPECT_EQ(m_session.statusText(), QString("FAIL ! Load data from device is not complete.\r\n"));
    EXPECT_EQ(m_prompter.messageTexts(), QStringList{"Disconnect device!"});
    EXPECT_EQ(m_prompter.messages[0].caption, QString("Error"));
    EXPECT_EQ(std::memcmp(&before, &m_set, sizeof before), 0);
    EXPECT_FALSE(m_link.isOpen());
    EXPECT_TRUE(m_session.isConnected());
}

TEST_F(SessionWithSimulator, UnplugDuringASaveAndTheNextSaveStartsAgain) {
    SimulatorOptions options = quietFast();
    options.unplugAfterLines = 12;
    start(options, defaultSet());
    m_session.setSaveInterval(10);
    m_set = changedSet();
    const std::string firstLine = SetCommandEncoder::encode(m_set).lines[0].line;
    QSignalSpy received(m_sim.get(), &TrackerSimulator::lineReceived);

    EXPECT_FALSE(runSave());
    EXPECT_EQ(m_prompter.messageTexts(), QStringList{"Disconnect device!"});
    EXPECT_EQ(m_prompter.messages[0].caption, QString("error"));
    EXPECT_EQ(m_session.statusText(), QString("FAIL ! Save Data to device is not complete.\r\n"));
    EXPECT_EQ(m_sim->linesReceived(), 12);
    // The link is closed with the failure, so no later line can be written: no wait needed.
    EXPECT_FALSE(m_link.isOpen()) << "nothing may be written after the unplug";

    ASSERT_TRUE(m_sim->replug());
    received.clear();
    ASSERT_TRUE(m_session.connectDevice(m_sim->friendlyName(), "115200"));
    EXPECT_FALSE(runSave()) << "this simulator unplugs again after 12 lines";
    ASSERT_GE(received.count(), 1);
    EXPECT_EQ(received.first().at(0).toByteArray() + "\r\n", QByteArray::fromStdString(firstLine));
    EXPECT_EQ(received.count(), 12);
}

TEST_F(SessionWithSimulator, GarbageNeitherCrashesNorHangs) {
    SimulatorOptions options = quietFast();
    options.garbage = true;
    options.rtcIntervalMs = 5;
    start(options);
    QSignalSpy lines(&m_link, &CSerialLink::lineReceived);
    ASSERT_TRUE(runLoad());
    EXPECT_EQ(describe(differingCodes(m_sim->parameters(), m_set, CodeSelection::Reported)), "");
    // A line over 250 characters arrives cut into pieces.
    bool cut = false;
    for (const QList<QVariant>& args : lines) {
        const QByteArray line = args.at(0).toByteArray();
        EXPECT_LE(line.size(), 250);
        EXPECT_FALSE(line.contains('\0'));
        cut = cut || line.size() >= 248;
    }
    EXPECT_TRUE(cut);
    ASSERT_TRUE(runSave());
}

TEST_F(SessionWithSimulator, ReplugReopensTheLinkThroughTheWatcher) {
    start(quietFast());
    QList<PortInfo> present = {{m_sim->portName(), "Prolific simulator", ""}};
    DeviceWatcher watcher(
        m_link, [&] { return present; }, [] { return 115200; });

    m_session.setIdleTimeout(5000);
    ASSERT_TRUE(m_session.loadFromDevice());
    present.clear();  // the adapter is pulled while the load waits
    watcher.deviceNodesChanged();
    ASSERT_EQ(m_finished.count(), 1);
    EXPECT_FALSE(m_finished.last().at(1).toBool());
    EXPECT_EQ(m_prompter.messageTexts(), QStringList{"Disconnect device!"});
    EXPECT_FALSE(m_link.isOpen());

    present = {{m_sim->portName(), "Prolific simulator", ""}};
    watcher.deviceNodesChanged();
    ASSERT_TRUE(m_link.isOpen());
    EXPECT_TRUE(m_session.isConnected());
    ASSERT_TRUE(runLoad());
    EXPECT_EQ(describe(differingCodes(m_sim->parameters(), m_set, CodeSelection::Reported)), "");
}

}  // namespace
}  // namespace qn470
