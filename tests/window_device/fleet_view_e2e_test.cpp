// SPDX-License-Identifier: Apache-2.0
// The Fleet window against simulated trackers on pseudo-terminals, each holding a random set of
// its own: the rows, the journal entries behind them, unplugging, plugging in while watching,
// Stop during a write, refused input and the port the command window holds.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "app/command_window.h"
#include "app/config_tool_app.h"
#include "app/main_frame.h"
#include "app/views/fleet_view.h"
#include "config/default_profile.h"
#include "config/parameter_table.h"
#include "config/parameter_value.h"
#include "config/profile.h"
#include "journal/journal.h"
#include "pages/page_test_support.h"
#include "serial/serial_link.h"
#include "sim/tracker_simulator.h"
#include "support/case_name.h"
#include "support/journal_entries.h"
#include "support/random_set.h"
#include "support/set_differences.h"
#include "support/wait_until.h"

namespace qn470 {
namespace {

using Outcome = CFleetView::Outcome;

QString imeiOf(int n) {
    return QStringLiteral("3560000000000%1").arg(10 + n);
}

// A tracker of a real fleet: every setting its own, and an identity of its own.
ParameterSet randomTracker(std::mt19937& random, int n) {
    ParameterSet set = randomCheckedSet(random);
    writeText(set, "B2", imeiOf(n).toStdString());
    writeText(set, "O7", "QN470-3." + std::to_string(n));
    return set;
}

class FilePrompter : public test::ScriptedPrompter {
public:
    QString openFileName(const QString&, const QString&, const QString&) override {
        return openName;
    }
    QString openName;
};

class FleetWindow : public ::testing::Test {
protected:
    FleetWindow()
        : settings(dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat),
          state(settings, prompter, choices) {}

    ~FleetWindow() override {
        view = nullptr;
        app.reset();
        qputenv("QN470_JOURNAL", m_journalBefore);
    }

    // False when no pseudo-terminal can be had.
    bool plugIn(const ParameterSet& held, SimulatorOptions options = {}) {
        options.fast = true;
        options.rtcIntervalMs = 0;
        trackers.push_back(std::make_unique<TrackerSimulator>(held, options));
        const bool started = trackers.back()->start();
        ports.push_back(trackers.back()->portName());
        return started;
    }

    // The window with the trackers in its port list, and the Fleet window opened as a user does.
    void startWindow(const QString& journal = {}) {
        qputenv("QN470_JOURNAL", (journal.isEmpty() ? journalLocation() : journal).toUtf8());
        PortSource ports = [this] {
            QList<PortInfo> list;
            for (const auto& tracker : trackers) {
                if (!tracker->portName().isEmpty()) {  // empty while unplugged
                    list.append({tracker->portName(), QStringLiteral("Prolific simulator"), {}});
                }
            }
            return list;
        };
        app = std::make_unique<CconfigToolApp>(state, pageTabs(),
                                               DeviceOptions{ports, intervalMs, false});
        ASSERT_TRUE(app->initInstance());
        QTest::mouseClick(app->frame()->findChild<QPushButton*>(QStringLiteral("fleetButton")),
                          Qt::LeftButton);
        view = app->fleetView();
        ASSERT_TRUE(view->isVisible());
        QObject::connect(view, &CFleetView::runEnded, [this] { ++runsEnded; });
    }

    QString journalLocation() const {
        return QStringLiteral("sqlite:") + dir.filePath(QStringLiteral("journal.db"));
    }

    std::vector<JournalEntry> journalEntries() const { return journalEntriesAt(journalLocation()); }

    // A random profile in a .pro file; returns it as the file gives it back.
    ParameterSet writeProfileFile(std::mt19937& random, const QString& name) {
        ParameterSet profile = randomCheckedSet(random);
        const QString file = dir.filePath(name);
        EXPECT_TRUE(writeProfile(profile, file.toStdString()).ok);
        profile = defaultSet();
        EXPECT_TRUE(readProfile(file.toStdString(), profile).ok);
        return profile;
    }

    bool startAndWait() {
        const int before = runsEnded;
        QTest::mouseClick(view->startButton(), Qt::LeftButton);
        return waitUntil([&] { return runsEnded > before; });
    }

    // The row of the tracker plugged in n-th (under the name it had then).
    int row(int n) const { return view->rowOf(ports[static_cast<std::size_t>(n)]); }
    QString cell(int row, int column) const { return view->table()->item(row, column)->text(); }

    QTemporaryDir dir;
    QSettings settings;
    FilePrompter prompter;
    test::ScriptedChoices choices;
    AppState state;
    std::vector<std::unique_ptr<TrackerSimulator>> trackers;
    std::vector<QString> ports;
    std::unique_ptr<CconfigToolApp> app;
    CFleetView* view = nullptr;
    int intervalMs = 0;
    int runsEnded = 0;

private:
    QByteArray m_journalBefore = qgetenv("QN470_JOURNAL");
};

#define PLUG_IN_OR_SKIP(...)                                                                    \
    if (!plugIn(__VA_ARGS__)) {                                                                 \
        GTEST_SKIP() << "no pseudo-terminal: " << trackers.back()->errorString().toStdString(); \
    }

struct RunCase {
    const char* name;
    bool profileFromFile;  // else the window's values, loaded from the same file first
    bool changedOnly;
    int unplugged;     // the tracker unplugged halfway through its series; -1 none
    bool valuesTable;  // a row per tracker giving each its own Device ID
};

class FleetRuns : public FleetWindow, public ::testing::WithParamInterface<RunCase> {};

TEST_P(FleetRuns, EveryTrackerItsRowAndItsJournalEntry) {
    const RunCase& c = GetParam();
    std::mt19937 random(23 + static_cast<unsigned>(c.unplugged));
    std::vector<ParameterSet> held;
    for (int n = 0; n < 4; ++n) {
        held.push_back(randomTracker(random, n));
        SimulatorOptions options;
        // The load command and its report, then ten set lines.
        options.unplugAfterLines = n == c.unplugged ? 1 + 26 + 10 : 0;
        PLUG_IN_OR_SKIP(held.back(), options);
    }
    const ParameterSet profile = writeProfileFile(random, QStringLiteral("fleet.pro"));
    startWindow();
    if (c.profileFromFile) {
        view->profileEdit()->setText(dir.filePath(QStringLiteral("fleet.pro")));
    } else {
        prompter.openName = dir.filePath(QStringLiteral("fleet.pro"));
        QTest::mouseClick(
            app->frame()->findChild<QPushButton*>(QString::number(CCommandWindow::kLoadFromFile)),
            Qt::LeftButton);
    }
    view->changedOnlyBox()->setChecked(c.changedOnly);
    // Each tracker's own Device ID, its row a line further down than its number.
    std::vector<ParameterSet> expected(4, profile);
    QString names[4];
    if (c.valuesTable) {
        QByteArray table = "imei,O5\n";
        for (int n = 3; n >= 0; --n) {
            table += imeiOf(n).toLatin1() + ",VAN " + QByteArray::number(n) + "\n";
            writeText(expected[n], "O5", "VAN " + std::to_string(n));
            names[n] = QStringLiteral("fleet.pro + fleet.csv line %1").arg(5 - n);
        }
        QFile file(dir.filePath(QStringLiteral("fleet.csv")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(table);
        file.close();
        view->valuesEdit()->setText(file.fileName());
    } else {
        for (QString& name : names) {
            name =
                c.profileFromFile ? QStringLiteral("fleet.pro") : QStringLiteral("window values");
        }
    }
    std::vector<qint64> shown;
    view->setShowInJournal([&](qint64 id) { shown.push_back(id); });
    ASSERT_TRUE(startAndWait());
    view->lookAtPorts();

    const std::vector<JournalEntry> entries = journalEntries();
    EXPECT_EQ(entries.size(), 4u);
    for (int n = 0; n < 4; ++n) {
        SCOPED_TRACE(n);
        const int r = row(n);
        ASSERT_GE(r, 0);
        EXPECT_EQ(cell(r, CFleetView::kImei), imeiOf(n));
        const auto entry = std::find_if(entries.begin(), entries.end(), [&](const JournalEntry& e) {
            return e.id == view->rowEntryId(r);
        });
        ASSERT_NE(entry, entries.end());
        EXPECT_EQ(entry->port, cell(r, CFleetView::kPort));
        EXPECT_EQ(entry->imei, imeiOf(n));
        EXPECT_EQ(entry->kind, QStringLiteral("provision"));
        EXPECT_EQ(entry->profileName, names[n]);
        EXPECT_TRUE(cell(r, CFleetView::kResult).startsWith(entry->result))
            << cell(r, CFleetView::kResult).toStdString();
        if (n == c.unplugged) {
            EXPECT_EQ(view->rowOutcome(r), Outcome::Failed);
            EXPECT_TRUE(entry->result.startsWith(QStringLiteral("failed ")))
                << entry->result.toStdString();
            EXPECT_EQ(cell(r, CFleetView::kStep), QStringLiteral("unplugged"));
        } else {
            EXPECT_EQ(view->rowOutcome(r), Outcome::Verified);
            EXPECT_EQ(entry->result, QStringLiteral("ok"));
            EXPECT_EQ(valuesDiffering(expected[n], trackers[n]->parameters()),
                      std::vector<std::string>{});
            EXPECT_EQ(cell(r, CFleetView::kDeviceId),
                      QString::fromLatin1(readText(expected[n], "O5").c_str()));
        }
        // The row's entry, from the keyboard: down from the first row to it, Enter.
        view->table()->setFocus();
        view->table()->setCurrentCell(0, 0);
        for (int down = 0; down < r; ++down) {
            QTest::keyClick(view->table(), Qt::Key_Down);
        }
        QTest::keyClick(view->table(), Qt::Key_Return);
        ASSERT_FALSE(shown.empty());
        EXPECT_EQ(shown.back(), entry->id);
    }
    EXPECT_EQ(view->summaryLabel()->text(), c.unplugged < 0
                                                ? QStringLiteral("4 verified, 0 failed")
                                                : QStringLiteral("3 verified, 1 failed"));
    EXPECT_TRUE(view->startButton()->isEnabled());
    EXPECT_FALSE(view->stopButton()->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(
    Table, FleetRuns,
    ::testing::Values(RunCase{"profile_file_one_unplugged_halfway", true, false, 2, false},
                      RunCase{"window_values_changed_lines_only", false, true, -1, false},
                      RunCase{"profile_file_changed_lines_first_unplugged", true, true, 0, false},
                      RunCase{"values_table_each_its_device_id", true, true, 1, true}),
    [](const auto& info) { return caseName(info.param.name); });

struct RefusedCase {
    const char* name;
    const char* keep;
    const char* values;   // the values table's text; null: none
    const char* profile;  // file name in the test folder; the written profile unless given
    bool journalUnusable;
    // Each problem line in order: the parts it holds, separated by " ... ".
    std::vector<const char*> problems;
};

class FleetRefuses : public FleetWindow, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(FleetRefuses, EveryProblemALineAndNothingWritten) {
    const RefusedCase& c = GetParam();
    std::mt19937 random(31);
    const ParameterSet held = randomTracker(random, 1);
    PLUG_IN_OR_SKIP(held);
    writeProfileFile(random, QStringLiteral("fleet.pro"));
    QFile blocker(dir.filePath(QStringLiteral("not-a-folder")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    startWindow(c.journalUnusable
                    ? QStringLiteral("sqlite:") + dir.filePath(QStringLiteral("not-a-folder/j.db"))
                    : QString());
    view->profileEdit()->setText(dir.filePath(QString::fromLatin1(c.profile)));
    view->keepEdit()->setText(QString::fromLatin1(c.keep));
    if (c.values != nullptr) {
        QFile table(dir.filePath(QStringLiteral("fleet.csv")));
        ASSERT_TRUE(table.open(QIODevice::WriteOnly));
        table.write(c.values);
        table.close();
        view->valuesEdit()->setText(table.fileName());
    }
    QTest::mouseClick(view->startButton(), Qt::LeftButton);

    EXPECT_FALSE(view->isRunning());
    const QStringList lines = view->problemsText()->toPlainText().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), static_cast<qsizetype>(c.problems.size()))
        << view->problemsText()->toPlainText().toStdString();
    for (std::size_t i = 0; i < c.problems.size(); ++i) {
        const QString& line = lines[static_cast<qsizetype>(i)];
        for (const QString& part :
             QString::fromLatin1(c.problems[i]).split(QStringLiteral(" ... "))) {
            EXPECT_TRUE(line.contains(part))
                << line.toStdString() << " lacks " << part.toStdString();
        }
    }
    EXPECT_FALSE(view->problemsText()->isHidden());
    EXPECT_TRUE(view->messageLabel()->text().startsWith(QStringLiteral("Not started")));
    // Nothing reached the tracker, and nothing was recorded.
    waitUntil([] { return false; }, 300);
    EXPECT_EQ(trackers[0]->setLinesApplied(), 0);
    EXPECT_EQ(valuesDiffering(held, trackers[0]->parameters()), std::vector<std::string>{});
    if (!c.journalUnusable) {
        EXPECT_TRUE(journalEntries().empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, FleetRefuses,
    ::testing::Values(
        RefusedCase{"unknown_keep_code", "O5,ZZ", nullptr, "fleet.pro", false, {"Keep ZZ: "}},
        RefusedCase{"keep_and_its_column",
                    "O5",
                    "imei,O5\n356000000000011,VAN 1\n",
                    "fleet.pro",
                    false,
                    {"fleet.csv: ... Keep O5 keeps each tracker's own value"}},
        RefusedCase{"two_bad_rows",
                    "",
                    "imei,C1\n356000000000011,abc\n356000000000011,300\n",
                    "fleet.pro",
                    false,
                    {"fleet.csv: line 2, column C1, value 'abc'", "fleet.csv: line 3"}},
        RefusedCase{"missing_profile", "", nullptr, "missing.pro", false, {"missing.pro"}},
        RefusedCase{"journal_cannot_be_opened",
                    "",
                    nullptr,
                    "fleet.pro",
                    true,
                    {"Journal: ... not-a-folder/j.db ... nothing is written to a tracker without "
                     "its backup"}}),
    [](const auto& info) { return caseName(info.param.name); });

TEST_F(FleetWindow, ATrackerPluggedInWhileWatchingGetsItsRowAndIsProvisioned) {
    std::mt19937 random(41);
    PLUG_IN_OR_SKIP(randomTracker(random, 0));
    const ParameterSet profile = writeProfileFile(random, QStringLiteral("fleet.pro"));
    startWindow();
    view->profileEdit()->setText(dir.filePath(QStringLiteral("fleet.pro")));
    view->watchBox()->setChecked(true);
    QTest::mouseClick(view->startButton(), Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return view->rowOutcome(row(0)) == Outcome::Verified; }));
    EXPECT_TRUE(view->isRunning());
    EXPECT_FALSE(view->startButton()->isEnabled());

    PLUG_IN_OR_SKIP(randomTracker(random, 1));
    ASSERT_TRUE(waitUntil([&] { return row(1) >= 0; }));
    ASSERT_TRUE(waitUntil([&] { return view->rowOutcome(row(1)) == Outcome::Verified; }))
        << cell(row(1), CFleetView::kResult).toStdString();
    EXPECT_EQ(cell(row(1), CFleetView::kImei), imeiOf(1));
    EXPECT_EQ(valuesDiffering(profile, trackers[1]->parameters()), std::vector<std::string>{});
    EXPECT_EQ(journalEntries().size(), 2u);

    // Unplugged after it verified: its row stays with its result.
    trackers[1]->unplug();
    view->lookAtPorts();
    EXPECT_EQ(cell(row(0), CFleetView::kPort), trackers[0]->portName());
    EXPECT_EQ(view->table()->rowCount(), 2);

    QTest::mouseClick(view->stopButton(), Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return !view->isRunning(); }));
    EXPECT_EQ(view->messageLabel()->text(),
              QStringLiteral("Stopped; no tracker was left half-written."));
}

TEST_F(FleetWindow, StopDuringAWriteNamesTheHalfWrittenTracker) {
    std::mt19937 random(43);
    const ParameterSet held = randomTracker(random, 0);
    PLUG_IN_OR_SKIP(held);
    writeProfileFile(random, QStringLiteral("fleet.pro"));
    intervalMs = 100;  // time to stop it between lines
    startWindow();
    view->profileEdit()->setText(dir.filePath(QStringLiteral("fleet.pro")));
    QTest::mouseClick(view->startButton(), Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return trackers[0]->setLinesApplied() >= 3; }));
    QTest::mouseClick(view->stopButton(), Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return !view->isRunning(); }));

    const QString port = trackers[0]->portName();
    EXPECT_TRUE(view->messageLabel()->text().contains(QStringLiteral("left half-written: ") + port))
        << view->messageLabel()->text().toStdString();
    EXPECT_EQ(view->rowOutcome(row(0)), Outcome::Stopped);
    EXPECT_TRUE(cell(row(0), CFleetView::kResult).contains(QStringLiteral("half-written")));
    const std::vector<JournalEntry> entries = journalEntries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].result, QStringLiteral("stopped"));
    EXPECT_EQ(entries[0].imei, imeiOf(0));

    // Retry writes it whole.
    view->table()->selectRow(row(0));
    ASSERT_TRUE(view->retryButton()->isEnabled());
    QTest::mouseClick(view->retryButton(), Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return view->rowOutcome(row(0)) == Outcome::Verified; }))
        << cell(row(0), CFleetView::kResult).toStdString();
    EXPECT_EQ(journalEntries().size(), 2u);
}

// The station runs in the window's event loop: a key typed into a page while eight trackers are
// written is taken before they are done, and the typing changes nothing of what they get.
TEST_F(FleetWindow, APageTakesTypingWhileEightTrackersAreWritten) {
    std::mt19937 random(47);
    constexpr int kTrackers = 8;
    for (int n = 0; n < kTrackers; ++n) {
        PLUG_IN_OR_SKIP(randomTracker(random, n));
    }
    const ParameterSet profile = writeProfileFile(random, QStringLiteral("fleet.pro"));
    intervalMs = 20;
    startWindow();
    view->profileEdit()->setText(dir.filePath(QStringLiteral("fleet.pro")));
    QTest::mouseClick(view->startButton(), Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return trackers[0]->setLinesApplied() >= 1; }));

    QLineEdit* field = nullptr;
    for (QLineEdit* edit : app->frame()->findChildren<QLineEdit*>()) {
        if (edit->isVisible() && edit->isEnabled() && !edit->isReadOnly() &&
            edit->text().isEmpty()) {
            field = edit;
            break;
        }
    }
    ASSERT_NE(field, nullptr) << "a page field to type into";
    // Queued as a keyboard would, so only a free event loop delivers them.
    for (const char key : std::string("VAN7")) {
        QCoreApplication::postEvent(
            field, new QKeyEvent(QEvent::KeyPress, 0, Qt::NoModifier, QString(QLatin1Char(key))));
    }
    ASSERT_TRUE(waitUntil([&] { return field->text() == QStringLiteral("VAN7"); }));
    int stillRunning = 0;
    for (int n = 0; n < kTrackers; ++n) {
        stillRunning += view->rowOutcome(row(n)) == Outcome::Running ? 1 : 0;
    }
    EXPECT_GT(stillRunning, 0) << "the typing waited for the run";

    ASSERT_TRUE(waitUntil([&] { return !view->isRunning(); }, 60000));
    for (int n = 0; n < kTrackers; ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(view->rowOutcome(row(n)), Outcome::Verified)
            << cell(row(n), CFleetView::kResult).toStdString();
        EXPECT_EQ(valuesDiffering(profile, trackers[static_cast<std::size_t>(n)]->parameters()),
                  std::vector<std::string>{});
    }
}

struct HeldCase {
    const char* name;
    int trackers;  // the first port listed is the one the command window opens
};

class HeldPort : public FleetWindow, public ::testing::WithParamInterface<HeldCase> {};

TEST_P(HeldPort, ThePortTheCommandWindowHoldsIsLeftAloneAndTheViewSaysSo) {
    const HeldCase& c = GetParam();
    std::mt19937 random(47);
    std::vector<ParameterSet> held;
    for (int n = 0; n < c.trackers; ++n) {
        held.push_back(randomTracker(random, n));
        PLUG_IN_OR_SKIP(held.back());
    }
    const ParameterSet profile = writeProfileFile(random, QStringLiteral("fleet.pro"));
    startWindow();
    QTest::mouseClick(
        app->frame()->findChild<QPushButton*>(QString::number(CCommandWindow::kStartStop)),
        Qt::LeftButton);
    ASSERT_TRUE(app->link().isOpen());
    const auto heldAt = std::find(ports.begin(), ports.end(), app->link().portName());
    ASSERT_NE(heldAt, ports.end());
    const int heldIndex = static_cast<int>(heldAt - ports.begin());

    view->profileEdit()->setText(dir.filePath(QStringLiteral("fleet.pro")));
    ASSERT_TRUE(startAndWait());
    EXPECT_EQ(view->rowOutcome(row(heldIndex)), Outcome::Refused);
    EXPECT_TRUE(view->messageLabel()->text().contains(ports[heldIndex] +
                                                      QStringLiteral(" is held open by the "
                                                                     "command window")))
        << view->messageLabel()->text().toStdString();
    EXPECT_EQ(trackers[heldIndex]->setLinesApplied(), 0);
    EXPECT_EQ(valuesDiffering(held[heldIndex], trackers[heldIndex]->parameters()),
              std::vector<std::string>{});
    const std::vector<JournalEntry> entries = journalEntries();
    ASSERT_EQ(entries.size(), static_cast<std::size_t>(c.trackers - 1));
    for (int n = 0; n < c.trackers; ++n) {
        if (n != heldIndex) {
            EXPECT_EQ(view->rowOutcome(row(n)), Outcome::Verified);
            EXPECT_EQ(valuesDiffering(profile, trackers[n]->parameters()),
                      std::vector<std::string>{});
            EXPECT_EQ(entries[0].port, ports[n]);
        }
    }
    EXPECT_TRUE(app->link().isOpen());
}

INSTANTIATE_TEST_SUITE_P(Table, HeldPort,
                         ::testing::Values(HeldCase{"beside_another_tracker", 2},
                                           HeldCase{"the_only_tracker", 1}),
                         [](const auto& info) { return caseName(info.param.name); });

TEST_F(FleetWindow, OpenedByItsKeyEveryControlNamedForAssistiveTools) {
    startWindow();
    view->close();
    app->frame()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(app->frame()));
    QTest::keyClick(app->commandWindow(), Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    // The key presses the button as a click would, which ends a moment later.
    EXPECT_TRUE(waitUntil([&] { return view->isVisible(); }, 5000));
    for (QWidget* widget : view->findChildren<QWidget*>()) {
        const bool control = qobject_cast<QAbstractButton*>(widget) != nullptr ||
                             qobject_cast<QLineEdit*>(widget) != nullptr ||
                             qobject_cast<QAbstractItemView*>(widget) != nullptr ||
                             qobject_cast<QPlainTextEdit*>(widget) != nullptr;
        if (control && widget->parentWidget() == view) {
            EXPECT_FALSE(widget->accessibleName().isEmpty()) << widget->objectName().toStdString();
        }
    }
}

}  // namespace
}  // namespace qn470
