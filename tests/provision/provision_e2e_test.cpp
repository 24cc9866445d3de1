// SPDX-License-Identifier: Apache-2.0
// qn470 provision and restore as processes against simulated trackers running in this test, with
// a journal in a temporary SQLite file.

#include <unistd.h>

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <iostream>
#include <memory>
#include <random>
#include <set>

#include "config/default_profile.h"
#include "config/parameter_value.h"
#include "config/profile.h"
#include "config/series_difference.h"
#include "journal/journal.h"
#include "provision/provision_station.h"
#include "session/code_comparison.h"
#include "sim/tracker_simulator.h"
#include "support/cli_process.h"
#include "support/journal_entries.h"
#include "support/postgres_server.h"
#include "support/private_runtime.h"
#include "support/random_set.h"
#include "support/set_differences.h"

namespace qn470 {
namespace {

// A tracker's own parameter set: its IMEI, Device ID and a few settings differ by n.
ParameterSet trackerSet(int n) {
    ParameterSet set = defaultSet();
    writeText(set, "B2", "35600000000000" + std::to_string(n));
    writeText(set, "O5", "VAN-" + std::to_string(n));
    writeNumber(set, "C1", 60 + 30 * n);
    writeText(set, "E0", "fleet" + std::to_string(n) + ".example.com");
    return set;
}

// The fleet's profile: differs from the defaults in three set lines (C1, O5, E0 sit in three
// different blocks).
ParameterSet fleetProfile() {
    ParameterSet set = defaultSet();
    writeNumber(set, "C1", 300);
    writeText(set, "O5", "FLEET");
    writeText(set, "E0", "fleet.example.com");
    return set;
}

class Provision : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(writeProfile(fleetProfile(), m_dir.filePath("fleet.pro").toStdString()).ok);
        m_environment.insert(QStringLiteral("QN470_JOURNAL"), journalLocation());
        ASSERT_TRUE(m_runtime.make(m_dir.filePath(QStringLiteral("runtime")), m_environment));
    }

    void TearDown() override { m_trackers.clear(); }

    QString journalLocation() const {
        return QStringLiteral("sqlite:") + m_dir.filePath(QStringLiteral("journal.sqlite"));
    }

    // Starts a simulated tracker per set; false when no pseudo-terminal can be had.
    bool startTrackers(const std::vector<ParameterSet>& sets, SimulatorOptions options = {}) {
        options.fast = true;
        options.rtcIntervalMs = 0;
        options.announce = true;  // for --watch
        for (const ParameterSet& set : sets) {
            m_trackers.push_back(std::make_unique<TrackerSimulator>(set, options));
            if (!m_trackers.back()->start()) {
                return false;
            }
        }
        return true;
    }

    CliRun qn470(QStringList arguments) { return runQn470(arguments, 30000, m_environment); }

    QStringList portArguments() const {
        QStringList arguments;
        for (const std::unique_ptr<TrackerSimulator>& tracker : m_trackers) {
            arguments << QStringLiteral("--port") << tracker->portName();
        }
        return arguments;
    }

    std::vector<JournalEntry> journalEntries() { return journalEntriesAt(journalLocation()); }

    QTemporaryDir m_dir;
    test::PrivateRuntime m_runtime;
    QProcessEnvironment m_environment = QProcessEnvironment::systemEnvironment();
    std::vector<std::unique_ptr<TrackerSimulator>> m_trackers;
};

#define START_TRACKERS_OR_SKIP(...)                                                               \
    if (!startTrackers(__VA_ARGS__)) {                                                            \
        GTEST_SKIP() << "no pseudo-terminal: " << m_trackers.back()->errorString().toStdString(); \
    }

ParameterSet fromStored(const QByteArray& stored) {
    ParameterSet set = defaultSet();
    EXPECT_TRUE(readProfileBytes(std::string_view(stored.constData(), stored.size()), set).ok);
    return set;
}

TEST_F(Provision, FourTrackersAtOnceEachVerifiedJournaledAndRestorable) {
    std::vector<ParameterSet> held;
    for (int n = 1; n <= 4; ++n) {
        held.push_back(trackerSet(n));
    }
    START_TRACKERS_OR_SKIP(held);
    const CliRun run = qn470(QStringList{"provision", "--interval-ms", "0"} + portArguments() +
                             QStringList{m_dir.filePath("fleet.pro")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();

    const std::vector<JournalEntry> entries = journalEntries();
    ASSERT_EQ(entries.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        const TrackerSimulator& tracker = *m_trackers[i];
        SCOPED_TRACE(tracker.portName().toStdString());
        EXPECT_TRUE(run.out.contains(
            QRegularExpression(QStringLiteral("^%1  35600000000000%2  FLEET  ok  \\d+\\.\\d s$")
                                   .arg(QRegularExpression::escape(tracker.portName()))
                                   .arg(i + 1),
                               QRegularExpression::MultilineOption)))
            << run.out.toStdString();
        EXPECT_EQ(describe(differingCodes(fleetProfile(), tracker.parameters(),
                                          CodeSelection::SentAndReported)),
                  "");
        const auto entry = std::find_if(entries.begin(), entries.end(), [&](const JournalEntry& e) {
            return e.port == tracker.portName();
        });
        ASSERT_NE(entry, entries.end());
        EXPECT_EQ(entry->kind, "provision");
        EXPECT_EQ(entry->result, "ok");
        EXPECT_EQ(entry->imei, QStringLiteral("35600000000000%1").arg(i + 1));
        EXPECT_EQ(entry->profileName, "fleet.pro");
        EXPECT_EQ(entry->profileSha256.size(), 64);
        // The before state is what this tracker held, the after state what it holds now.
        EXPECT_EQ(
            describe(differingCodes(held[i], fromStored(entry->before), CodeSelection::Reported)),
            "");
        EXPECT_EQ(describe(differingCodes(tracker.parameters(), fromStored(entry->after),
                                          CodeSelection::Reported)),
                  "");
    }

    // The second tracker goes back to what it held, found by its IMEI.
    const CliRun restore =
        qn470({"restore", "--interval-ms", "0", "--port", m_trackers[1]->portName()});
    ASSERT_EQ(restore.exitCode, 0) << restore.err.toStdString();
    EXPECT_EQ(describe(differingCodes(held[1], m_trackers[1]->parameters(),
                                      CodeSelection::SentAndReported)),
              "");
    EXPECT_EQ(journalEntries().back().kind, "restore");
}

TEST_F(Provision, ChangedLinesOnlyAndTheWholeSeriesWhenTheTrackerIgnoresPartOfOne) {
    const struct {
        const char* name;
        bool fullSeriesOnly;
        int linesApplied;  // set lines the tracker took
        bool wroteAll;
    } cases[] = {
        // C1, O5 and E0 sit in three blocks; the first and the closing block frame them.
        {"takes any series", false, 5, false},
        {"takes whole series only", true, kEncodedBlockCount, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_trackers.clear();
        SimulatorOptions options;
        options.fullSeriesOnly = c.fullSeriesOnly;
        START_TRACKERS_OR_SKIP({defaultSet()}, options);
        const CliRun run = qn470(QStringList{"provision", "--changed", "--interval-ms", "0"} +
                                 portArguments() + QStringList{m_dir.filePath("fleet.pro")});
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(m_trackers[0]->setLinesApplied(), c.linesApplied);
        EXPECT_EQ(run.err.contains(": writing all"), c.wroteAll) << run.err.toStdString();
        EXPECT_EQ(describe(differingCodes(fleetProfile(), m_trackers[0]->parameters(),
                                          CodeSelection::SentAndReported)),
                  "");
    }
}

TEST_F(Provision, AnUnpluggedTrackerFailsAndTheOthersFinish) {
    std::vector<ParameterSet> held = {trackerSet(1), trackerSet(2), trackerSet(3)};
    START_TRACKERS_OR_SKIP(held);
    // Halfway through the series: the load command and its report, then ten set lines.
    SimulatorOptions unplugging;
    unplugging.fast = true;
    unplugging.rtcIntervalMs = 0;
    unplugging.unplugAfterLines = 1 + 26 + 10;
    m_trackers[1] = std::make_unique<TrackerSimulator>(held[1], unplugging);
    ASSERT_TRUE(m_trackers[1]->start());
    const CliRun run = qn470(QStringList{"provision", "--interval-ms", "0"} + portArguments() +
                             QStringList{m_dir.filePath("fleet.pro")});
    EXPECT_EQ(run.exitCode, 1);
    const QString port = m_trackers[1]->portName();
    EXPECT_TRUE(run.out.contains(QRegularExpression(QStringLiteral("  failed [^\\n]+"))))
        << run.out.toStdString();
    EXPECT_EQ(run.out.count(QStringLiteral("  ok  ")), 2) << run.out.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("left half-written: "))) << run.err.toStdString();
    EXPECT_EQ(journalEntries().size(), 3u);
}

// Waits with the event loop running until check() holds or ms pass.
template <typename Check>
bool waitFor(Check check, int ms = 20000) {
    QElapsedTimer clock;
    clock.start();
    while (!check() && clock.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return check();
}

TEST_F(Provision, WatchTakesEachTrackerAsItIsPluggedInUntilStopped) {
    START_TRACKERS_OR_SKIP({trackerSet(1)});
    QProcess watch;
    watch.setProcessEnvironment(m_environment);
    watch.start(QStringLiteral(QN470_CLI),
                {"provision", "--watch", "--interval-ms", "0", m_dir.filePath("fleet.pro")});
    QString out;
    const auto verified = [&](int count) {
        return waitFor([&] {
            out += QString::fromLocal8Bit(watch.readAllStandardOutput());
            return out.count(QStringLiteral("  FLEET  ok  ")) >= count;
        });
    };
    // Present at the start, then one plugged in later.
    ASSERT_TRUE(verified(1)) << out.toStdString();
    START_TRACKERS_OR_SKIP({trackerSet(2)});
    ASSERT_TRUE(verified(2)) << out.toStdString();
    EXPECT_TRUE(out.contains(m_trackers[1]->portName())) << out.toStdString();
    watch.terminate();  // as Ctrl+C: every tracker stopped cleanly, the summary printed
    ASSERT_TRUE(waitFor([&] { return watch.state() == QProcess::NotRunning; }));
    EXPECT_EQ(watch.exitCode(), 0);
    EXPECT_TRUE(watch.readAllStandardError().contains("2 trackers: 2 verified, 0 not"));
    for (const auto& tracker : m_trackers) {
        EXPECT_EQ(describe(differingCodes(fleetProfile(), tracker->parameters(),
                                          CodeSelection::SentAndReported)),
                  "");
    }
}

TEST_F(Provision, StoppedOrKilledWhileWritingTheBeforeStateIsKept) {
    const struct {
        const char* name;
        bool kill;       // SIGKILL instead of Ctrl+C
        QString result;  // in the journal
    } cases[] = {
        {"stopped", false, "stopped"},
        {"killed", true, "unfinished"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_trackers.clear();
        QFile::remove(m_dir.filePath("journal.sqlite"));
        START_TRACKERS_OR_SKIP({trackerSet(1)});
        QProcess provision;
        provision.setProcessEnvironment(m_environment);
        provision.start(QStringLiteral(QN470_CLI),
                        QStringList{"provision", "--interval-ms", "100"} + portArguments() +
                            QStringList{m_dir.filePath("fleet.pro")});
        ASSERT_TRUE(waitFor([&] { return m_trackers[0]->setLinesApplied() >= 3; }));
        c.kill ? provision.kill() : provision.terminate();
        ASSERT_TRUE(waitFor([&] { return provision.state() == QProcess::NotRunning; }));
        if (!c.kill) {
            const QString err = QString::fromLocal8Bit(provision.readAllStandardError());
            EXPECT_EQ(provision.exitCode(), 1);
            EXPECT_TRUE(err.contains("left half-written: " + m_trackers[0]->portName()))
                << err.toStdString();
            EXPECT_TRUE(provision.readAllStandardOutput().contains("  stopped  "));
        }
        const std::vector<JournalEntry> entries = journalEntries();
        ASSERT_EQ(entries.size(), 1u);
        EXPECT_EQ(entries[0].result, c.result);
        EXPECT_EQ(describe(differingCodes(trackerSet(1), fromStored(entries[0].before),
                                          CodeSelection::Reported)),
                  "");
    }
}

// A tracker of a real fleet: every setting its own, and an identity and Bk text of its own.
ParameterSet randomTracker(std::mt19937& random, int n) {
    ParameterSet set = randomCheckedSet(random);
    writeText(set, "B2", "3560000000000" + std::to_string(10 + n));
    writeText(set, "B3", "2620100000000" + std::to_string(10 + n));
    writeText(set, "Bk", "00Parked " + std::to_string(n) + "$+IMEI:$S");
    writeText(set, "O7", "QN470-3." + std::to_string(n));
    return set;
}

// The line qn470 printed for a port, or empty.
QString lineOf(const QString& out, const QString& port) {
    for (const QString& line : out.split(QLatin1Char('\n'))) {
        if (line.startsWith(port + QStringLiteral("  "))) {
            return line;
        }
    }
    return {};
}

struct FleetCase {
    const char* name;
    QStringList command;  // before the ports and the profile
    bool save;            // qn470 save --verify, one tracker
};

// A profile from another fleet, written to trackers that each hold other values in every code
// (Bk and the codes only a tracker reports too): everything a set line carries arrives and
// verifies; what none carries is a note, never a failure.
TEST_F(Provision, RandomFleetAndProfileDifferingInEveryCodeVerifyWithANote) {
    const FleetCase cases[] = {
        {"provision", {"provision", "--interval-ms", "0"}, false},
        {"provision changed lines", {"provision", "--changed", "--interval-ms", "0"}, false},
        {"save verify", {"save", "--verify", "--interval-ms", "0"}, true},
    };
    std::mt19937 random(19);
    for (const FleetCase& c : cases) {
        SCOPED_TRACE(c.name);
        m_trackers.clear();
        QFile::remove(m_dir.filePath("journal.sqlite"));
        std::vector<ParameterSet> held;
        for (int n = 0; n < (c.save ? 1 : 3); ++n) {
            held.push_back(randomTracker(random, n));
        }
        ParameterSet profile = randomCheckedSet(random);
        writeText(profile, "Bk", "00Profile parking text");
        const QString file = m_dir.filePath("other-fleet.pro");
        ASSERT_TRUE(writeProfile(profile, file.toStdString()).ok);
        profile = defaultSet();  // as the file gives it back
        ASSERT_TRUE(readProfile(file.toStdString(), profile).ok);
        START_TRACKERS_OR_SKIP(held);
        const CliRun run = qn470(c.command + portArguments() + QStringList{file});
        ASSERT_EQ(run.exitCode, 0) << run.out.toStdString() << run.err.toStdString();
        EXPECT_FALSE(run.err.contains(QStringLiteral("half-written"))) << run.err.toStdString();
        if (c.save) {
            EXPECT_TRUE(run.err.contains(QStringLiteral("qn470: not writable: Bk\n")))
                << run.err.toStdString();
        }
        const std::vector<JournalEntry> entries = journalEntries();
        ASSERT_EQ(entries.size(), held.size());
        for (std::size_t i = 0; i < held.size(); ++i) {
            const TrackerSimulator& tracker = *m_trackers[i];
            EXPECT_EQ(valuesDiffering(profile, tracker.parameters(), kNeverWritten),
                      std::vector<std::string>{});
            EXPECT_EQ(readText(tracker.parameters(), "Bk"), readText(held[i], "Bk"));
            if (!c.save) {
                const QString line = lineOf(run.out, tracker.portName());
                EXPECT_TRUE(line.contains(QStringLiteral("  ok  "))) << line.toStdString();
                EXPECT_TRUE(line.endsWith(QStringLiteral("  (not writable: Bk)")))
                    << line.toStdString();
            }
            // Entries come in the order trackers answered, which the test does not choose.
            const auto found =
                std::find_if(entries.begin(), entries.end(),
                             [&](const JournalEntry& e) { return e.port == tracker.portName(); });
            ASSERT_NE(found, entries.end());
            const JournalEntry& entry = *found;
            EXPECT_EQ(entry.result, QStringLiteral("ok"));
            EXPECT_EQ(valuesDiffering(held[i], fromStored(entry.before), {}),
                      std::vector<std::string>{});
            EXPECT_FALSE(entry.codesWritten.contains(QStringLiteral("Bk")));
            QStringList once = entry.codesWritten;
            EXPECT_EQ(once.removeDuplicates(), 0);
        }
        // A whole series writes every code but those; in sending order, from the first line.
        const JournalEntry& whole = entries.front();
        if (QString(c.name) != "provision changed lines") {
            EXPECT_EQ(whole.codesWritten.size(),
                      static_cast<qsizetype>(kParameterCount - kNeverWritten.size()));
            EXPECT_EQ(whole.codesWritten.front(), QStringLiteral("A0"));
        }
    }
}

// A tracker whose firmware does not take C1: the whole series arrives, and the result says it
// differs (not failed, not half-written), after writing everything once more when only changed
// lines went first.
TEST_F(Provision, ATrackerThatKeepsAValueDiffersAfterAWholeSeries) {
    const FleetCase cases[] = {
        {"provision", {"provision", "--interval-ms", "0"}, false},
        {"provision changed lines", {"provision", "--changed", "--interval-ms", "0"}, false},
        {"save verify", {"save", "--verify", "--interval-ms", "0"}, true},
    };
    std::mt19937 random(20);
    for (const FleetCase& c : cases) {
        SCOPED_TRACE(c.name);
        m_trackers.clear();
        QFile::remove(m_dir.filePath("journal.sqlite"));
        const ParameterSet held = randomTracker(random, 1);
        ParameterSet profile = randomCheckedSet(random);
        writeNumber(profile, "C1", readNumber(held, "C1") == 300 ? 301 : 300);
        const QString file = m_dir.filePath("other-fleet.pro");
        ASSERT_TRUE(writeProfile(profile, file.toStdString()).ok);
        SimulatorOptions options;
        options.ignoredCode = "C1";
        START_TRACKERS_OR_SKIP({held}, options);
        const CliRun run = qn470(c.command + portArguments() + QStringList{file});
        EXPECT_EQ(run.exitCode, 1) << run.err.toStdString();
        EXPECT_FALSE(run.err.contains(QStringLiteral("half-written"))) << run.err.toStdString();
        if (c.save) {
            EXPECT_EQ(run.out, QStringLiteral("C1: %1 -> %2\n")
                                   .arg(readNumber(profile, "C1"))
                                   .arg(readNumber(held, "C1")));
        } else {
            EXPECT_TRUE(lineOf(run.out, m_trackers[0]->portName()).contains("  differs C1  "))
                << run.out.toStdString();
            EXPECT_TRUE(run.err.contains(QStringLiteral("1 trackers: 0 verified, 1 not")));
        }
        EXPECT_EQ(run.err.contains(QStringLiteral(": writing all")),
                  c.command.contains(QStringLiteral("--changed")));
        const std::vector<JournalEntry> entries = journalEntries();
        ASSERT_EQ(entries.size(), 1u);
        EXPECT_EQ(entries[0].result, QStringLiteral("differs C1"));
        EXPECT_EQ(readNumber(fromStored(entries[0].after), "C1"), readNumber(held, "C1"));
    }
}

// Restore writes back only what is surely this tracker's own: a tracker without an IMEI needs
// --entry, a second restore finds the provisioning (not the first restore) and writes nothing, and
// friendly port names are taken as load and save take them.
TEST_F(Provision, RestoreTakesOnlyTheTrackersOwnEntryAndNeverUndoesItself) {
    std::mt19937 random(21);
    std::vector<ParameterSet> held = {randomTracker(random, 1), randomTracker(random, 2),
                                      randomTracker(random, 3)};
    writeText(held[0], "B2", "");  // two trackers that report no IMEI
    writeText(held[1], "B2", "");
    START_TRACKERS_OR_SKIP(held);
    QStringList friendly;  // as 'qn470 ports' lists them
    for (const auto& tracker : m_trackers) {
        friendly << QStringLiteral("--port") << tracker->friendlyName();
    }
    const CliRun provision = qn470(QStringList{"provision", "--interval-ms", "0"} + friendly +
                                   QStringList{m_dir.filePath("fleet.pro")});
    ASSERT_EQ(provision.exitCode, 0) << provision.err.toStdString();
    const std::vector<JournalEntry> provisioned = journalEntries();
    ASSERT_EQ(provisioned.size(), 3u);
    const auto entryOf = [&](std::size_t i) {
        const QString port = m_trackers[i]->portName();
        return std::find_if(provisioned.begin(), provisioned.end(),
                            [&](const JournalEntry& e) { return e.port == port; })
            ->id;
    };
    const auto restore = [&](std::size_t i, QStringList extra = {}) {
        return qn470(
            QStringList{"restore", "--interval-ms", "0", "--port", m_trackers[i]->friendlyName()} +
            extra);
    };

    const CliRun blind = restore(0);
    EXPECT_EQ(blind.exitCode, 1);
    EXPECT_TRUE(blind.err.contains(QStringLiteral("reports no IMEI"))) << blind.err.toStdString();
    EXPECT_EQ(valuesDiffering(fleetProfile(), m_trackers[0]->parameters(), kNeverWritten),
              std::vector<std::string>{});

    const CliRun named = restore(0, {"--entry", QString::number(entryOf(0))});
    EXPECT_EQ(named.exitCode, 0) << named.err.toStdString();
    EXPECT_EQ(valuesDiffering(held[0], m_trackers[0]->parameters(), {}),
              std::vector<std::string>{});
    const CliRun otherEntry = restore(1, {"--entry", QString::number(entryOf(2))});
    EXPECT_EQ(otherEntry.exitCode, 2);
    EXPECT_TRUE(otherEntry.err.contains(QStringLiteral("is of IMEI 356000000000013")))
        << otherEntry.err.toStdString();

    // A Device ID that changed since is said before writing.
    writeText(m_trackers[2]->parameters(), "O5", "RENAMED");
    const CliRun first = restore(2);
    EXPECT_EQ(first.exitCode, 0) << first.err.toStdString();
    EXPECT_TRUE(first.err.contains(QStringLiteral("reports RENAMED"))) << first.err.toStdString();
    EXPECT_EQ(valuesDiffering(held[2], m_trackers[2]->parameters(), {}),
              std::vector<std::string>{});
    const int linesBefore = m_trackers[2]->setLinesApplied();
    const CliRun second = restore(2);
    EXPECT_EQ(second.exitCode, 0) << second.err.toStdString();
    EXPECT_TRUE(second.out.contains(QStringLiteral("already holds the before state of journal "
                                                   "entry %1")
                                        .arg(entryOf(2))))
        << second.out.toStdString();
    EXPECT_EQ(m_trackers[2]->setLinesApplied(), linesBefore);
    EXPECT_EQ(valuesDiffering(held[2], m_trackers[2]->parameters(), {}),
              std::vector<std::string>{});

    const CliRun noTracker =
        qn470({"restore", "--port", "Prolific simulator ()", "--journal", journalLocation()});
    EXPECT_EQ(noTracker.exitCode, 2);
    EXPECT_TRUE(noTracker.err.contains(QStringLiteral("no port name in its brackets")))
        << noTracker.err.toStdString();
}

// Two trackers that report one IMEI cannot both be found again by it: the second is refused
// before anything is written, naming both ports.
TEST_F(Provision, TwoTrackersWithOneImeiInOneRunAreNotBothWritten) {
    std::mt19937 random(22);
    std::vector<ParameterSet> held = {randomTracker(random, 1), randomTracker(random, 2)};
    writeText(held[1], "B2", readText(held[0], "B2"));
    START_TRACKERS_OR_SKIP(held);
    const CliRun run = qn470(QStringList{"provision", "--interval-ms", "0"} + portArguments() +
                             QStringList{m_dir.filePath("fleet.pro")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out.count(QStringLiteral("  ok  ")), 1) << run.out.toStdString();
    EXPECT_EQ(run.out.count(QStringLiteral("  failed check: IMEI 356000000000011 is reported by ")),
              1)
        << run.out.toStdString();
    EXPECT_FALSE(run.err.contains(QStringLiteral("half-written"))) << run.err.toStdString();
    int untouched = 0;
    for (const auto& tracker : m_trackers) {
        untouched += tracker->setLinesApplied() == 0;
    }
    EXPECT_EQ(untouched, 1);
}

// A station that provisions all day holds only the trackers still running.
TEST_F(Provision, AStationReleasesEveryFinishedTracker) {
    constexpr int kTrackers = 100;
    constexpr int kAtOnce = 10;
    ProvisionRequest request;
    request.intervalMs = 0;
    request.profile = fleetProfile();
    ProvisionStation station(request, [] { return QList<PortInfo>{}; });
    int finished = 0;
    QObject::connect(
        &station, &ProvisionStation::trackerFinished, [&](TrackerProvisioner* tracker) {
            EXPECT_TRUE(tracker->outcome().result.isOk()) << tracker->outcome().result.text();
            ++finished;
        });
    const auto residentKb = [] {
        QFile statm(QStringLiteral("/proc/self/statm"));
        return statm.open(QIODevice::ReadOnly)
                   ? statm.readAll().split(' ').value(1).toLong() * (::getpagesize() / 1024)
                   : 0L;
    };
    long afterFirstBatch = 0;
    std::size_t mostHeld = 0;
    for (int batch = 0; batch < kTrackers / kAtOnce; ++batch) {
        m_trackers.clear();
        std::vector<ParameterSet> sets;
        for (int n = 0; n < kAtOnce; ++n) {
            sets.push_back(trackerSet(batch * kAtOnce + n));
        }
        START_TRACKERS_OR_SKIP(sets);
        for (const auto& tracker : m_trackers) {
            station.addPort(tracker->portName());
        }
        mostHeld = std::max(mostHeld, station.heldTrackers());
        ASSERT_TRUE(waitFor([&] { return finished == (batch + 1) * kAtOnce; }));
        ASSERT_TRUE(waitFor([&] { return station.heldTrackers() == 0; }));
        if (batch == 0) {
            afterFirstBatch = residentKb();
        }
    }
    EXPECT_EQ(mostHeld, static_cast<std::size_t>(kAtOnce));
    // Printed for the record; the assertion above is what holds on every machine.
    std::cout << "resident memory after 10 trackers: " << afterFirstBatch << " KB, after "
              << kTrackers << ": " << residentKb() << " KB\n";
}

// A load that fails means the same in the journal whoever tried it: the step that failed and why,
// never a status line cut down.
TEST_F(Provision, AFailedReadIsJournaledAlikeByEveryCommand) {
    SimulatorOptions options;
    options.dropReportLine = 3;
    START_TRACKERS_OR_SKIP({trackerSet(1)}, options);
    const QString port = m_trackers[0]->portName();
    const QString fleet = m_dir.filePath("fleet.pro");
    const CliRun load = qn470({"load", "--port", port, m_dir.filePath("out.pro")});
    const CliRun save = qn470({"save", "--interval-ms", "0", "--port", port, fleet});
    const CliRun provision = qn470({"provision", "--interval-ms", "0", "--port", port, fleet});
    for (const CliRun* run : {&load, &save, &provision}) {
        EXPECT_EQ(run->exitCode, 1) << run->err.toStdString();
    }
    const std::vector<JournalEntry> entries = journalEntries();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_TRUE(entries[0].result.startsWith(QStringLiteral("failed read: report incomplete: ")))
        << entries[0].result.toStdString();
    for (const JournalEntry& entry : entries) {
        EXPECT_EQ(entry.result, entries[0].result) << entry.kind.toStdString();
        EXPECT_TRUE(entry.codesWritten.isEmpty()) << entry.kind.toStdString();
    }
    EXPECT_EQ(m_trackers[0]->setLinesApplied(), 0);
}

// The journal file vanishes while a tracker is written: the tracker's line says its entry was not
// kept, and the summary counts it as not verified, as the exit status does.
TEST_F(Provision, ATrackerWhoseEntryWasNotKeptIsNamedAndNotCountedVerified) {
    START_TRACKERS_OR_SKIP({trackerSet(1)});
    QProcess provision;
    provision.setProcessEnvironment(m_environment);
    provision.start(QStringLiteral(QN470_CLI), QStringList{"provision", "--interval-ms", "20"} +
                                                   portArguments() +
                                                   QStringList{m_dir.filePath("fleet.pro")});
    ASSERT_TRUE(waitFor([&] { return m_trackers[0]->setLinesApplied() >= 1; }));
    ASSERT_TRUE(QFile::remove(m_dir.filePath("journal.sqlite")));
    ASSERT_TRUE(waitFor([&] { return provision.state() == QProcess::NotRunning; }));
    const QString err = QString::fromLocal8Bit(provision.readAllStandardError());
    EXPECT_EQ(provision.exitCode(), 1);
    EXPECT_TRUE(err.contains(m_trackers[0]->portName() +
                             QStringLiteral(": the journal did not keep its entry: ")))
        << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("1 trackers: 0 verified, 1 not"))) << err.toStdString();
}

// Several stations of one fleet keep one journal on a PostgreSQL server.
TEST_F(Provision, JournalsOnASharedPostgresqlServer) {
    test::PostgresServer server;
    if (const QString why = server.start(); !why.isEmpty()) {
        GTEST_SKIP() << why.toStdString();
    }
    QString error;
    const QString location = server.createDatabase(&error);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    const std::vector<ParameterSet> held = {trackerSet(1), trackerSet(2)};
    START_TRACKERS_OR_SKIP(held);
    const CliRun run = qn470(QStringList{"provision", "--interval-ms", "0", "--journal", location} +
                             portArguments() + QStringList{m_dir.filePath("fleet.pro")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();

    const std::unique_ptr<Journal> journal = Journal::open(location, &error);
    ASSERT_TRUE(journal) << error.toStdString();
    for (std::size_t i = 0; i < held.size(); ++i) {
        const QString imei = QStringLiteral("35600000000000%1").arg(i + 1);
        const std::optional<JournalEntry> entry = journal->latestFor(imei, &error);
        ASSERT_TRUE(entry) << imei.toStdString() << ": " << error.toStdString();
        EXPECT_EQ(entry->result, "ok");
        EXPECT_EQ(
            describe(differingCodes(held[i], fromStored(entry->before), CodeSelection::Reported)),
            "");
    }
    const CliRun list = qn470({"journal", "--journal", location, "list"});
    EXPECT_EQ(list.exitCode, 0) << list.err.toStdString();
    EXPECT_EQ(list.out.count(QStringLiteral("\tprovision\tok")), 2) << list.out.toStdString();
}

TEST_F(Provision, BadInputStopsBeforeAnyTrackerIsTouched) {
    START_TRACKERS_OR_SKIP({defaultSet()});
    ParameterSet bad = fleetProfile();
    writeNumber(bad, "C1", 4464);
    ASSERT_TRUE(writeProfile(bad, m_dir.filePath("bad.pro").toStdString()).ok);
    const QString port = m_trackers[0]->portName();
    const QString fleet = m_dir.filePath("fleet.pro");
    const struct {
        QStringList args;
        QString message;
    } cases[] = {
        {{"provision", fleet}, "qn470: name the trackers: --port PORT, --all or --watch"},
        {{"provision", "--port", port, m_dir.filePath("bad.pro")},
         "values the tracker would not take: C1=4464"},
        {{"provision", "--port", port, "--journal", "mysql://x/y", fleet}, "journal"},
        {{"provision", "--port", port, "--journal",
          "sqlite:" + m_dir.filePath("no-such-folder/j.sqlite"), fleet},
         "journal"},
        {{"provision", "--port", port, "--interval-ms", "60001", fleet},
         "qn470: --interval-ms 60001: must be between 0 and 60000"},
        {{"restore", "--port", port, "--entry", "0"}, "--entry 0: not a journal entry number"},
        {{"restore", "--port", port, "--entry", "999"}, "999"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const CliRun run = qn470(c.args);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.err.contains(c.message)) << run.err.toStdString();
    }
    EXPECT_EQ(m_trackers[0]->linesReceived(), 0);
}

}  // namespace
}  // namespace qn470
