// SPDX-License-Identifier: Apache-2.0
// What the window tells about its own changes: the marks on the open page and the counts on the
// tab buttons while fields on two pages are edited, the reference moving with profile files,
// reverting from the Changes view, comparing with a file and with the defaults and taking values
// over, and the question before the window closes with unsaved changes.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <algorithm>

#include "app/config_tool_app.h"
#include "app/config_tool_view.h"
#include "app/main_frame.h"
#include "app/records/session_log.h"
#include "app/tab_strip.h"
#include "app/views/change_tracker.h"
#include "app/views/changes_view.h"
#include "app/views/compare_view.h"
#include "app/views/window_changes.h"
#include "app/views/window_values.h"
#include "command_window_support.h"
#include "config/default_profile.h"
#include "config/parameter_value.h"
#include "config/profile.h"
#include "e2e/demo_window_fixture.h"
#include "page_test_support.h"
#include "pages/page.h"
#include "support/case_name.h"

namespace qn470 {
namespace {

// Also answers the question before closing, as the case says.
class ClosingPrompter : public test::DialogPrompter {
public:
    Answer message(const QString& text, const QString& caption, Buttons buttons,
                   Icon icon) override {
        if (buttons == Buttons::SaveDiscardCancel) {
            questions.push_back(text);
            return closeAnswer;
        }
        return DialogPrompter::message(text, caption, buttons, icon);
    }

    Answer closeAnswer = Answer::Cancel;
    std::vector<QString> questions;
};

enum class Kind { Text, Check, List };

struct Field {
    int tab;
    int id;
    Kind kind;
    const char* code;
};

constexpr Field kMainO5{kMainPage, 1059, Kind::Text, "O5"};
constexpr Field kMainO8{kMainPage, 1023, Kind::Check, "O8"};
constexpr Field kCommD1{kCommunicationPage, 2201, Kind::Text, "D1"};
constexpr Field kCommE6{kCommunicationPage, 1126, Kind::Check, "E6"};
constexpr Field kCommD8{kCommunicationPage, 1038, Kind::List, "D8"};
constexpr Field kMainOB{kMainPage, 1064, Kind::List, "OB"};
constexpr Field kSerialS2{kSerialPortPage, 1039, Kind::List, "S2"};

class ChangesTest : public ::testing::Test {
protected:
    ChangesTest()
        : settings(dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat),
          state(settings, prompter, choices) {
        app = std::make_unique<CconfigToolApp>(
            state, pageTabs(), DeviceOptions{[] { return QList<PortInfo>{}; }, 2, false});
        EXPECT_TRUE(app->initInstance());
    }

    CconfigToolView& view() const { return *app->frame()->view(); }
    WindowChanges& changes() const { return app->changes(); }
    ChangeTracker& tracker() const { return changes().tracker(); }
    FieldBinder& binder() const { return view().currentPage()->binder(); }
    int count(int tab) const { return view().tabStrip()->markCount(tab); }
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    // Edits a field as a user would: a character typed at the end, a click, the next item.
    void edit(const Field& f) {
        view().selectTab(f.tab);
        switch (f.kind) {
            case Kind::Text:
                QTest::keyClick(binder().edit(f.id), Qt::Key_End);
                QTest::keyClicks(binder().edit(f.id), QStringLiteral("Z"));
                break;
            case Kind::Check:
                test::click(binder().checkBox(f.id));
                break;
            case Kind::List: {
                QComboBox* list = binder().list(f.id);
                list->setCurrentIndex((list->currentIndex() + 1) % list->count());
                break;
            }
        }
    }
    // Takes the edit back by hand, as the user would.
    void undo(const Field& f) {
        view().selectTab(f.tab);
        switch (f.kind) {
            case Kind::Text:
                QTest::keyClick(binder().edit(f.id), Qt::Key_End);
                QTest::keyClick(binder().edit(f.id), Qt::Key_Backspace);
                break;
            case Kind::Check:
                test::click(binder().checkBox(f.id));
                break;
            case Kind::List: {
                QComboBox* list = binder().list(f.id);
                list->setCurrentIndex((list->currentIndex() + list->count() - 1) % list->count());
                break;
            }
        }
    }
    bool marked(const Field& f) const {
        const QWidget* control = binder().control(f.id);
        return binder().isChanged(f.id) && control->property("changed").toBool() &&
               control->accessibleDescription().contains(QStringLiteral("changed"));
    }
    std::vector<int> counts() const {
        std::vector<int> all;
        for (int tab = 0; tab < view().tabStrip()->count(); ++tab) {
            all.push_back(count(tab));
        }
        return all;
    }
    static std::vector<QString> codesOf(const QTableWidget& table) {
        std::vector<QString> codes;
        for (int row = 0; row < table.rowCount(); ++row) {
            codes.push_back(table.item(row, 0)->text());
        }
        std::sort(codes.begin(), codes.end());
        return codes;
    }
    // A profile file: the defaults with these texts.
    QString profileWith(const char* name,
                        std::initializer_list<std::pair<const char*, const char*>> texts) {
        ParameterSet set;
        loadDefaultProfile(set);
        for (const auto& [code, text] : texts) {
            writeText(set, code, text);
        }
        EXPECT_TRUE(writeProfile(set, QFile::encodeName(path(name)).toStdString()).ok);
        return path(name);
    }

    QTemporaryDir dir;
    QSettings settings;
    ClosingPrompter prompter;
    test::ScriptedChoices choices;
    AppState state;
    std::unique_ptr<CconfigToolApp> app;
};

struct TwoPagesCase {
    const char* name;
    Field first;
    Field second;
};

class MarksOnTwoPages : public ChangesTest, public ::testing::WithParamInterface<TwoPagesCase> {};

TEST_P(MarksOnTwoPages, EditsAreMarkedAndCountedPerTabAndUndoingClearsThem) {
    const TwoPagesCase& c = GetParam();
    ASSERT_EQ(counts(), std::vector<int>(kPageCount, 0)) << "the defaults are the reference";

    edit(c.first);
    EXPECT_TRUE(marked(c.first));
    EXPECT_EQ(count(c.first.tab), 1);
    EXPECT_EQ(changes().changesButton()->text(), QStringLiteral("Changes (1)"));
    EXPECT_EQ(changes().changesButton()->accessibleName(), QStringLiteral("Changes"));

    // The first page stored its edit when it closed: its count comes from the record now.
    edit(c.second);
    EXPECT_TRUE(marked(c.second));
    EXPECT_EQ(count(c.first.tab), 1);
    EXPECT_EQ(count(c.second.tab), 1);
    EXPECT_EQ(tracker().changedCount(), 2);

    undo(c.second);
    EXPECT_FALSE(binder().isChanged(c.second.id));
    EXPECT_FALSE(binder().control(c.second.id)->property("changed").toBool());
    EXPECT_EQ(count(c.second.tab), 0);

    // Back on the first page its field is marked again, as loaded from the record.
    view().selectTab(c.first.tab);
    EXPECT_TRUE(marked(c.first));
    undo(c.first);
    EXPECT_EQ(counts(), std::vector<int>(kPageCount, 0));
    EXPECT_EQ(changes().changesButton()->text(), QStringLiteral("Changes"));
    EXPECT_TRUE(prompter.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Fields, MarksOnTwoPages,
    ::testing::Values(TwoPagesCase{"text_main_check_communication", kMainO5, kCommE6},
                      TwoPagesCase{"check_main_text_communication", kMainO8, kCommD1},
                      TwoPagesCase{"list_main_list_serial", kMainOB, kSerialS2}),
    [](const auto& info) { return caseName(info.param.name); });

struct FileCase {
    const char* name;
    bool load;  // else save
};

class ReferenceFromFiles : public ChangesTest, public ::testing::WithParamInterface<FileCase> {};

TEST_P(ReferenceFromFiles, AProfileLoadedOrSavedBecomesTheReference) {
    const QString file = profileWith("other.pro", {{"D1", "FILE-APN"}});
    edit(kCommD1);
    const QString typedApn = binder().edit(kCommD1.id)->text();
    edit(kMainO5);
    ASSERT_EQ(count(kCommunicationPage), 1);
    ASSERT_EQ(count(kMainPage), 1);

    prompter.answers.push_back(GetParam().load ? file : path("saved.pro"));
    test::click(app->commandWindow()->findChild<QPushButton*>(QString::number(
        GetParam().load ? CCommandWindow::kLoadFromFile : CCommandWindow::kSaveToFile)));
    EXPECT_EQ(counts(), std::vector<int>(kPageCount, 0));
    EXPECT_FALSE(binder().isChanged(kMainO5.id));
    EXPECT_FALSE(tracker().hasUnsavedChanges());

    // What the file holds is not a change; an edit after it is.
    view().selectTab(kCommunicationPage);
    EXPECT_EQ(binder().edit(kCommD1.id)->text(),
              GetParam().load ? QStringLiteral("FILE-APN") : typedApn);
    edit(kCommE6);
    EXPECT_EQ(count(kCommunicationPage), 1);
    EXPECT_TRUE(tracker().hasUnsavedChanges());
}

INSTANTIATE_TEST_SUITE_P(Files, ReferenceFromFiles,
                         ::testing::Values(FileCase{"load", true}, FileCase{"save", false}),
                         [](const auto& info) { return caseName(info.param.name); });

TEST_F(ChangesTest, ChangesViewListsTheChangesAndRevertsOneRowThenAll) {
    const std::string apn = readText(state.parameters, "D1");
    edit(kCommD8);
    edit(kMainO5);
    edit(kMainO8);
    const QString typed = binder().edit(kMainO5.id)->text();
    changes().showChanges();
    CChangesView& changesView = *changes().changesView();
    QTableWidget& table = *changesView.table();
    ASSERT_EQ(codesOf(table), (std::vector<QString>{"D8", "O5", "O8"}));
    // Rows in tab order, values as the pages show them.
    EXPECT_EQ(table.item(0, CChangesView::kCode)->text(), QStringLiteral("O5"));
    EXPECT_EQ(table.item(0, CChangesView::kReference)->text(), typed.chopped(1));
    EXPECT_EQ(table.item(0, CChangesView::kCurrent)->text(), typed);
    EXPECT_EQ(table.item(1, CChangesView::kReference)->text(), QStringLiteral("off"));
    EXPECT_EQ(table.item(1, CChangesView::kCurrent)->text(), QStringLiteral("on"));
    EXPECT_EQ(table.item(2, CChangesView::kPage)->text(), QStringLiteral("Communication"));
    EXPECT_EQ(table.item(2, CChangesView::kReference)->text(), QStringLiteral("HTTP"));
    EXPECT_EQ(table.item(2, CChangesView::kCurrent)->text(), QStringLiteral("TCP"));

    // The open page's other edit stays as typed.
    table.selectRow(1);
    test::click(changesView.revertButton());
    EXPECT_FALSE(binder().checkBox(kMainO8.id)->isChecked());
    EXPECT_EQ(binder().edit(kMainO5.id)->text(), typed);
    EXPECT_EQ(codesOf(table), (std::vector<QString>{"D8", "O5"}));
    EXPECT_EQ(count(kMainPage), 1);

    test::click(changesView.revertAllButton());
    EXPECT_EQ(table.rowCount(), 0);
    EXPECT_EQ(counts(), std::vector<int>(kPageCount, 0));
    EXPECT_EQ(binder().edit(kMainO5.id)->text(), typed.chopped(1));
    EXPECT_EQ(readNumber(state.parameters, "D8"), readNumber(tracker().reference(), "D8"));
    EXPECT_EQ(readText(state.parameters, "D1"), apn);
    EXPECT_TRUE(prompter.messages.empty());
}

struct CompareCase {
    const char* name;
    bool file;  // else the defaults
    std::vector<QString> differing;
    const char* takenCode;
    std::vector<QString> differingAfter;
};

class CompareWith : public ChangesTest, public ::testing::WithParamInterface<CompareCase> {};

TEST_P(CompareWith, ListsTheDifferencesAndTakesCheckedValuesOver) {
    const CompareCase& c = GetParam();
    const QString file = profileWith("other.pro", {{"D1", "FILE-APN"}});
    edit(kCommE6);
    edit(kMainO5);
    changes().showCompare();
    CCompareView& compare = *changes().compareView();
    EXPECT_FALSE(compare.trackerButton()->isEnabled()) << "not connected";
    EXPECT_FALSE(compare.trackerNote().isEmpty());

    if (c.file) {
        prompter.answers.push_back(file);
        compare.compareWithFile();
    } else {
        compare.compareWithDefaults();
    }
    QTableWidget& table = *compare.table();
    EXPECT_EQ(codesOf(table), c.differing);
    ASSERT_TRUE(compare.onlyDifferences()->isChecked());
    test::click(compare.onlyDifferences());
    EXPECT_EQ(table.rowCount(), static_cast<int>(changes().values().parameters().size()));
    test::click(compare.onlyDifferences());
    ASSERT_EQ(codesOf(table), c.differing);

    EXPECT_FALSE(compare.takeOverButton()->isEnabled());
    for (int row = 0; row < table.rowCount(); ++row) {
        if (table.item(row, CCompareView::kCode)->text() == QLatin1String(c.takenCode)) {
            table.item(row, CCompareView::kCode)->setCheckState(Qt::Checked);
        }
    }
    test::click(compare.takeOverButton());
    EXPECT_EQ(codesOf(table), c.differingAfter);
    ParameterSet defaults;
    loadDefaultProfile(defaults);
    const IndexedParameter& taken = *view().parameterIndex().find(QString::fromLatin1(c.takenCode));
    EXPECT_EQ(changes().values().windowText(taken),
              c.file ? QStringLiteral("FILE-APN") : changes().values().textIn(taken, defaults));
    EXPECT_EQ(tracker().changedCount(), c.file ? 3 : 1);
    EXPECT_TRUE(prompter.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Sources, CompareWith,
    ::testing::Values(CompareCase{"file", true, {"D1", "E6", "O5"}, "D1", {"E6", "O5"}},
                      CompareCase{"defaults", false, {"E6", "O5"}, "O5", {"E6"}}),
    [](const auto& info) { return caseName(info.param.name); });

struct CloseCase {
    const char* name;
    bool edited;
    Prompter::Answer answer;
    bool fileChosen;
    bool closes;
    bool fileWritten;
};

class ClosePrompt : public ChangesTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(ClosePrompt, AsksOnlyForUnsavedChangesAndDoesWhatTheAnswerSays) {
    const CloseCase& c = GetParam();
    if (c.edited) {
        edit(kMainO5);
    }
    const QString typed = binder().edit(kMainO5.id)->text();
    prompter.closeAnswer = c.answer;
    if (c.fileChosen) {
        prompter.answers.push_back(path("closing.pro"));
    }
    CMainFrame& frame = *app->frame();
    EXPECT_EQ(frame.close(), c.closes);
    EXPECT_EQ(frame.isVisible(), !c.closes);
    EXPECT_EQ(prompter.questions.size(), c.edited ? 1u : 0u);
    EXPECT_EQ(QFile::exists(path("closing.pro")), c.fileWritten);
    if (c.fileWritten) {
        ParameterSet saved;
        ASSERT_TRUE(readProfile(QFile::encodeName(path("closing.pro")).toStdString(), saved).ok);
        EXPECT_EQ(QString::fromLatin1(readText(saved, "O5")), typed);
    }
}

using Answer = Prompter::Answer;
INSTANTIATE_TEST_SUITE_P(
    Answers, ClosePrompt,
    ::testing::Values(CloseCase{"unchanged_closes_unasked", false, Answer::Cancel, false, true,
                                false},
                      CloseCase{"save_writes_and_closes", true, Answer::Ok, true, true, true},
                      CloseCase{"save_cancelled_stays", true, Answer::Ok, false, false, false},
                      CloseCase{"discard_closes", true, Answer::Discard, false, true, false},
                      CloseCase{"cancel_stays", true, Answer::Cancel, false, false, false}),
    [](const auto& info) { return caseName(info.param.name); });

class ChangesWithTracker : public test::DemoWindowFixture<ClosingPrompter> {
protected:
    bool run(const std::function<bool()>& start) {
        QSignalSpy finished(&app->session(), &DeviceSession::operationFinished);
        if (!start()) {
            return false;
        }
        const bool ended = !finished.isEmpty() || finished.wait(20000);
        // A check after a save may read the tracker back; the view waits for it too.
        const bool idle = QTest::qWaitFor([this] { return !app->session().isBusy(); }, 20000);
        return ended && idle && finished.first().at(1).toBool();
    }
    std::vector<QString> comparedWithTracker() {
        CCompareView& compare = *app->changes().compareView();
        QSignalSpy finished(&app->session(), &DeviceSession::operationFinished);
        compare.compareWithTracker();
        EXPECT_TRUE(finished.wait(20000)) << compare.note().toStdString();
        std::vector<QString> codes;
        for (int row = 0; row < compare.table()->rowCount(); ++row) {
            codes.push_back(compare.table()->item(row, CCompareView::kCode)->text());
        }
        return codes;
    }
};

TEST_F(ChangesWithTracker, TheTrackersStateIsTheReferenceAndASaveToItNeedsNoQuestion) {
    ChangeTracker& tracker = app->changes().tracker();
    CCompareView& compare = *app->changes().compareView();
    app->changes().showCompare();
    EXPECT_FALSE(compare.trackerButton()->isEnabled());
    QTest::mouseClick(command(CCommandWindow::kStartStop), Qt::LeftButton);
    ASSERT_TRUE(app->session().isConnected());
    EXPECT_TRUE(compare.trackerButton()->isEnabled());
    EXPECT_TRUE(compare.trackerNote().isEmpty());
    ASSERT_TRUE(run([this] { return app->session().loadFromDevice(); }));

    QLineEdit* deviceId = page()->binder().edit(kMainO5.id);
    deviceId->setText(QStringLiteral("TRUCK-17"));
    EXPECT_EQ(tracker.changedCount(), 1);
    EXPECT_EQ(comparedWithTracker(), std::vector<QString>{"O5"});
    EXPECT_EQ(readText(tracker.reference(), "O5"), readText(demo.simulator().parameters(), "O5"));

    // The tracker holds the edit now; it is still a change from what was read, but not unsaved.
    ASSERT_TRUE(run([this] { return app->session().saveToDevice(); }));
    EXPECT_EQ(tracker.changedCount(), 1);
    EXPECT_FALSE(tracker.hasUnsavedChanges());
    EXPECT_TRUE(comparedWithTracker().empty());
    deviceId->setText(QStringLiteral("TRUCK-18"));
    EXPECT_TRUE(tracker.hasUnsavedChanges());
    deviceId->setText(QStringLiteral("TRUCK-17"));
    EXPECT_TRUE(app->frame()->close());
    EXPECT_TRUE(prompter.questions.empty());
}

}  // namespace
}  // namespace qn470
