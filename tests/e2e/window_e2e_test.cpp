// SPDX-License-Identifier: Apache-2.0
// The whole window against the demo tracker, as a user works: Start, "Load from device", a value
// changed on the Main page, "Save to device", and the tracker then holds the new value.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "app/progress_dialog.h"
#include "config/parameter_value.h"
#include "demo_window_fixture.h"
#include "pages/main_page.h"

namespace qn470 {
namespace {

class WindowWithDemoTracker : public test::DemoWindowFixture<test::ScriptedPrompter> {
protected:
    QLineEdit* field(int id) const { return page()->findChild<QLineEdit*>(QString::number(id)); }
    // Presses a load or save button; true when its progress dialog showed and it completed.
    bool runOperation(int id) {
        QSignalSpy finished(&app->session(), &DeviceSession::operationFinished);
        QTest::mouseClick(command(id), Qt::LeftButton);
        const bool shown = app->commandWindow()->progressDialog() != nullptr &&
                           app->commandWindow()->progressDialog()->isVisible();
        // A real event loop: qWaitFor's pauses would pace the save.
        const bool ended = !finished.isEmpty() || finished.wait(10000);
        return shown && ended && finished.last().at(1).toBool();
    }
};

TEST_F(WindowWithDemoTracker, LoadEditSaveReachesTheTracker) {
    TrackerSimulator& tracker = demo.simulator();
    writeText(tracker.parameters(), "O5", "UNIT-17");
    writeNumber(tracker.parameters(), "J9", 11800);

    // The demo tracker is offered and chosen.
    EXPECT_EQ(app->commandWindow()->portText(), tracker.friendlyName());
    QTest::mouseClick(command(1107), Qt::LeftButton);
    ASSERT_EQ(command(1107)->text(), QStringLiteral("Stop"));

    ASSERT_TRUE(runOperation(1105));
    EXPECT_EQ(app->session().statusText(),
              QStringLiteral("Load data from device is complete.\r\n"));
    EXPECT_TRUE(state.pages.loadedFromDevice);
    ASSERT_NE(qobject_cast<CMainPage*>(app->frame()->view()->currentPage()), nullptr);
    EXPECT_EQ(field(1059)->text(), QStringLiteral("UNIT-17"));
    EXPECT_EQ(field(1196)->text(), QStringLiteral("11800"));

    // Edited on the page, not stored yet: the save stores it first.
    field(1059)->setText(QStringLiteral("UNIT-18"));
    const int appliedBefore = tracker.setLinesApplied();
    ASSERT_TRUE(runOperation(1104));
    EXPECT_EQ(app->session().statusText(), QStringLiteral("Save Data to device is complete.\r\n"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return readText(tracker.parameters(), "O5") == "UNIT-18"; }));
    EXPECT_GT(tracker.setLinesApplied(), appliedBefore);
    EXPECT_EQ(readNumber(tracker.parameters(), "J9"), 11800);
    EXPECT_TRUE(prompter.messages.empty());
}

}  // namespace
}  // namespace qn470
