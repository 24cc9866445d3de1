// SPDX-License-Identifier: Apache-2.0
// The command window through its real widgets: controls and labels, the status messages with the
// link closed, Enter and Escape, the focus rules, Scan, and Start/Stop, sending and the receive
// log against the tracker simulator.

#include <QApplication>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <cstring>

#include "command_window_support.h"
#include "config/command_line.h"
#include "config/parameter_value.h"
#include "page_test_support.h"

namespace qn470 {
namespace {

using test::CommandWindowTest;
using test::shownStatus;

QString labelOf(const QWidget* root, const QWidget* buddy) {
    for (const QLabel* label : root->findChildren<QLabel*>()) {
        if (label->buddy() == buddy) {
            return label->text();
        }
    }
    return {};
}

TEST_F(CommandWindowTest, EveryControlHasItsIdTextAndLabel) {
    create();
    const struct {
        int id;
        const char* text;  // a button's text, or the label whose buddy the control is
    } controls[] = {
        {2601, "Command :"},
        {1, "Send"},
        {1231, "active"},
        {1232, "inactive"},
        {2, "Send"},
        {1106, "COM :"},
        {1108, "Scan"},
        {2604, "baud rate :"},
        {1107, "Start"},
        {1008, "Save to file"},
        {1009, "Save to Bin file"},
        {1104, "Save to device"},
        {140, "Load from file"},
        {1105, "Load from device"},
    };
    for (const auto& c : controls) {
        auto* widget = window->findChild<QWidget*>(QString::number(c.id));
        ASSERT_NE(widget, nullptr) << c.id;
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            EXPECT_EQ(button->text(), QString::fromLatin1(c.text)) << c.id;
        } else {
            EXPECT_EQ(labelOf(window.get(), widget), QString::fromLatin1(c.text)) << c.id;
            EXPECT_EQ(widget->accessibleName(), QString::fromLatin1(c.text)) << c.id;
        }
    }
    EXPECT_EQ(labelOf(window.get(), control<QRadioButton>(1231)),
              QStringLiteral("serial port data transmission"));
    for (int id : {1110, 1111}) {
        auto* log = control<QPlainTextEdit>(id);
        ASSERT_NE(log, nullptr) << id;
        EXPECT_TRUE(log->isReadOnly()) << id;
    }
    // As the window starts.
    EXPECT_EQ(control<QLineEdit>(2604)->text(), QStringLiteral("115200"));
    EXPECT_TRUE(control<QRadioButton>(1232)->isChecked());
    EXPECT_FALSE(control<QRadioButton>(1231)->isChecked());
    EXPECT_TRUE(portList()->isEditable());
    EXPECT_EQ(journal, (std::vector<std::string>{"load file"}));
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(statusLog(), QString());
}

TEST_F(CommandWindowTest, EachStatusMessageWithTheLinkClosedReplacesTheOneBefore) {
    ports = {{QStringLiteral("ttyS0"), QStringLiteral("Communications Port"), {}}};
    create();
    ParameterSet before = set;
    const struct {
        int button;
        const char* portText;  // typed into the port list first, when set
        const char* status;
    } cases[] = {
        {1, nullptr, "FAIL !! Serial port is not open.\r\n"},
        {2, nullptr, "FAIL ! Serial port is not open.\r\n"},
        {1105, nullptr, "FAIL ! Not Normal mode or serial port error.\r\n"},
        {1104, nullptr, "FAIL ! Not Normal mode or serial port error.\r\n"},
        {1107, "", "Not STM serial port!\r\n"},
        {1107, "USB Serial (ttyUSB3)", "Not STM serial port!\r\n"},
        {1107, "Prolific adapter", "serial port is open fail.\r\n"},
        {1107, "Prolific adapter (ttyNONE9)", "serial port is open fail.\r\n"},
        {1107, "COM10 adapter (toolongname)", "serial port is open fail.\r\n"},
        {1, nullptr, "FAIL !! Serial port is not open.\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.status);
        if (c.portText != nullptr) {
            portList()->clearEditText();
            QTest::keyClicks(portList()->lineEdit(), QString::fromLatin1(c.portText));
        }
        click(c.button);
        EXPECT_EQ(session.statusText(), QString::fromLatin1(c.status));
        EXPECT_EQ(statusLog(), shownStatus(c.status));
        EXPECT_EQ(control(1107)->text(), QStringLiteral("Start"));
    }
    EXPECT_EQ(control<QPlainTextEdit>(1110)->blockCount(), 1);
    EXPECT_EQ(std::memcmp(&set.record, &before.record, sizeof(ConfigRecord)), 0);
    EXPECT_EQ(journal, (std::vector<std::string>{"load file"}));  // nothing stored or loaded
    // Only the port that was tried and is not there gets a message box besides its status.
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.captions[0], QStringLiteral("Error"));
    EXPECT_TRUE(prompter.messages[0].startsWith(QStringLiteral("/dev/ttyNONE9 does not exist")))
        << prompter.messages[0].toStdString();
    EXPECT_EQ(window->progressDialog(), nullptr);
}

TEST_F(CommandWindowTest, EnterSendsTheCommandLineAndEscapeTheSwitchWhereverTheFocusIs) {
    create();
    ASSERT_TRUE(test::showActive(*window));
    const QString commandFail = shownStatus("FAIL !! Serial port is not open.\r\n");
    const QString switchFail = shownStatus("FAIL ! Serial port is not open.\r\n");
    const struct {
        QWidget* target;
        Qt::Key key;
        QString status;
    } cases[] = {
        {commandEdit(), Qt::Key_Return, commandFail},
        {commandEdit(), Qt::Key_Escape, switchFail},
        {commandEdit(), Qt::Key_Enter, commandFail},
        {portList()->lineEdit(), Qt::Key_Escape, switchFail},
        {portList()->lineEdit(), Qt::Key_Return, commandFail},
        {control<QLineEdit>(2604), Qt::Key_Escape, switchFail},
        {control<QRadioButton>(1231), Qt::Key_Return, commandFail},
        {control<QPlainTextEdit>(1111), Qt::Key_Escape, switchFail},
        {control<QPlainTextEdit>(1110), Qt::Key_Return, commandFail},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target->objectName().toStdString());
        c.target->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(c.target, c.key);
        EXPECT_EQ(statusLog(), c.status);
        EXPECT_TRUE(window->isVisible());
        // Alternate so that each key shows a change.
        QTest::keyClick(window.get(), c.key == Qt::Key_Escape ? Qt::Key_Return : Qt::Key_Escape);
    }
    // A focused push button takes Enter itself.
    control(1008)->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(control(1008), Qt::Key_Return);
    ASSERT_EQ(prompter.dialogs.size(), 1u);
    EXPECT_TRUE(prompter.dialogs[0].save);
}

TEST_F(CommandWindowTest, FocusMovesToTheSendButtons) {
    QWidget frame;
    auto* layout = new QVBoxLayout(&frame);
    auto* outside = new QLineEdit(&frame);
    layout->addWidget(outside);
    layout->addWidget(&create());
    // The fixture deletes the window, so the frame must let it go first.
    const struct Release {
        QWidget* window;
        ~Release() { window->setParent(nullptr); }
    } release{window.get()};
    ASSERT_TRUE(test::showActive(frame));

    // A radio click puts the focus on the switch's Send button.
    for (int radio : {1231, 1232}) {
        control(1107)->setFocus(Qt::OtherFocusReason);
        test::click(control<QRadioButton>(radio));
        EXPECT_TRUE(control<QRadioButton>(radio)->isChecked()) << radio;
        EXPECT_EQ(QApplication::focusWidget(), control(2)) << radio;
    }
    // Leaving the command line for another control of the window puts it on its Send button.
    for (QWidget* next : {static_cast<QWidget*>(control<QLineEdit>(2604)),
                          static_cast<QWidget*>(portList()->lineEdit())}) {
        commandEdit()->setFocus(Qt::OtherFocusReason);
        QTest::mouseClick(next, Qt::LeftButton);
        EXPECT_EQ(QApplication::focusWidget(), control(1));
    }
    commandEdit()->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(commandEdit(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), control(1));
    // Outside the window the focus stays where the user put it.
    commandEdit()->setFocus(Qt::OtherFocusReason);
    QTest::mouseClick(outside, Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), outside);
}

TEST_F(CommandWindowTest, ScanRefillsTheSortedListAndSelectsTheFirst) {
    ports = {{QStringLiteral("COM7"), QStringLiteral("Prolific USB-to-Serial Comm Port"), {}},
             {QStringLiteral("COM1"), QStringLiteral("Communications Port"), {}},
             {QStringLiteral("COM3"), QStringLiteral("Bluetooth link"), {}},
             {QStringLiteral("COM12"), QStringLiteral("Modem"), {}}};
    create();
    QStringList items;
    for (int i = 0; i < portList()->count(); ++i) {
        items.append(portList()->itemText(i));
    }
    EXPECT_EQ(items, (QStringList{"Communications Port (COM1)", "Modem (COM12)",
                                  "Prolific USB-to-Serial Comm Port (COM7)"}));
    EXPECT_EQ(portList()->currentText(), QStringLiteral("Communications Port (COM1)"));

    // Typed text goes; the list is read again.
    QTest::keyClicks(portList()->lineEdit(), QStringLiteral("typed"));
    ports.removeAt(1);
    click(1108);
    EXPECT_EQ(portList()->count(), 2);
    EXPECT_EQ(portList()->currentText(), QStringLiteral("Modem (COM12)"));

    ports.clear();
    click(1108);
    EXPECT_EQ(portList()->count(), 0);
    EXPECT_EQ(portList()->currentText(), QString());
    click(1107);
    EXPECT_EQ(session.statusText(), QStringLiteral("Not STM serial port!\r\n"));
}

TEST_F(CommandWindowTest, StartSendStopAgainstTheSimulator) {
    if (!startSimulator()) {
        GTEST_SKIP() << "no pseudo-terminal: " << sim->errorString().toStdString();
    }
    create();
    ASSERT_TRUE(connectToSimulator()) << session.statusText().toStdString();
    EXPECT_EQ(control(1107)->text(), QStringLiteral("Stop"));
    EXPECT_EQ(statusLog(), shownStatus("serial port is open success.\r\n"));

    // The command line and the switch reach the tracker; the status log shows what was sent.
    QSignalSpy received(sim.get(), &TrackerSimulator::lineReceived);
    QTest::keyClicks(commandEdit(), QStringLiteral("PING 1"));
    QTest::keyClick(commandEdit(), Qt::Key_Return);
    EXPECT_EQ(statusLog(), QStringLiteral("PING 1"));
    test::click(control<QRadioButton>(1231));
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_EQ(statusLog(), QStringLiteral("KXC,KorvelantQN-470,LO*QQ!"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return received.count() >= 2; }));
    EXPECT_EQ(received.at(0).at(0).toByteArray(), QByteArray("PING 1"));
    EXPECT_EQ(received.at(1).at(0).toByteArray(), QByteArray("KXC,KorvelantQN-470,LO*QQ!"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return sim->transmissionOn(); }));

    // Received lines are appended; the view follows the newest.
    sim->sendLine("RTC_Counter=7");
    ASSERT_TRUE(QTest::qWaitFor([&] { return receiveLog().contains("RTC_Counter=7"); }));
    auto* log = control<QPlainTextEdit>(1111);
    EXPECT_EQ(log->verticalScrollBar()->value(), log->verticalScrollBar()->maximum());

    click(1107);
    EXPECT_EQ(control(1107)->text(), QStringLiteral("Start"));
    EXPECT_EQ(statusLog(), shownStatus("COM port is Close.\r\n"));
    EXPECT_FALSE(link.isOpen());
    EXPECT_TRUE(receiveLog().contains("RTC_Counter=7"));  // the log stays
    ASSERT_TRUE(connectToSimulator());
    EXPECT_EQ(control(1107)->text(), QStringLiteral("Stop"));
}

TEST_F(CommandWindowTest, ReceiveLogFollowsTheLinkAndItsClearingRule) {
    if (!startSimulator()) {
        GTEST_SKIP() << "no pseudo-terminal: " << sim->errorString().toStdString();
    }
    create();
    ASSERT_TRUE(connectToSimulator());
    QSignalSpy cleared(&session, &DeviceSession::receiveLogCleared);
    const int lines = CSerialLink::kMaxLoggedLines + 20;
    for (int i = 0; i < lines; ++i) {
        sim->sendLine(QByteArray("line ") + QByteArray::number(i));
    }
    const QString last = QStringLiteral("line %1").arg(lines - 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return receiveLog().contains(last); }, 10000));
    EXPECT_EQ(cleared.count(), 1);
    QString expected = session.receiveLog();
    expected.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    EXPECT_EQ(receiveLog(), expected);
    EXPECT_FALSE(receiveLog().contains(QStringLiteral("line 0\n")));
}

}  // namespace
}  // namespace qn470
