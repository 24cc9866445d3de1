// SPDX-License-Identifier: Apache-2.0
// A field whose value a save cannot take, on the pages of the whole window with the demo tracker
// connected: each of the three save buttons stops before it sends, asks for a name or writes,
// names the field in its FAIL line, and the page keeps what the user typed.

#include <gtest/gtest.h>

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <ostream>
#include <tuple>

#include "app/command_window.h"
#include "app/config_tool_app.h"
#include "app/config_tool_view.h"
#include "app/demo_mode.h"
#include "app/main_frame.h"
#include "app/progress_dialog.h"
#include "app/tab_strip.h"
#include "demo_window_fixture.h"
#include "pages/command_window_support.h"
#include "pages/page.h"
#include "pages/page_test_support.h"

namespace qn470 {
namespace {

struct SaveButton {
    const char* name;
    int id;
    const char* stopped;  // %1: the refused field's code
};

const SaveButton kButtons[] = {
    {"SaveToDevice", CCommandWindow::kSaveToDevice,
     "FAIL ! Save Data to device stopped: the value of %1 was not taken.\r\n"},
    {"SaveToFile", CCommandWindow::kSaveToFile,
     "FAIL ! Write to file stopped: the value of %1 was not taken.\r\n"},
    {"SaveToBinFile", CCommandWindow::kSaveToBinFile,
     "FAIL ! Write to bin file stopped: the value of %1 was not taken.\r\n"},
};

// What the user typed on one page: a good edit before the refused field in table order, the
// refused text, and optionally another bad field after it, which must not be named or prompted.
struct Refusal {
    const char* name;
    int tab;
    int earlierId;
    const char* earlierText;
    int refusedId;
    const char* refusedText;
    const char* code;
    const char* prompt;
    int laterId = 0;
    const char* laterText = nullptr;
};

const Refusal kRefusals[] = {
    {"MainJ9Emptied", kMainPage, 1059, "EDITED-ID", 1196, "", "J9", "Enter a positive integer.",
     1057, ""},
    {"MainO6LoneMinus", kMainPage, 1059, "EDITED-ID", 1060, "-", "O6", "Enter an integer.", 1196,
     ""},
    {"GpsC3Emptied", kGpsPage, 1002, "300", 2101, "", "C3", "Enter a positive integer."},
    {"CommunicationE4Emptied", kCommunicationPage, 2201, "edited.apn", 2212, "", "E4",
     "Enter a positive integer."},
};

// Failures name the case, not the bytes of its structs.
void PrintTo(const SaveButton& button, std::ostream* out) {
    *out << button.name;
}
void PrintTo(const Refusal& refusal, std::ostream* out) {
    *out << refusal.name;
}

using Case = std::tuple<SaveButton, Refusal>;

class RefusedField
    : public test::DemoWindowFixture<test::DialogPrompter, ::testing::TestWithParam<Case>> {
protected:
    QLineEdit* edit(int id) const { return test::byId<QLineEdit>(page(), id); }
    void visit(int tab) {
        QTest::mouseClick(app->frame()->view()->tabStrip()->tabButton(tab), Qt::LeftButton);
    }
    // Replaces the field's text as a user does; an empty text is typed as a Backspace.
    void type(int id, const char* text) {
        QLineEdit* field = edit(id);
        ASSERT_NE(field, nullptr) << id;
        field->setFocus(Qt::TabFocusReason);
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, QString::fromLatin1(text));
        ASSERT_EQ(field->text(), QString::fromLatin1(text)) << id;
    }
};

TEST_P(RefusedField, StopsTheSaveAndKeepsTheEdits) {
    const auto& [button, refusal] = GetParam();
    TrackerSimulator& tracker = demo.simulator();
    QTest::mouseClick(command(CCommandWindow::kStartStop), Qt::LeftButton);
    ASSERT_TRUE(app->session().isConnected());

    visit(refusal.tab);
    ASSERT_NE(page(), nullptr);
    ASSERT_EQ(page()->pageIndex(), refusal.tab);
    CPage* const shown = page();
    type(refusal.earlierId, refusal.earlierText);
    type(refusal.refusedId, refusal.refusedText);
    if (refusal.laterId != 0) {
        type(refusal.laterId, refusal.laterText);
    }
    ASSERT_TRUE(prompter.messages.empty()) << "typing alone is accepted";

    // A file dialog that opened would be answered, and its file written.
    prompter.answers.push_back(dir.filePath(QStringLiteral("chosen")));
    QSignalSpy arrived(&tracker, &TrackerSimulator::lineReceived);
    QSignalSpy started(&app->session(), &DeviceSession::operationStarted);
    QSignalSpy statuses(&app->session(), &DeviceSession::statusChanged);
    QTest::mouseClick(command(button.id), Qt::LeftButton);
    // Whatever the click wrote reaches the tracker before a line written after it: once that
    // line arrived, nothing else may have.
    const QByteArray mark = "QN470-TEST-MARK";
    ASSERT_TRUE(app->session().link().write(mark + "\r\n"));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return std::any_of(arrived.begin(), arrived.end(), [&](const QList<QVariant>& line) {
                return line.at(0).toByteArray() == mark;
            });
        },
        20000));
    EXPECT_EQ(arrived.count(), 1) << "the save wrote to the tracker";

    EXPECT_EQ(started.count(), 0);
    EXPECT_FALSE(app->session().isBusy());
    EXPECT_EQ(app->commandWindow()->progressDialog(), nullptr);
    EXPECT_TRUE(prompter.dialogs.empty());
    EXPECT_TRUE(QDir(dir.path()).entryList({QStringLiteral("chosen*")}, QDir::Files).isEmpty());
    EXPECT_EQ(statuses.count(), 1);
    EXPECT_EQ(app->session().statusText(),
              QString::fromLatin1(button.stopped).arg(QString::fromLatin1(refusal.code)));
    EXPECT_EQ(prompter.messages, std::vector<QString>{QString::fromLatin1(refusal.prompt)});

    // The same page, not reloaded from the record: every edit is still there.
    ASSERT_EQ(page(), shown);
    EXPECT_EQ(edit(refusal.earlierId)->text(), QString::fromLatin1(refusal.earlierText));
    EXPECT_EQ(edit(refusal.refusedId)->text(), QString::fromLatin1(refusal.refusedText));
    if (refusal.laterId != 0) {
        EXPECT_EQ(edit(refusal.laterId)->text(), QString::fromLatin1(refusal.laterText));
    }
}

INSTANTIATE_TEST_SUITE_P(Window, RefusedField,
                         testing::Combine(testing::ValuesIn(kButtons),
                                          testing::ValuesIn(kRefusals)),
                         [](const testing::TestParamInfo<Case>& info) {
                             return std::string(std::get<0>(info.param).name) + "_" +
                                    std::get<1>(info.param).name;
                         });

}  // namespace
}  // namespace qn470
