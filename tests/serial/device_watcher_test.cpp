// SPDX-License-Identifier: Apache-2.0
#include "serial/device_watcher.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "serial/pty_master.h"
#include "serial/serial_link.h"

namespace qn470 {
namespace {

using test::PtyMaster;

// The link runs on a real pseudo-terminal; which ports look present is up to the test.
class DeviceWatcherTest : public testing::Test {
protected:
    void SetUp() override {
        if (!m_pty.ok()) {
            GTEST_SKIP() << "no pseudo-terminal: " << m_pty.error().toStdString();
        }
        m_link.setTrackerPortChosen(true);
        plugIn();
    }

    void plugIn() {
        m_present = {{"COM1", "Communications Port", ""},
                     {m_pty.portName(), "Prolific simulator", ""}};
    }
    // The PC's own COM1 stays: it must not make the adapter look present.
    void unplug() { m_present = {{"COM1", "Communications Port", ""}}; }

    void connectLink() {
        ASSERT_TRUE(m_link.open(m_pty.portName(), 115200));
        m_link.setConnected(true);
    }

    PtyMaster m_pty;
    CSerialLink m_link;
    QList<PortInfo> m_present;
    qint32 m_baudBox = 115200;
    DeviceWatcher m_watcher{m_link, [this] { return m_present; }, [this] { return m_baudBox; }};
    QSignalSpy m_lost{&m_link, &CSerialLink::deviceLost};
    QSignalSpy m_reopened{&m_watcher, &DeviceWatcher::linkReopened};
};

TEST_F(DeviceWatcherTest, UnplugWhileConnectedClosesAndReplugReopensWithCurrentBaud) {
    connectLink();
    m_watcher.deviceNodesChanged();
    EXPECT_TRUE(m_link.isOpen()) << "still present";

    unplug();
    m_watcher.deviceNodesChanged();
    EXPECT_FALSE(m_link.isOpen());
    EXPECT_TRUE(m_link.connected());
    EXPECT_EQ(m_lost.count(), 1);

    m_watcher.deviceNodesChanged();
    EXPECT_EQ(m_lost.count(), 1) << "a closed link is not lost twice";
    EXPECT_EQ(m_reopened.count(), 0) << "not back yet";

    m_baudBox = 57600;
    plugIn();
    m_watcher.deviceNodesChanged();
    ASSERT_TRUE(m_link.isOpen());
    EXPECT_EQ(m_link.baudRate(), 57600);
    EXPECT_EQ(m_link.portName(), m_pty.portName());
    EXPECT_EQ(m_reopened.count(), 1);

    // The receive log carries on after the reopen.
    QSignalSpy received(&m_link, &CSerialLink::lineReceived);
    ASSERT_TRUE(m_pty.write("back\r\n"));
    ASSERT_TRUE(received.wait(3000));
    EXPECT_EQ(m_link.receiveLog(), QString("back\r\n"));
}

TEST_F(DeviceWatcherTest, NothingChangesWhileNotConnected) {
    unplug();
    m_watcher.deviceNodesChanged();
    plugIn();
    m_watcher.deviceNodesChanged();
    EXPECT_FALSE(m_link.isOpen());
    EXPECT_EQ(m_lost.count(), 0);
    EXPECT_EQ(m_reopened.count(), 0);
}

TEST_F(DeviceWatcherTest, DisarmedUntilTrackerPortChosen) {
    connectLink();
    m_link.setTrackerPortChosen(false);
    unplug();
    m_watcher.deviceNodesChanged();
    EXPECT_TRUE(m_link.isOpen());

    m_link.close();
    plugIn();
    m_watcher.deviceNodesChanged();
    EXPECT_FALSE(m_link.isOpen());
}

TEST_F(DeviceWatcherTest, FailedReopenIsRetriedSilently) {
    connectLink();
    unplug();
    m_watcher.deviceNodesChanged();
    m_baudBox = 0;  // the port refuses it
    plugIn();
    m_watcher.deviceNodesChanged();
    EXPECT_FALSE(m_link.isOpen());
    m_baudBox = 19200;
    m_watcher.deviceNodesChanged();
    EXPECT_TRUE(m_link.isOpen());
    EXPECT_EQ(m_link.baudRate(), 19200);
}

TEST_F(DeviceWatcherTest, TimerLooksPeriodically) {
    connectLink();
    EXPECT_EQ(m_watcher.interval(), DeviceWatcher::kDefaultIntervalMs);
    m_watcher.setInterval(10);
    m_watcher.start();
    unplug();
    EXPECT_TRUE(m_lost.wait(2000));
    plugIn();
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_link.isOpen(); }, 2000));
    m_watcher.stop();
    EXPECT_FALSE(m_watcher.isActive());
}

}  // namespace
}  // namespace qn470
