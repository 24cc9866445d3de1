// SPDX-License-Identifier: Apache-2.0
// The Journal window against simulated trackers holding random valid sets, provisioned by qn470
// into the journal the window reads: the list newest first, its filter, an entry's before and
// after states, opening a state into the pages, a restore and the restores it refuses, the CSV
// export and a change of the journal's location.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <memory>
#include <random>
#include <vector>

#include "app/command_window.h"
#include "app/config_tool_app.h"
#include "app/main_frame.h"
#include "app/records/window_journal.h"
#include "app/views/change_tracker.h"
#include "app/views/journal_view.h"
#include "app/views/value_table.h"
#include "app/views/window_changes.h"
#include "config/parameter_table.h"
#include "config/parameter_value.h"
#include "config/profile.h"
#include "config/wire_value.h"
#include "journal/journal.h"
#include "journal/tracker_entry.h"
#include "pages/page_test_support.h"
#include "sim/tracker_simulator.h"
#include "support/cli_process.h"
#include "support/journal_entries.h"
#include "support/random_set.h"
#include "support/wait_until.h"

namespace qn470 {
namespace {

class AnsweringPrompter : public test::ScriptedPrompter {
public:
    Answer message(const QString& text, const QString& caption, Buttons buttons,
                   Icon icon) override {
        test::ScriptedPrompter::message(text, caption, buttons, icon);
        return answer;
    }
    QString saveFileName(const QString&, const QString&, const QString&) override {
        return saveName;
    }
    Answer answer = Answer::Ok;
    QString saveName;
};

std::string wireText(const ParameterSet& set, const char* code) {
    return formatWireValue(set, parameter(code), Wire::Text);
}

QString imeiOf(int n) {
    return QStringLiteral("35600000000010%1").arg(n);
}

// Three trackers holding random sets of their own (IMEI and Device ID known to the test),
// provisioned by qn470 with a random profile; the window reads the journal that run wrote.
class JournalWindow : public testing::Test {
protected:
    JournalWindow()
        : settings(dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat),
          state(settings, prompter, choices) {}

    ~JournalWindow() override { qputenv("QN470_JOURNAL", m_journalBefore); }

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        std::mt19937 random(testing::UnitTest::GetInstance()->random_seed());
        profile = randomCheckedSet(random);
        writeText(profile, "O5", "FLEET");
        SimulatorOptions options;
        options.fast = true;
        options.rtcIntervalMs = 0;
        for (int n = 1; n <= 3; ++n) {
            ParameterSet set = randomCheckedSet(random);
            writeText(set, "B2", imeiOf(n).toStdString());
            writeText(set, "O5", "OLD-" + std::to_string(n));
            held.push_back(set);
            trackers.push_back(std::make_unique<TrackerSimulator>(set, options));
            if (!trackers.back()->start()) {
                GTEST_SKIP() << "no pseudo-terminal: "
                             << trackers.back()->errorString().toStdString();
            }
        }
        const QString pro = dir.filePath(QStringLiteral("fleet.pro"));
        ASSERT_TRUE(writeProfile(profile, pro.toStdString()).ok);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QN470_JOURNAL"), journalLocation());
        QStringList arguments{QStringLiteral("provision"), QStringLiteral("--interval-ms"),
                              QStringLiteral("0")};
        for (const auto& tracker : trackers) {
            arguments << QStringLiteral("--port") << tracker->portName();
        }
        const CliRun run = runQn470(arguments << pro, 60000, environment);
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();

        qputenv("QN470_JOURNAL", journalLocation().toUtf8());
        PortSource ports = [this] {
            QList<PortInfo> list;
            for (const auto& tracker : trackers) {
                list.append({tracker->portName(), QStringLiteral("Prolific simulator"), {}});
            }
            return list;
        };
        app = std::make_unique<CconfigToolApp>(state, pageTabs(), DeviceOptions{ports, 0, false});
        ASSERT_TRUE(app->initInstance());
        QTest::mouseClick(app->frame()->findChild<QPushButton*>(QStringLiteral("journalButton")),
                          Qt::LeftButton);
        view = app->journalView();
        ASSERT_TRUE(view->isVisible());
    }

    QString journalLocation() const {
        return QStringLiteral("sqlite:") + dir.filePath(QStringLiteral("journal.sqlite"));
    }

    std::vector<JournalEntry> journalEntries() { return journalEntriesAt(journalLocation()); }

    // The provisioning entry of tracker n (1-based), found by its IMEI.
    JournalEntry provisioningOf(int n) {
        for (const JournalEntry& e : journalEntries()) {
            if (e.imei == imeiOf(n) && e.kind == QLatin1String("provision")) {
                return e;
            }
        }
        ADD_FAILURE() << "no provisioning of tracker " << n;
        return {};
    }

    QStringList column(int c) const {
        QStringList texts;
        for (int row = 0; row < view->entries()->rowCount(); ++row) {
            texts << view->entries()->item(row, c)->text();
        }
        return texts;
    }

    void choosePort(int n) {
        view->scanPorts();
        for (int i = 0; i < view->portList()->count(); ++i) {
            if (view->portList()->itemText(i).contains(
                    QStringLiteral("(%1)").arg(trackers[n - 1]->portName()))) {
                view->portList()->setCurrentIndex(i);
                return;
            }
        }
        ADD_FAILURE() << "tracker " << n << " is not offered";
    }

    QPushButton* button(const char* name) const {
        return view->findChild<QPushButton*>(QString::fromLatin1(name));
    }

    // The row of `code` in the states table, or -1.
    int stateRow(const char* code) const {
        for (int row = 0; row < view->states()->rowCount(); ++row) {
            if (view->states()->item(row, ValueTable::kCode)->text() == QLatin1String(code)) {
                return row;
            }
        }
        return -1;
    }

    QTemporaryDir dir;
    QSettings settings;
    AnsweringPrompter prompter;
    test::ScriptedChoices choices;
    AppState state;
    QByteArray m_journalBefore = qgetenv("QN470_JOURNAL");
    ParameterSet profile;
    std::vector<ParameterSet> held;
    std::vector<std::unique_ptr<TrackerSimulator>> trackers;
    std::unique_ptr<CconfigToolApp> app;
    CJournalView* view = nullptr;
};

TEST_F(JournalWindow, ListsNewestFirstFiltersAndShowsWhatAnEntryChanged) {
    ASSERT_EQ(view->entries()->rowCount(), 3);
    QStringList ids = column(CJournalView::kId);
    std::vector<qint64> numbers;
    for (const QString& id : ids) {
        numbers.push_back(id.toLongLong());
    }
    EXPECT_TRUE(std::is_sorted(numbers.rbegin(), numbers.rend())) << ids.join(' ').toStdString();
    EXPECT_EQ(column(CJournalView::kKind), QStringList(3, QStringLiteral("provision")));

    QTest::keyClicks(view->filter(), imeiOf(2));
    ASSERT_EQ(column(CJournalView::kImei), QStringList{imeiOf(2)});
    view->filter()->clear();
    QTest::keyClicks(view->filter(), QStringLiteral("PROVISION ok"));
    EXPECT_EQ(view->entries()->rowCount(), 3);
    view->filter()->setText(QStringLiteral("differs"));
    EXPECT_EQ(view->entries()->rowCount(), 0);
    view->filter()->clear();
    view->dateRange()->setChecked(true);
    view->from()->setDate(QDate::currentDate().addDays(1));
    view->to()->setDate(QDate::currentDate().addDays(2));
    EXPECT_EQ(view->entries()->rowCount(), 0);
    view->dateRange()->setChecked(false);

    // The keyboard moves through the entries; the states follow the selection.
    const JournalEntry second = provisioningOf(2);
    ASSERT_TRUE(view->showEntry(second.id));
    view->entries()->setFocus();
    const int row = view->entries()->currentRow();
    QTest::keyClick(view->entries(), row == 0 ? Qt::Key_Down : Qt::Key_Up);
    EXPECT_NE(view->selectedId(), second.id);
    QTest::keyClick(view->entries(), row == 0 ? Qt::Key_Up : Qt::Key_Down);
    ASSERT_EQ(view->selectedId(), second.id);

    // Before: what tracker 2 held; after: the profile.
    const int o5 = stateRow("O5");
    ASSERT_GE(o5, 0);
    EXPECT_EQ(view->states()->item(o5, ValueTable::kLeft)->text(), "OLD-2");
    EXPECT_EQ(view->states()->item(o5, ValueTable::kRight)->text(), "FLEET");
    EXPECT_TRUE(view->details()->text().contains(imeiOf(2)));
    EXPECT_TRUE(view->details()->text().contains("fleet.pro"));
    EXPECT_TRUE(view->details()->text().contains(
        QStringLiteral("%1 field(s) differ").arg(view->states()->rowCount())))
        << view->details()->text().toStdString();

    // The before state goes into the pages, marked against the after state.
    QTest::mouseClick(button("openBefore"), Qt::LeftButton);
    EXPECT_EQ(wireText(app->session().parameters(), "O5"), "OLD-2");
    EXPECT_EQ(wireText(app->session().parameters(), "E0"), wireText(held[1], "E0"));
    std::vector<QString> marked;
    for (const IndexedParameter* p : app->changes().tracker().changed()) {
        marked.push_back(p->code);
    }
    EXPECT_NE(std::find(marked.begin(), marked.end(), QStringLiteral("O5")), marked.end());
    QTest::mouseClick(button("openAfter"), Qt::LeftButton);
    EXPECT_EQ(wireText(app->session().parameters(), "O5"), "FLEET");
    EXPECT_EQ(app->changes().tracker().changedCount(), static_cast<int>(marked.size()));
}

TEST_F(JournalWindow, RestoresOneTrackerToWhatItHeld) {
    const JournalEntry entry = provisioningOf(2);
    ASSERT_TRUE(view->showEntry(entry.id));
    choosePort(2);
    const int linesBefore = trackers[0]->setLinesApplied() + trackers[2]->setLinesApplied();
    QTest::mouseClick(button("restoreToTracker"), Qt::LeftButton);
    ASSERT_FALSE(prompter.messages.empty());
    const QString& confirmation = prompter.messages.back();
    EXPECT_TRUE(confirmation.contains(imeiOf(2))) << confirmation.toStdString();
    EXPECT_TRUE(confirmation.contains(QStringLiteral("journal entry %1").arg(entry.id)));
    EXPECT_TRUE(confirmation.contains(entry.time.toUTC().toString(Qt::ISODate)));
    ASSERT_TRUE(waitUntil([&] { return !view->restoring(); })) << view->note().toStdString();

    // Every setting a profile holds, as tracker 2 held it before the provisioning.
    const ParameterSet& now = trackers[1]->parameters();
    for (const Parameter& p : allParameters()) {
        if (p.profile == ProfileUse::ReadWrite) {
            EXPECT_EQ(formatWireValue(now, p, Wire::Text), formatWireValue(held[1], p, Wire::Text))
                << p.code;
        }
    }
    EXPECT_EQ(trackers[0]->setLinesApplied() + trackers[2]->setLinesApplied(), linesBefore);
    const JournalEntry restore = journalEntries().back();
    EXPECT_EQ(restore.kind, "restore");
    EXPECT_EQ(restore.result, "ok");
    EXPECT_EQ(restore.imei, imeiOf(2));
    EXPECT_EQ(restore.profileName, QStringLiteral("journal entry %1").arg(entry.id));
    EXPECT_EQ(view->entries()->item(0, CJournalView::kId)->text().toLongLong(), restore.id);
    EXPECT_TRUE(view->note().contains("verified")) << view->note().toStdString();
}

struct Refusal {
    const char* name;
    int entryOf;     // the tracker whose provisioning is restored; 0: an entry without states
    int port;        // the tracker chosen
    bool connected;  // the command window holds tracker 1's port open
    bool confirmed;
    // %1 the entry, %2 the chosen tracker's port
    const char* note;
};

class JournalWindowRefuses : public JournalWindow, public testing::WithParamInterface<Refusal> {};

TEST_P(JournalWindowRefuses, NamesWhyAndWritesNothing) {
    const Refusal& r = GetParam();
    qint64 id = 0;
    if (r.entryOf == 0) {
        QString error;
        const std::unique_ptr<Journal> journal = Journal::open(journalLocation(), &error);
        ASSERT_TRUE(journal);
        id = journal->record(
            trackerEntry(EntryKind::kLoad, trackers[0]->portName(), nullptr, nullptr,
                         OperationResult::failed(OperationResult::Step::Read, "no answer")),
            &error);
        view->reload();
    } else {
        id = provisioningOf(r.entryOf).id;
    }
    ASSERT_TRUE(view->showEntry(id));
    if (r.connected) {
        auto* ports =
            app->frame()->findChild<QComboBox*>(QString::number(CCommandWindow::kPortList));
        ports->setCurrentIndex(ports->findText(QStringLiteral("(%1)").arg(trackers[0]->portName()),
                                               Qt::MatchEndsWith));
        QTest::mouseClick(
            app->frame()->findChild<QPushButton*>(QString::number(CCommandWindow::kStartStop)),
            Qt::LeftButton);
        ASSERT_TRUE(app->session().isConnected());
    }
    choosePort(r.port);
    prompter.answer = r.confirmed ? Prompter::Answer::Ok : Prompter::Answer::Cancel;
    const std::size_t entries = journalEntries().size();
    std::vector<int> lines;
    for (const auto& tracker : trackers) {
        lines.push_back(tracker->setLinesApplied());
    }
    QTest::mouseClick(button("restoreToTracker"), Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return !view->restoring(); }));
    QString expected = QString::fromLatin1(r.note);
    expected.replace(QLatin1String("%1"), QString::number(id))
        .replace(QLatin1String("%2"), trackers[r.port - 1]->portName());
    EXPECT_TRUE(view->note().contains(expected))
        << view->note().toStdString() << "\nwanted: " << expected.toStdString();
    EXPECT_EQ(journalEntries().size(), entries);
    for (std::size_t i = 0; i < trackers.size(); ++i) {
        EXPECT_EQ(trackers[i]->setLinesApplied(), lines[i]) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, JournalWindowRefuses,
    testing::Values(
        Refusal{"other_imei", 1, 3, false, true,
                "journal entry %1 is of IMEI 356000000000101, the tracker on %2 is IMEI "
                "356000000000103"},
        Refusal{"no_before_state", 0, 1, false, true, "journal entry %1 holds no before state"},
        Refusal{"port_held_by_the_command_window", 1, 1, true, true,
                "The command window holds %2 open"},
        Refusal{"not_confirmed", 2, 2, false, false, "Nothing restored."}),
    [](const testing::TestParamInfo<Refusal>& info) { return std::string(info.param.name); });

TEST_F(JournalWindow, ExportsCsvAndChangesItsLocationOnlyToOneThatOpens) {
    prompter.saveName = dir.filePath(QStringLiteral("out/journal.csv"));
    QTest::mouseClick(button("exportCsv"), Qt::LeftButton);
    EXPECT_TRUE(view->note().contains("Not exported")) << view->note().toStdString();
    prompter.saveName = dir.filePath(QStringLiteral("journal.csv"));
    QTest::mouseClick(button("exportCsv"), Qt::LeftButton);
    QFile csv(prompter.saveName);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = csv.readAll().split('\n');
    ASSERT_EQ(lines.size(), 5);  // header, three entries, the last line's end
    EXPECT_TRUE(lines[0].startsWith("id,time,station,port,imei,device_id"));
    for (int n = 1; n <= 3; ++n) {
        EXPECT_TRUE(lines[n].contains(imeiOf(n).toLatin1()));
    }

    const QString bad = QStringLiteral("nosuch:%1").arg(dir.filePath("x"));
    QTest::keyClicks(view->newLocation(), bad);
    QTest::mouseClick(button("useJournalLocation"), Qt::LeftButton);
    EXPECT_TRUE(view->note().startsWith("Kept the journal at")) << view->note().toStdString();
    EXPECT_TRUE(view->note().contains("nosuch")) << view->note().toStdString();
    EXPECT_EQ(view->entries()->rowCount(), 3);
    EXPECT_TRUE(view->location()->text().contains("QN470_JOURNAL"));

    const QString other = QStringLiteral("sqlite:") + dir.filePath(QStringLiteral("other.sqlite"));
    view->newLocation()->setText(other);
    QTest::mouseClick(button("useJournalLocation"), Qt::LeftButton);
    EXPECT_EQ(view->entries()->rowCount(), 0);
    EXPECT_EQ(app->journal().location(), other);
    EXPECT_EQ(settings.value("journalLocation").toString(), other);
    EXPECT_TRUE(view->location()->text().contains(dir.filePath(QStringLiteral("other.sqlite"))));
}

// A hostile tracker's texts reach the table and the details with their controls escaped.
TEST_F(JournalWindow, ShowsStoredControlCharactersEscaped) {
    QString error;
    const std::unique_ptr<Journal> journal = Journal::open(journalLocation(), &error);
    ASSERT_TRUE(journal) << error.toStdString();
    JournalEntry hostile = provisioningOf(1);
    hostile.deviceId = QStringLiteral("VAN\x1b]0;owned\x07");
    hostile.station = QStringLiteral("bench\r\n");
    const qint64 id = journal->record(hostile, &error);
    ASSERT_GT(id, 0) << error.toStdString();
    ASSERT_TRUE(view->showEntry(id));
    const int row = view->entries()->currentRow();
    EXPECT_EQ(view->entries()->item(row, CJournalView::kDeviceId)->text(), "VAN\\x1B]0;owned\\x07");
    EXPECT_EQ(view->entries()->item(row, CJournalView::kStation)->text(), "bench\\x0D\\x0A");
    EXPECT_TRUE(view->details()->text().contains("VAN\\x1B]0;owned\\x07"))
        << view->details()->text().toStdString();
    EXPECT_FALSE(view->details()->text().contains(QChar(0x1b)));
}

TEST_F(JournalWindow, EveryControlHasAnAccessibleName) {
    QStringList unnamed;
    for (QWidget* w : view->findChildren<QWidget*>()) {
        const bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
                             qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractSpinBox*>(w) ||
                             qobject_cast<QTableWidget*>(w);
        // The parts Qt builds inside a control (a date edit's line edit) are its own.
        if (control && w->parentWidget() != nullptr &&
            (qobject_cast<QAbstractSpinBox*>(w->parentWidget()) ||
             qobject_cast<QComboBox*>(w->parentWidget()) ||
             qobject_cast<QLineEdit*>(w->parentWidget()) ||
             w->parentWidget()->inherits("QAbstractScrollArea") ||
             w->parentWidget()->inherits("QHeaderView"))) {
            continue;
        }
        if (control && w->accessibleName().isEmpty()) {
            unnamed << w->metaObject()->className() + QStringLiteral(" ") + w->objectName();
        }
    }
    EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join(", ").toStdString();
    EXPECT_FALSE(app->frame()
                     ->findChild<QPushButton*>(QStringLiteral("journalButton"))
                     ->accessibleName()
                     .isEmpty());
}

// The filter as a user types it: every word somewhere in IMEI, Device ID, kind or result.
struct FilterCase {
    const char* name;
    const char* words;
    int fromDays;  // relative to the entry's day; 99: not set
    int toDays;
    bool matches;
};

class JournalFilter : public testing::TestWithParam<FilterCase> {};

TEST_P(JournalFilter, MatchesWordsAndDays) {
    const FilterCase& c = GetParam();
    JournalEntry e;
    e.time = QDateTime(QDate(2026, 3, 14), QTime(12, 0), Qt::LocalTime).toUTC();
    e.imei = QStringLiteral("356000000000101");
    e.deviceId = QStringLiteral("Van-7");
    e.kind = QStringLiteral("provision");
    e.result = QStringLiteral("differs C1 O5");
    e.port = QStringLiteral("pts/9");
    e.station = QStringLiteral("bench");
    const QDate day(2026, 3, 14);
    const auto at = [&](int days) {
        return days == 99 ? std::nullopt : std::optional<QDate>(day.addDays(days));
    };
    EXPECT_EQ(entryMatches(e, QString::fromUtf8(c.words), at(c.fromDays), at(c.toDays)), c.matches);
}

INSTANTIATE_TEST_SUITE_P(
    Table, JournalFilter,
    testing::Values(FilterCase{"empty", "", 99, 99, true},
                    FilterCase{"imei_part", "0101", 99, 99, true},
                    FilterCase{"device_id_any_case", "van-7", 99, 99, true},
                    FilterCase{"kind_and_result_words", "provision  differs o5", 99, 99, true},
                    FilterCase{"one_word_missing", "provision ok", 99, 99, false},
                    FilterCase{"port_is_not_searched", "pts/9", 99, 99, false},
                    FilterCase{"station_is_not_searched", "bench", 99, 99, false},
                    FilterCase{"within_the_days", "", -1, 1, true},
                    FilterCase{"on_the_first_and_last_day", "", 0, 0, true},
                    FilterCase{"after_the_range", "", -3, -1, false},
                    FilterCase{"before_the_range", "", 1, 99, false},
                    FilterCase{"only_a_last_day", "", 99, 0, true}),
    [](const testing::TestParamInfo<FilterCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qn470
