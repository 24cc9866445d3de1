// SPDX-License-Identifier: Apache-2.0
// The window's records of what it did to a tracker, against the simulator on a pseudo-terminal:
// the check after a save, the journal, the session log, and what the window shows while the
// adapter is unplugged and plugged in again.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <memory>
#include <random>
#include <vector>

#include "app/command_window.h"
#include "app/config_tool_app.h"
#include "app/config_tool_view.h"
#include "app/main_frame.h"
#include "app/records/save_to_device.h"
#include "app/records/save_verifier.h"
#include "app/records/session_log.h"
#include "app/records/window_journal.h"
#include "config/default_profile.h"
#include "config/parameter_value.h"
#include "config/profile.h"
#include "journal/journal.h"
#include "pages/page.h"
#include "pages/page_test_support.h"
#include "serial/serial_link.h"
#include "sim/tracker_simulator.h"
#include "support/case_name.h"
#include "support/random_set.h"
#include "support/wait_until.h"

namespace qn470 {
namespace {

class SavingPrompter : public test::ScriptedPrompter {
public:
    QString saveFileName(const QString&, const QString&, const QString&) override {
        return saveName;
    }
    QString saveName;
};

// The whole window against a simulated tracker whose failure modes the test chooses, with its
// settings and journal in a temporary folder and its prompts captured.
template <typename Base = ::testing::Test>
class DeviceWindowFixture : public Base {
protected:
    DeviceWindowFixture()
        : settings(dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat),
          state(settings, prompter, choices) {}

    ~DeviceWindowFixture() override {
        qputenv("QN470_JOURNAL", m_journalBefore);
        for (const QString& alias : m_aliases) {
            QFile::remove(aliasPath(alias));
        }
    }

    // The tracker holds its defaults with a Device ID of its own.
    static ParameterSet trackerParameters() {
        ParameterSet set;
        loadDefaultProfile(set);
        writeText(set, "O5", "UNIT-7");
        writeNumber(set, "J9", 12345);
        return set;
    }

    // False (with the test skipped) when no pseudo-terminal can be had.
    bool startWindow(SimulatorOptions options = {}, QString journal = {},
                     const ParameterSet& held = trackerParameters()) {
        options.fast = true;
        options.rtcIntervalMs = 0;
        tracker = std::make_unique<TrackerSimulator>(held, options);
        if (!tracker->start()) {
            return false;
        }
        qputenv("QN470_JOURNAL", (journal.isEmpty() ? journalLocation() : journal).toUtf8());
        if (aliased) {
            portAlias = newAlias();
            if (portAlias.isEmpty()) {
                ADD_FAILURE() << "no free name in /dev/shm for the tracker";
                return false;
            }
        }
        const TrackerSimulator* simulator = tracker.get();
        PortSource ports = [this, simulator] {
            QList<PortInfo> list;
            // A link whose terminal is gone is gone too, as an unplugged adapter's node is.
            const QString name = !aliased                                  ? simulator->portName()
                                 : QFileInfo::exists(aliasPath(portAlias)) ? portAlias
                                                                           : QString();
            if (!name.isEmpty()) {
                list.append({name, QStringLiteral("Prolific simulator"), {}});
            }
            return list;
        };
        app = std::make_unique<CconfigToolApp>(state, pageTabs(), DeviceOptions{ports, 2, true});
        return app->initInstance();
    }

    // The tracker under a name the test chooses, whatever number the system gave its terminal:
    // a link to it in /dev/shm, which everyone may write, named "shm/qXXXX" (a port name is at
    // most 9 characters; an unqualified name is under /dev).
    static QString aliasPath(const QString& alias) { return QStringLiteral("/dev/") + alias; }
    QString newAlias() {
        static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
        for (int attempt = 0; attempt < 100; ++attempt) {
            QString alias = QStringLiteral("shm/q");
            for (int i = 0; i < 4; ++i) {
                alias += QLatin1Char(kLetters[QRandomGenerator::global()->bounded(36)]);
            }
            // Fails when the name is taken, by another test too.
            if (QFile::link(tracker->devicePath(), aliasPath(alias))) {
                m_aliases.push_back(alias);
                return alias;
            }
        }
        return {};
    }
    // Points the alias at the tracker's terminal of now.
    bool pointAlias(const QString& alias) const {
        QFile::remove(aliasPath(alias));
        return QFile::link(tracker->devicePath(), aliasPath(alias));
    }

    QString journalLocation() const {
        return QStringLiteral("sqlite:") + dir.filePath(QStringLiteral("journal.db"));
    }

    template <typename T = QPushButton>
    T* control(const QString& name) const {
        return app->frame()->findChild<T*>(name);
    }
    QPushButton* command(int id) const { return control(QString::number(id)); }
    QString status() const { return app->session().statusText(); }
    // Types into a field of the page on show; the save stores it.
    void setField(int id, const QString& text) const {
        app->frame()
            ->view()
            ->currentPage()
            ->findChild<QLineEdit*>(QString::number(id))
            ->setText(text);
    }

    bool start() {
        QTest::mouseClick(command(CCommandWindow::kStartStop), Qt::LeftButton);
        return app->session().link().isOpen();
    }
    // Presses a load or save button and waits until it (and a save's check) ended.
    bool run(int id) {
        bool ended = false;
        auto done =
            QObject::connect(&app->saveToDevice(), &SaveToDevice::ended, [&] { ended = true; });
        auto loaded = QObject::connect(&app->session(), &DeviceSession::operationFinished,
                                       [&](DeviceSession::Operation operation, bool) {
                                           ended =
                                               ended || operation == DeviceSession::Operation::Load;
                                       });
        QTest::mouseClick(command(id), Qt::LeftButton);
        const bool result = waitUntil([&] { return ended; }, 20000);
        QObject::disconnect(done);
        QObject::disconnect(loaded);
        return result;
    }

    QTemporaryDir dir;
    QSettings settings;
    SavingPrompter prompter;
    test::ScriptedChoices choices;
    AppState state;
    std::unique_ptr<TrackerSimulator> tracker;
    std::unique_ptr<CconfigToolApp> app;
    // Set before startWindow(): the port list offers the tracker under portAlias, a name of
    // the test's (newAlias()), instead of its terminal's.
    bool aliased = false;
    QString portAlias;

private:
    QByteArray m_journalBefore = qgetenv("QN470_JOURNAL");
    std::vector<QString> m_aliases;
};

// The Main page's field of J9, shown at start.
constexpr int kJ9 = 1196;

// What goes wrong with the tracker: from the start, or between the save and its check.
enum class Fault { None, ReportLineDropped, Silent, ValueChanged, Unplugged };

struct VerifyCase {
    const char* name;
    Fault fault;
    bool verify;
    const char* status;  // exact, or the start of it when it does not end in CR LF
};

class VerifyAfterSave : public DeviceWindowFixture<::testing::TestWithParam<VerifyCase>> {};

TEST_P(VerifyAfterSave, StatusAndMessageSayWhatTheTrackerHolds) {
    const VerifyCase& c = GetParam();
    SimulatorOptions options;
    options.dropReportLine = c.fault == Fault::ReportLineDropped ? 7 : 0;
    options.silent = c.fault == Fault::Silent;
    if (!startWindow(options)) {
        GTEST_SKIP() << "no pseudo-terminal";
    }
    app->session().setIdleTimeout(c.fault == Fault::Silent ? 300 : 3000);
    if (!c.verify) {
        test::click(control<QCheckBox>(QStringLiteral("verifyAfterSave")));
    }
    EXPECT_EQ(settings.value(QStringLiteral("verifyAfterSave"), true).toBool(), c.verify);
    ASSERT_TRUE(start());

    bool saved = false;
    int checks = 0;
    QObject::connect(
        &app->session(), &DeviceSession::operationFinished,
        [&](DeviceSession::Operation op) { saved |= op == DeviceSession::Operation::Save; });
    QObject::connect(&app->session(), &DeviceSession::operationStarted, [&] {
        checks += saved;
        if (saved && c.fault == Fault::ValueChanged) {
            writeNumber(tracker->parameters(), "J9", 777);
        } else if (saved && c.fault == Fault::Unplugged) {
            tracker->unplug();
        }
    });
    ASSERT_TRUE(run(CCommandWindow::kSaveToDevice));

    const QString expected = QString::fromLatin1(c.status);
    if (expected.endsWith(QStringLiteral("\r\n"))) {
        EXPECT_EQ(status(), expected);
    } else {
        EXPECT_TRUE(status().startsWith(expected)) << status().toStdString();
    }
    EXPECT_EQ(checks, c.verify ? 1 : 0);
    const bool differs = c.fault == Fault::ValueChanged;
    ASSERT_EQ(prompter.captions,
              differs ? std::vector{QStringLiteral("Verify")} : std::vector<QString>{});
    if (differs) {
        EXPECT_TRUE(prompter.messages[0].contains(QStringLiteral("J9) ")))
            << prompter.messages[0].toStdString();
        EXPECT_TRUE(prompter.messages[0].contains(QStringLiteral("sent \"11500\", held \"777\"")));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Window, VerifyAfterSave,
    ::testing::Values(
        VerifyCase{"clean", Fault::None, true, "Verify: the tracker holds every value sent.\r\n"},
        VerifyCase{"value_changed", Fault::ValueChanged, true,
                   "FAIL ! Verify: 1 values differ on the tracker.\r\n"},
        VerifyCase{"report_line_dropped", Fault::ReportLineDropped, true,
                   "FAIL ! Verify: the tracker could not be read back (report incomplete: "},
        VerifyCase{"tracker_silent", Fault::Silent, true,
                   "FAIL ! Verify: the tracker could not be read back (no answer).\r\n"},
        VerifyCase{"unplugged_during_check", Fault::Unplugged, true,
                   "FAIL ! Verify: the tracker could not be read back (link lost).\r\n"},
        VerifyCase{"off", Fault::None, false, "Save Data to device is complete.\r\n"}),
    [](const auto& info) { return caseName(info.param.name); });

// The codes a save can be checked by, as the journal's stored profile holds them.
std::vector<CodeDifference> differencesFrom(const ParameterSet& expected,
                                            const QByteArray& stored) {
    ParameterSet read;
    loadDefaultProfile(read);
    EXPECT_TRUE(readProfileBytes(stored.toStdString(), read).ok);
    return differingCodes(expected, read, CodeSelection::SentAndReported);
}

struct JournalCase {
    const char* name;
    bool loadFirst;
};

class WindowJournalEntries : public DeviceWindowFixture<::testing::TestWithParam<JournalCase>> {};

TEST_P(WindowJournalEntries, KeepWhatTheTrackerHeldBeforeAndAfter) {
    if (!startWindow()) {
        GTEST_SKIP() << "no pseudo-terminal";
    }
    const ParameterSet held = tracker->parameters();
    ASSERT_TRUE(start());
    if (GetParam().loadFirst) {
        ASSERT_TRUE(run(CCommandWindow::kLoadFromDevice));
    }
    setField(kJ9, QStringLiteral("4242"));
    ASSERT_TRUE(run(CCommandWindow::kSaveToDevice));
    ASSERT_EQ(readNumber(tracker->parameters(), "J9"), 4242);
    // Reading the tracker for the journal left the record alone.
    EXPECT_EQ(readText(state.parameters, "O5") == "UNIT-7", GetParam().loadFirst);

    QString error;
    const std::unique_ptr<Journal> journal = Journal::open(journalLocation(), &error);
    ASSERT_NE(journal, nullptr) << error.toStdString();
    const std::vector<JournalEntry> entries = journal->list({}, &error);
    ASSERT_EQ(entries.size(), GetParam().loadFirst ? 2u : 1u);
    if (GetParam().loadFirst) {
        EXPECT_EQ(entries[0].kind, QStringLiteral("load"));
        EXPECT_EQ(entries[0].result, QStringLiteral("ok"));
    }
    const std::optional<JournalEntry> save = journal->entry(entries.back().id, &error);
    ASSERT_TRUE(save.has_value()) << error.toStdString();
    EXPECT_EQ(save->kind, QStringLiteral("save"));
    EXPECT_EQ(save->result, QStringLiteral("ok"));
    EXPECT_EQ(save->port, tracker->portName());
    EXPECT_EQ(save->deviceId, QString::fromStdString(readText(tracker->parameters(), "O5")));
    EXPECT_TRUE(save->codesWritten.contains(QStringLiteral("J9")));
    EXPECT_TRUE(differencesFrom(held, save->before).empty());
    EXPECT_TRUE(differencesFrom(tracker->parameters(), save->after).empty());
}

INSTANTIATE_TEST_SUITE_P(Window, WindowJournalEntries,
                         ::testing::Values(JournalCase{"after_load", true},
                                           JournalCase{"without_load", false}),
                         [](const auto& info) { return caseName(info.param.name); });

// The steps of "Save to device" as the tracker sees them: read first only when its state is not
// known on this connection, verify only when on.
struct SaveOrderCase {
    const char* name;
    bool loadFirst;
    bool verify;
    int saves;
    std::vector<DeviceSession::Operation> operations;  // after the load, if any
    bool beforeKnown;                                  // of the last save
};

class SaveToDeviceOrder : public DeviceWindowFixture<::testing::TestWithParam<SaveOrderCase>> {};

TEST_P(SaveToDeviceOrder, ReadsBeforeSavesThenVerifies) {
    const SaveOrderCase& c = GetParam();
    if (!startWindow()) {
        GTEST_SKIP() << "no pseudo-terminal";
    }
    if (!c.verify) {
        test::click(control<QCheckBox>(QStringLiteral("verifyAfterSave")));
    }
    ASSERT_TRUE(start());
    if (c.loadFirst) {
        ASSERT_TRUE(run(CCommandWindow::kLoadFromDevice));
    }
    std::vector<DeviceSession::Operation> seen;
    QObject::connect(&app->session(), &DeviceSession::operationStarted,
                     [&](DeviceSession::Operation operation) { seen.push_back(operation); });
    std::vector<SaveOutcome> outcomes;
    QObject::connect(&app->saveToDevice(), &SaveToDevice::ended,
                     [&](const SaveOutcome& outcome) { outcomes.push_back(outcome); });
    for (int i = 0; i < c.saves; ++i) {
        setField(kJ9, QString::number(4000 + i));
        ASSERT_TRUE(run(CCommandWindow::kSaveToDevice));
    }
    EXPECT_EQ(seen, c.operations);
    ASSERT_EQ(outcomes.size(), static_cast<size_t>(c.saves));
    const SaveOutcome& last = outcomes.back();
    EXPECT_TRUE(last.saved);
    EXPECT_EQ(last.port, tracker->portName());
    EXPECT_EQ(last.check, c.verify ? SaveOutcome::Check::Holds : SaveOutcome::Check::Off);
    ASSERT_EQ(last.before.has_value(), c.beforeKnown);
    // The first save found the tracker's own set; a second one what the first sent.
    EXPECT_EQ(readNumber(*last.before, "J9"), c.saves == 1 ? 12345 : 4000 + c.saves - 2);
    EXPECT_EQ(app->saveToDevice().step(), SaveToDevice::Step::Idle);
}

using Op = DeviceSession::Operation;
INSTANTIATE_TEST_SUITE_P(
    Window, SaveToDeviceOrder,
    ::testing::Values(
        SaveOrderCase{
            "unknown_verified", false, true, 1, {Op::ReadBack, Op::Save, Op::ReadBack}, true},
        SaveOrderCase{"unknown_unverified", false, false, 1, {Op::ReadBack, Op::Save}, true},
        SaveOrderCase{"loaded_verified", true, true, 1, {Op::Save, Op::ReadBack}, true},
        SaveOrderCase{"loaded_unverified", true, false, 1, {Op::Save}, true},
        SaveOrderCase{"second_save_knows_the_first",
                      false,
                      false,
                      2,
                      {Op::ReadBack, Op::Save, Op::Save},
                      true}),
    [](const auto& info) { return caseName(info.param.name); });

class WindowDevice : public DeviceWindowFixture<> {};

TEST_F(WindowDevice, JournalThatCannotBeOpenedIsReportedOnceAndSavesGoOn) {
    QFile plain(dir.filePath(QStringLiteral("plain")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    if (!startWindow({}, QStringLiteral("sqlite:") + plain.fileName() + QStringLiteral("/j.db"))) {
        GTEST_SKIP() << "no pseudo-terminal";
    }
    ASSERT_TRUE(start());
    for (const int value : {4100, 4200}) {
        setField(kJ9, QString::number(value));
        ASSERT_TRUE(run(CCommandWindow::kSaveToDevice));
        EXPECT_EQ(readNumber(tracker->parameters(), "J9"), value);
        EXPECT_EQ(status(), QStringLiteral("Verify: the tracker holds every value sent.\r\n"));
    }
    ASSERT_EQ(prompter.captions, std::vector<QString>{QStringLiteral("Journal")});
    EXPECT_TRUE(prompter.messages[0].contains(plain.fileName()));
    EXPECT_FALSE(app->journal().isAvailable());
}

// A profile from another fleet saved to a tracker holding other values in every code: the save
// verifies, Bk (which no set line carries) is only a note, and the journal agrees.
TEST_F(WindowDevice, ProfileFromAnotherFleetVerifiesWithBkAsANote) {
    std::mt19937 random(23);
    ParameterSet held = randomCheckedSet(random);
    writeText(held, "Bk", "00Tracker parking");
    if (!startWindow({}, {}, held)) {
        GTEST_SKIP() << "no pseudo-terminal";
    }
    ASSERT_TRUE(start());
    ParameterSet profile = randomCheckedSet(random);
    writeText(profile, "Bk", "00Profile parking");
    app->session().replaceRecord(profile, RecordSource::File);
    ASSERT_TRUE(run(CCommandWindow::kSaveToDevice));
    EXPECT_EQ(status(),
              QStringLiteral("Verify: the tracker holds every value sent. Not writable: Bk.\r\n"));
    EXPECT_EQ(prompter.captions, std::vector<QString>{});
    EXPECT_EQ(readText(tracker->parameters(), "Bk"), "00Tracker parking");

    QString error;
    const std::unique_ptr<Journal> journal = Journal::open(journalLocation(), &error);
    ASSERT_NE(journal, nullptr) << error.toStdString();
    const std::vector<JournalEntry> entries = journal->list({}, &error);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].result, QStringLiteral("ok"));
    EXPECT_FALSE(entries[0].codesWritten.contains(QStringLiteral("Bk")));
    EXPECT_EQ(entries[0].codesWritten.front(), QStringLiteral("A0"));
}

TEST_F(WindowDevice, SessionLogKeepsEveryLineWithItsTimeAndDirection) {
    QStandardPaths::setTestModeEnabled(true);
    if (!startWindow()) {
        GTEST_SKIP() << "no pseudo-terminal";
    }
    QFile::remove(app->sessionLog().currentFile());
    test::click(control<QCheckBox>(QStringLiteral("sessionLog")));
    ASSERT_TRUE(start());
    ASSERT_TRUE(run(CCommandWindow::kLoadFromDevice));
    prompter.saveName = dir.filePath(QStringLiteral("saved.log"));
    app->commandWindow()->saveLog();

    QFile daily(app->sessionLog().currentFile());
    ASSERT_TRUE(daily.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(daily.readAll());
    QFile::remove(daily.fileName());
    const QString stamp = QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}  ");
    for (const QString& line :
         {QStringLiteral("\\*  serial port is open success\\.$"),
          QStringLiteral(">  KXC,KorvelantQN-470,L0"), QStringLiteral("<  .*UNIT-7"),
          QStringLiteral("\\*  Load data from device is complete\\.$")}) {
        const QRegularExpression pattern(stamp + line, QRegularExpression::MultilineOption);
        EXPECT_TRUE(pattern.match(text).hasMatch()) << line.toStdString();
    }
    QFile saved(prompter.saveName);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(text.startsWith(QString::fromUtf8(saved.readAll())));
}

struct ReplugCase {
    const char* name;
    bool duringLoad;
    bool newName;  // the adapter comes back under another name
    const char* lostStatus;
};

class Replug : public DeviceWindowFixture<::testing::TestWithParam<ReplugCase>> {};

// The names are the test's own (links to the simulator's terminal), so neither the number the
// system hands out nor tests running beside this one decide which case happens.
TEST_P(Replug, WindowShowsTheLinkAsItIs) {
    aliased = true;
    if (!startWindow()) {
        GTEST_SKIP() << "no pseudo-terminal";
    }
    const QString port = portAlias;
    ASSERT_TRUE(start());
    ASSERT_EQ(app->session().link().portName(), port);
    QPushButton* startStop = command(CCommandWindow::kStartStop);
    ASSERT_EQ(startStop->text(), QStringLiteral("Stop"));
    if (GetParam().duringLoad) {
        auto once = std::make_shared<QMetaObject::Connection>();
        *once = QObject::connect(&app->session(), &DeviceSession::operationStarted, tracker.get(),
                                 [this, once] {
                                     QObject::disconnect(*once);
                                     tracker->unplug();
                                 });
        QTest::mouseClick(command(CCommandWindow::kLoadFromDevice), Qt::LeftButton);
    } else {
        tracker->unplug();
    }
    ASSERT_TRUE(waitUntil([&] { return startStop->text() == QStringLiteral("Start"); }, 5000));
    EXPECT_EQ(status(),
              QString::fromLatin1(GetParam().lostStatus).replace(QStringLiteral("%1"), port));

    ASSERT_TRUE(tracker->replug());
    if (GetParam().newName) {
        QFile::remove(aliasPath(port));
        portAlias = newAlias();
        ASSERT_FALSE(portAlias.isEmpty());
    } else {
        ASSERT_TRUE(pointAlias(port));
    }
    auto* ports =
        app->commandWindow()->findChild<QComboBox*>(QString::number(CCommandWindow::kPortList));
    // Back under its old name it is reopened; under a new one it is offered for Start.
    const QString offered = QStringLiteral("Prolific simulator (%1)").arg(portAlias);
    ASSERT_TRUE(waitUntil(
        [&] {
            return GetParam().newName ? ports->currentText() == offered
                                      : app->session().link().isOpen();
        },
        5000));
    ASSERT_EQ(app->session().link().isOpen(), !GetParam().newName);
    if (GetParam().newName) {
        EXPECT_EQ(startStop->text(), QStringLiteral("Start"));
        EXPECT_TRUE(start());
        EXPECT_EQ(app->session().link().portName(), portAlias);
    } else {
        EXPECT_EQ(status(), QStringLiteral("Link reopened: %1.\r\n").arg(port));
    }
    EXPECT_EQ(startStop->text(), QStringLiteral("Stop"));
    ASSERT_TRUE(run(CCommandWindow::kLoadFromDevice));
    EXPECT_EQ(status(), QStringLiteral("Load data from device is complete.\r\n"));
}

INSTANTIATE_TEST_SUITE_P(
    Window, Replug,
    ::testing::Values(ReplugCase{"idle_same_name", false, false, "Link lost: %1 is gone.\r\n"},
                      ReplugCase{"idle_new_name", false, true, "Link lost: %1 is gone.\r\n"},
                      ReplugCase{"during_load_new_name", true, true,
                                 "FAIL ! Load data from device is not complete.\r\n"}),
    [](const auto& info) { return caseName(info.param.name); });

}  // namespace
}  // namespace qn470
