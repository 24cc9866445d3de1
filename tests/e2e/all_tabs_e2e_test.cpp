// SPDX-License-Identifier: Apache-2.0
// Every tab against the demo tracker: after a load, one field is changed on each of the eleven
// pages in turn, leaving each page stores it, "Save to device" sends them all, and the tracker
// then holds every change.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <string>

#include "app/command_window.h"
#include "app/config_tool_app.h"
#include "app/config_tool_view.h"
#include "app/demo_mode.h"
#include "app/main_frame.h"
#include "app/tab_strip.h"
#include "config/parameter_value.h"
#include "demo_window_fixture.h"
#include "pages/page.h"
#include "pages/page_test_support.h"

namespace qn470 {
namespace {

// One change per tab: a text typed over the field's text, or a check box clicked.
struct Change {
    int tab;
    int id;
    const char* code;
    const char* text;  // nullptr: a check box, toggled
    bool number;       // the record holds a number (compared as one)
};

const Change kChanges[] = {
    {kMainPage, 1059, "O5", "E2E-MAIN", false},
    {kGpsPage, 1003, "C2", "90", true},
    {kCommunicationPage, 2201, "D1", "e2e.apn", false},
    {kSecurityPage, 2301, "G0", "+15550100", false},
    {kFunctionPage, 1067, "OS", "120", true},
    {kTimerPage, 2503, "W2", "900", true},
    {kStopwatchPage, 1134, "WA", "1234", true},
    {kCounterPage, 1180, "Pa", "3000000000", true},
    {kInputOutputPage, 1192, "QA", "4321", true},
    {kMotionSensorPage, 1160, "Ra", "7200", true},
    {kSerialPortPage, 1230, "S4", nullptr, true},
};

class AllTabsWithDemoTracker : public test::DemoWindowFixture<test::ScriptedPrompter> {
protected:
    // Presses a load or save button; true when it completed.
    bool runOperation(int id) {
        QSignalSpy finished(&app->session(), &DeviceSession::operationFinished);
        QTest::mouseClick(command(id), Qt::LeftButton);
        const bool ended = !finished.isEmpty() || finished.wait(20000);
        return ended && finished.last().at(1).toBool();
    }

    // The tab's button clicked, as a user switches pages.
    void visit(int tab) {
        auto* strip = app->frame()->view()->findChild<CTabStrip*>();
        ASSERT_NE(strip, nullptr);
        QTest::mouseClick(strip->tabButton(tab), Qt::LeftButton);
    }
};

TEST_F(AllTabsWithDemoTracker, AChangeOnEveryTabReachesTheTracker) {
    TrackerSimulator& tracker = demo.simulator();
    QTest::mouseClick(command(CCommandWindow::kStartStop), Qt::LeftButton);
    ASSERT_EQ(command(CCommandWindow::kStartStop)->text(), QStringLiteral("Stop"));
    ASSERT_TRUE(runOperation(CCommandWindow::kLoadFromDevice));
    ASSERT_TRUE(state.pages.loadedFromDevice);

    // The values the tracker should end with; the check box is the opposite of what it had.
    std::vector<std::string> expected;
    for (const Change& c : kChanges) {
        SCOPED_TRACE(c.code);
        visit(c.tab);
        ASSERT_NE(page(), nullptr);
        ASSERT_EQ(page()->pageIndex(), c.tab);
        QWidget* control = page()->findChild<QWidget*>(QString::number(c.id));
        ASSERT_NE(control, nullptr) << c.id;
        if (c.text == nullptr) {
            auto* box = qobject_cast<QCheckBox*>(control);
            ASSERT_NE(box, nullptr);
            ASSERT_EQ(box->isChecked(), readNumber(tracker.parameters(), c.code) != 0);
            test::click(box);
            expected.push_back(box->isChecked() ? "1" : "0");
        } else {
            auto* edit = qobject_cast<QLineEdit*>(control);
            ASSERT_NE(edit, nullptr);
            const std::string before =
                c.number ? std::to_string(readNumber(tracker.parameters(), c.code))
                         : readText(tracker.parameters(), c.code);
            ASSERT_NE(before, c.text) << "the change must be one";
            edit->selectAll();
            edit->insert(QString::fromLatin1(c.text));
            ASSERT_EQ(edit->text(), QString::fromLatin1(c.text));
            expected.push_back(c.text);
        }
    }
    EXPECT_TRUE(prompter.messages.empty());

    // The page shown last is stored by the save itself.
    ASSERT_TRUE(runOperation(CCommandWindow::kSaveToDevice));
    auto held = [&](const Change& c) {
        return c.number ? std::to_string(readNumber(tracker.parameters(), c.code))
                        : readText(tracker.parameters(), c.code);
    };
    const auto allHeld = [&] {
        for (std::size_t i = 0; i < std::size(kChanges); ++i) {
            if (held(kChanges[i]) != expected[i]) {
                return false;
            }
        }
        return true;
    };
    EXPECT_TRUE(QTest::qWaitFor(allHeld, 5000));
    for (std::size_t i = 0; i < std::size(kChanges); ++i) {
        EXPECT_EQ(held(kChanges[i]), expected[i]) << kChanges[i].code;
    }
    EXPECT_TRUE(prompter.messages.empty());
}

}  // namespace
}  // namespace qn470
