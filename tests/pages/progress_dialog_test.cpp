// SPDX-License-Identifier: Apache-2.0
// The progress dialog of a load or a save, against the tracker simulator: its range, its end,
// and what Escape and closing it do while the operation runs.

#include <QProgressBar>
#include <QSignalSpy>
#include <cstring>

#include "app/progress_dialog.h"
#include "command_window_support.h"
#include "config/parameter_value.h"

namespace qn470 {
namespace {

using test::CommandWindowTest;

class ProgressDialogTest : public CommandWindowTest {
protected:
    // A connected window; false (skip) without a pseudo-terminal.
    bool connect(const SimulatorOptions& options = test::quietFastSimulator()) {
        if (!startSimulator(options)) {
            return false;
        }
        create();
        EXPECT_TRUE(connectToSimulator()) << session.statusText().toStdString();
        journal.clear();
        return true;
    }

    // Presses a button and watches the dialog it opens until the operation ends.
    struct Run {
        bool shown = false;
        bool modal = false;
        QString title;
        int minimum = -1;
        int maximum = -1;
        int highest = -1;
        bool goneAfter = false;
    };
    Run press(int id, const std::function<void(CProgress&)>& during = {}) {
        Run run;
        QSignalSpy finished(&session, &DeviceSession::operationFinished);
        click(id);
        QPointer<CProgress> dialog = window->progressDialog();
        if (dialog == nullptr) {
            return run;
        }
        run.shown = dialog->isVisible();
        run.modal = dialog->windowModality() == Qt::ApplicationModal;
        run.title = dialog->windowTitle();
        run.minimum = dialog->bar()->minimum();
        run.maximum = dialog->bar()->maximum();
        QObject::connect(dialog->bar(), &QProgressBar::valueChanged,
                         [&run](int value) { run.highest = std::max(run.highest, value); });
        if (during) {
            during(*dialog);
        }
        // A real event loop: qWaitFor's pauses would pace a save.
        EXPECT_TRUE(!finished.isEmpty() || finished.wait(10000));
        // The dialog closes with the operation and goes away.
        run.goneAfter = QTest::qWaitFor([&] { return dialog == nullptr; }, 1000);
        return run;
    }
};

TEST_F(ProgressDialogTest, LoadAndSaveShowTheirRangeAndCloseAtTheEnd) {
    if (!connect()) {
        GTEST_SKIP() << "no pseudo-terminal: " << sim->errorString().toStdString();
    }
    writeText(sim->parameters(), "O5", "TRACKER");
    const Run load = press(1105);
    EXPECT_TRUE(load.shown);
    EXPECT_TRUE(load.modal);
    EXPECT_EQ(load.title, QStringLiteral("Processing ..."));
    EXPECT_EQ(load.minimum, 0);
    EXPECT_EQ(load.maximum, 64);
    EXPECT_EQ(load.highest, 64);
    EXPECT_TRUE(load.goneAfter);
    EXPECT_EQ(session.statusText(), QStringLiteral("Load data from device is complete.\r\n"));
    EXPECT_EQ(readText(set, "O5"), "TRACKER");
    EXPECT_EQ(journal, (std::vector<std::string>{"load device"}));

    journal.clear();
    const Run save = press(1104);
    EXPECT_TRUE(save.shown);
    EXPECT_EQ(save.maximum, 74);
    EXPECT_EQ(save.highest, 74);
    EXPECT_TRUE(save.goneAfter);
    EXPECT_EQ(session.statusText(), QStringLiteral("Save Data to device is complete.\r\n"));
    EXPECT_EQ(journal, (std::vector<std::string>{"store"}));
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(ProgressDialogTest, EscapeNeitherClosesNorCancels) {
    SimulatorOptions options = test::quietFastSimulator();
    options.silent = true;
    if (!connect(options)) {
        GTEST_SKIP() << "no pseudo-terminal: " << sim->errorString().toStdString();
    }
    session.setIdleTimeout(100000);  // a silent tracker keeps the load waiting
    click(1105);
    QPointer<CProgress> dialog = window->progressDialog();
    ASSERT_NE(dialog, nullptr);
    QTest::keyClick(dialog, Qt::Key_Escape);
    dialog->reject();
    QTest::qWait(20);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(dialog->isRunning());
    EXPECT_TRUE(session.isBusy());
    session.cancel();
}

// Closing the dialog (its close button or system menu) while the operation runs cancels the
// operation: the dialog goes once the session has ended it, and the record stays as it was.
TEST_F(ProgressDialogTest, ClosingCancelsTheRunningOperationCleanly) {
    SimulatorOptions options = test::quietFastSimulator();
    options.silent = true;
    if (!connect(options)) {
        GTEST_SKIP() << "no pseudo-terminal: " << sim->errorString().toStdString();
    }
    session.setIdleTimeout(100000);
    session.setSaveInterval(50);
    const ParameterSet before = set;
    const struct {
        int button;
        const char* status;
        std::vector<std::string> journal;
    } cases[] = {
        {1105, "FAIL ! Load data from device is not complete.\r\n", {}},
        {1104, "FAIL ! Save Data to device is not complete.\r\n", {"store"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        journal.clear();
        const int linesBefore = sim->linesReceived();
        bool stillShownAfterClose = false;
        const Run run = press(c.button, [&](CProgress& dialog) {
            QTest::qWait(60);
            EXPECT_FALSE(dialog.close());  // refused now; the cancel closes it
            stillShownAfterClose = dialog.isVisible();
        });
        EXPECT_TRUE(run.shown);
        EXPECT_TRUE(stillShownAfterClose);
        EXPECT_TRUE(run.goneAfter);
        EXPECT_EQ(session.statusText(), QString::fromLatin1(c.status));
        EXPECT_EQ(journal, c.journal);
        EXPECT_EQ(std::memcmp(&set.record, &before.record, sizeof(ConfigRecord)), 0);
        // A cancelled save stops sending.
        const int linesAtEnd = sim->linesReceived();
        QTest::qWait(100);
        EXPECT_EQ(sim->linesReceived(), linesAtEnd);
        EXPECT_GT(linesAtEnd, linesBefore);
    }
    EXPECT_TRUE(prompter.messages.empty());
    // And the window works on: the next load runs again.
    EXPECT_TRUE(session.isConnected());
}

TEST_F(ProgressDialogTest, AnUnpluggedTrackerEndsTheDialogWithItsMessage) {
    if (!connect()) {
        GTEST_SKIP() << "no pseudo-terminal: " << sim->errorString().toStdString();
    }
    session.setSaveInterval(50);
    const Run run = press(1104, [&](CProgress&) {
        QTest::qWait(100);
        sim->unplug();
    });
    EXPECT_TRUE(run.goneAfter);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0], QStringLiteral("Disconnect device!"));
    EXPECT_EQ(session.statusText(),
              QStringLiteral("FAIL ! Save Data to device is not complete.\r\n"));
    // Still waiting for the adapter, but the button shows the link as it is: closed.
    EXPECT_TRUE(session.isConnected());
    EXPECT_EQ(control(1107)->text(), QStringLiteral("Start"));
}

}  // namespace
}  // namespace qn470
