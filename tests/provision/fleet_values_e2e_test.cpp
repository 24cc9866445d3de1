// SPDX-License-Identifier: Apache-2.0
// qn470 provision with per-tracker values (--values, --keep) and qn470 journal audit, as processes
// against simulated trackers running in this test, with a journal in a temporary SQLite file.

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>
#include <random>
#include <set>

#include "config/parameter_value.h"
#include "config/profile.h"
#include "journal/journal.h"
#include "sim/tracker_simulator.h"
#include "support/cli_process.h"
#include "support/private_runtime.h"
#include "support/random_set.h"
#include "support/set_differences.h"

namespace qn470 {
namespace {

std::string imeiOf(int n) {
    return "3560000000000" + std::to_string(10 + n);
}

ParameterSet randomTracker(std::mt19937& random, int n) {
    ParameterSet set = randomCheckedSet(random);
    writeText(set, "B2", imeiOf(n));
    writeText(set, "O7", "QN470-3." + std::to_string(n));
    return set;
}

// A cell as a spreadsheet writes it: always quoted, quotes doubled.
std::string cell(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    }
    return quoted + '"';
}

// A value as a profile line holds it: a text inside one pair of quotes, which the reader takes
// off again whatever the text holds.
std::string profileCell(const ParameterSet& set, const Parameter& p) {
    return cell(p.isText() ? '"' + readText(set, p) + '"' : std::to_string(readNumber(set, p)));
}

// The first column of each line of an export or audit that starts with the IMEI, and the field
// after it.
QString csvLineOf(const QString& csv, const std::string& imei) {
    for (const QString& line : csv.split(QLatin1Char('\n'))) {
        if (line.contains(QString::fromStdString("," + imei + ",")) ||
            line.startsWith(QString::fromStdString(imei + ","))) {
            return line;
        }
    }
    return {};
}

class FleetValues : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_environment.insert(QStringLiteral("QN470_JOURNAL"),
                             QStringLiteral("sqlite:") + m_dir.filePath("journal.sqlite"));
        ASSERT_TRUE(m_runtime.make(m_dir.filePath(QStringLiteral("runtime")), m_environment));
    }

    void TearDown() override { m_trackers.clear(); }

    std::unique_ptr<TrackerSimulator> simulator(const ParameterSet& set) {
        SimulatorOptions options;
        options.fast = true;
        options.rtcIntervalMs = 0;
        auto tracker = std::make_unique<TrackerSimulator>(set, options);
        return tracker->start() ? std::move(tracker) : nullptr;
    }

    bool startTrackers(const std::vector<ParameterSet>& sets) {
        for (const ParameterSet& set : sets) {
            m_trackers.push_back(simulator(set));
            if (!m_trackers.back()) {
                return false;
            }
        }
        return true;
    }

    // The profile as its file gives it back.
    ParameterSet writeProfileFile(const ParameterSet& set, const QString& name) {
        const QString file = m_dir.filePath(name);
        EXPECT_TRUE(writeProfile(set, file.toStdString()).ok);
        ParameterSet read = defaultSet();
        EXPECT_TRUE(readProfile(file.toStdString(), read).ok);
        return read;
    }

    QString writeFile(const QString& name, const std::string& text) {
        QFile file(m_dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.data(), static_cast<qint64>(text.size()));
        return file.fileName();
    }

    CliRun qn470(const QStringList& arguments) { return runQn470(arguments, 30000, m_environment); }

    QStringList portArguments() const {
        QStringList arguments;
        for (const std::unique_ptr<TrackerSimulator>& tracker : m_trackers) {
            arguments << QStringLiteral("--port") << tracker->portName();
        }
        return arguments;
    }

    std::vector<JournalEntry> journalEntries() {
        QString error;
        const std::unique_ptr<Journal> journal =
            Journal::open(m_environment.value(QStringLiteral("QN470_JOURNAL")), &error);
        EXPECT_TRUE(journal) << error.toStdString();
        return journal ? journal->list({}, &error) : std::vector<JournalEntry>{};
    }

    QTemporaryDir m_dir;
    test::PrivateRuntime m_runtime;
    QProcessEnvironment m_environment = QProcessEnvironment::systemEnvironment();
    std::vector<std::unique_ptr<TrackerSimulator>> m_trackers;
};

#define START_TRACKERS_OR_SKIP(sets)                                  \
    if (!startTrackers(sets)) {                                       \
        GTEST_SKIP() << "no pseudo-terminal for a simulated tracker"; \
    }

TEST_F(FleetValues, EachTrackerGetsItsRowTheProfileElsewhereAndTheAuditFollowsIt) {
    std::mt19937 random(2201);
    std::vector<ParameterSet> held;
    for (int n = 1; n <= 4; ++n) {
        held.push_back(randomTracker(random, n));
    }
    ParameterSet profileSet = randomCheckedSet(random);
    writeText(profileSet, "O5", "FLEET");
    const ParameterSet profile = writeProfileFile(profileSet, "fleet.pro");
    // Each tracker's own Device ID, server and interval, from random valid sets; one Device ID a
    // spreadsheet would take for a formula. C1 by its code, E0 by its profile key.
    const Parameter& e0 = parameter("E0");
    std::string table = "imei,O5,C1," + std::string(e0.profileKey) + "\r\n";
    std::vector<ParameterSet> expected;
    for (int n = 1; n <= 4; ++n) {
        ParameterSet own = randomCheckedSet(random);
        if (n == 2) {
            writeText(own, "O5", "=VAN-2");
        }
        ParameterSet wanted = profile;
        for (const char* code : {"O5", "C1", "E0"}) {
            const Parameter& p = parameter(code);
            p.isText() ? writeText(wanted, p, readText(own, p))
                       : writeNumber(wanted, p, readNumber(own, p));
        }
        expected.push_back(wanted);
        table += imeiOf(n) + "," + profileCell(own, parameter("O5")) + "," +
                 profileCell(own, parameter("C1")) + "," + profileCell(own, e0) + "\r\n";
    }
    const QString values = writeFile("fleet.csv", table);
    START_TRACKERS_OR_SKIP(held);

    const CliRun run = qn470(QStringList{"provision", "--interval-ms", "0", "--values", values} +
                             portArguments() + QStringList{m_dir.filePath("fleet.pro")});
    ASSERT_EQ(run.exitCode, 0) << run.out.toStdString() << run.err.toStdString();
    EXPECT_FALSE(run.err.contains(QStringLiteral("warning"))) << run.err.toStdString();
    const std::vector<JournalEntry> entries = journalEntries();
    ASSERT_EQ(entries.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(imeiOf(static_cast<int>(i) + 1));
        EXPECT_EQ(valuesDiffering(expected[i], m_trackers[i]->parameters()),
                  std::vector<std::string>{});
        const auto entry = std::find_if(entries.begin(), entries.end(), [&](const JournalEntry& e) {
            return e.port == m_trackers[i]->portName();
        });
        ASSERT_NE(entry, entries.end());
        EXPECT_EQ(entry->profileName, QStringLiteral("fleet.pro + fleet.csv line %1").arg(i + 2));
        // The SHA-256 is of the profile file this tracker's own set makes.
        const QString own = m_dir.filePath(QStringLiteral("own%1.pro").arg(i));
        ASSERT_TRUE(writeProfile(expected[i], own.toStdString()).ok);
        QFile ownFile(own);
        ASSERT_TRUE(ownFile.open(QIODevice::ReadOnly));
        EXPECT_EQ(
            entry->profileSha256,
            QString::fromLatin1(
                QCryptographicHash::hash(ownFile.readAll(), QCryptographicHash::Sha256).toHex()));
    }

    const QStringList audit = {"journal", "audit", "--values", values, m_dir.filePath("fleet.pro")};
    const CliRun allOk = qn470(audit);
    EXPECT_EQ(allOk.exitCode, 0) << allOk.out.toStdString() << allOk.err.toStdString();
    for (int n = 1; n <= 4; ++n) {
        EXPECT_TRUE(allOk.out.contains(QString::fromStdString(imeiOf(n)) + QLatin1Char('\t')))
            << allOk.out.toStdString();
    }
    EXPECT_EQ(allOk.out.count(QStringLiteral("\tok\n")), 4) << allOk.out.toStdString();
    EXPECT_TRUE(allOk.err.contains(QStringLiteral("4 trackers: 4 ok, 0 differ, 0 unknown")))
        << allOk.err.toStdString();

    // The audit's fields are written as the export writes them: the formula-like Device ID
    // starts with an apostrophe in both.
    const CliRun csv = qn470(audit + QStringList{"--csv"});
    const CliRun exported = qn470({"journal", "export", "--csv"});
    ASSERT_EQ(exported.exitCode, 0);
    EXPECT_TRUE(csv.out.startsWith(QStringLiteral("imei,device_id,time,state\n")))
        << csv.out.toStdString();
    for (int n = 1; n <= 4; ++n) {
        const QStringList auditFields = csvLineOf(csv.out, imeiOf(n)).split(QLatin1Char(','));
        const QStringList exportFields = csvLineOf(exported.out, imeiOf(n)).split(QLatin1Char(','));
        ASSERT_GE(auditFields.size(), 4) << csv.out.toStdString();
        ASSERT_GE(exportFields.size(), 6) << exported.out.toStdString();
        EXPECT_EQ(auditFields[1], exportFields[5]);  // device_id
        EXPECT_EQ(auditFields[2], exportFields[1]);  // time
        EXPECT_EQ(auditFields[3], QStringLiteral("ok"));
    }
    EXPECT_EQ(csvLineOf(csv.out, imeiOf(2)).split(QLatin1Char(','))[1], QStringLiteral("'=VAN-2"));

    // Tracker 3's server changes behind the journal's back; one load shows it.
    ParameterSet changed = m_trackers[2]->parameters();
    writeText(changed, "E0",
              readText(changed, "E0") == "a.example.com" ? "b.example.com" : "a.example.com");
    m_trackers[2] = simulator(changed);
    ASSERT_TRUE(m_trackers[2]);
    const CliRun load = qn470(
        {"load", "--port", m_trackers[2]->portName(), m_dir.filePath(QStringLiteral("now.pro"))});
    ASSERT_EQ(load.exitCode, 0) << load.err.toStdString();
    const CliRun oneDiffers = qn470(audit);
    EXPECT_EQ(oneDiffers.exitCode, 1);
    EXPECT_TRUE(oneDiffers.out.contains(QString::fromStdString(imeiOf(3)) + QLatin1Char('\t')));
    EXPECT_TRUE(oneDiffers.out.contains(QStringLiteral("\tdiffers E0\n")))
        << oneDiffers.out.toStdString();
    EXPECT_EQ(oneDiffers.out.count(QStringLiteral("\tok\n")), 3) << oneDiffers.out.toStdString();
}

struct KeepCase {
    const char* name;
    QStringList options;
    bool keepsDeviceId;
    bool warns;
};

class FleetKeep : public FleetValues, public testing::WithParamInterface<KeepCase> {};

TEST_P(FleetKeep, DeviceIdKeptOrTheSameForAllWithAWarning) {
    std::mt19937 random(2202);
    std::vector<ParameterSet> held;
    for (int n = 1; n <= 3; ++n) {
        held.push_back(randomTracker(random, n));
        writeText(held.back(), "O5", "VAN-" + std::to_string(n));
    }
    ParameterSet profileSet = randomCheckedSet(random);
    writeText(profileSet, "O5", "FLEET");
    const ParameterSet profile = writeProfileFile(profileSet, "fleet.pro");
    START_TRACKERS_OR_SKIP(held);
    const CliRun run = qn470(QStringList{"provision", "--interval-ms", "0"} + GetParam().options +
                             portArguments() + QStringList{m_dir.filePath("fleet.pro")});
    ASSERT_EQ(run.exitCode, 0) << run.out.toStdString() << run.err.toStdString();
    EXPECT_EQ(run.err.count(QStringLiteral("warning: every tracker gets the Device ID FLEET")),
              GetParam().warns ? 1 : 0)
        << run.err.toStdString();
    for (std::size_t i = 0; i < held.size(); ++i) {
        ParameterSet wanted = profile;
        if (GetParam().keepsDeviceId) {
            writeText(wanted, "O5", readText(held[i], "O5"));
        }
        if (GetParam().options.contains(QStringLiteral("O5,C1"))) {
            writeNumber(wanted, "C1", readNumber(held[i], "C1"));
        }
        EXPECT_EQ(valuesDiffering(wanted, m_trackers[i]->parameters()), std::vector<std::string>{});
    }
    const CliRun audit = qn470(QStringList{"journal", "audit"} + GetParam().options +
                               QStringList{m_dir.filePath("fleet.pro")});
    EXPECT_EQ(audit.exitCode, 0) << audit.out.toStdString() << audit.err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(, FleetKeep,
                         testing::Values(KeepCase{"KeepO5", {"--keep", "O5"}, true, false},
                                         KeepCase{"KeepO5AndC1", {"--keep", "O5,C1"}, true, false},
                                         KeepCase{"OneDeviceIdForAll", {}, false, true}),
                         [](const testing::TestParamInfo<KeepCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(FleetValues, ATrackerWithoutARowFailsUntouchedUnlessRowsAreOptional) {
    std::mt19937 random(2203);
    const std::vector<ParameterSet> held = {randomTracker(random, 1), randomTracker(random, 2)};
    const ParameterSet profile = writeProfileFile(randomCheckedSet(random), "fleet.pro");
    const QString values = writeFile("fleet.csv", "imei;O5\n" + imeiOf(1) + ";VAN-1\n");
    START_TRACKERS_OR_SKIP(held);
    const QStringList command = {"provision", "--interval-ms", "0", "--values", values};

    const CliRun run = qn470(command + portArguments() + QStringList{m_dir.filePath("fleet.pro")});
    EXPECT_EQ(run.exitCode, 1) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("failed check: no row for IMEI %1 in fleet.csv")
                                     .arg(QString::fromStdString(imeiOf(2)))))
        << run.out.toStdString();
    EXPECT_EQ(m_trackers[1]->setLinesApplied(), 0);
    EXPECT_EQ(valuesDiffering(held[1], m_trackers[1]->parameters()), std::vector<std::string>{});
    ParameterSet first = profile;
    writeText(first, "O5", "VAN-1");
    EXPECT_EQ(valuesDiffering(first, m_trackers[0]->parameters()), std::vector<std::string>{});

    const CliRun optional = qn470(command + QStringList{"--values-optional"} + portArguments() +
                                  QStringList{m_dir.filePath("fleet.pro")});
    EXPECT_EQ(optional.exitCode, 0) << optional.err.toStdString();
    EXPECT_EQ(valuesDiffering(profile, m_trackers[1]->parameters()), std::vector<std::string>{});
    EXPECT_EQ(valuesDiffering(first, m_trackers[0]->parameters()), std::vector<std::string>{});
}

struct TableCase {
    const char* name;
    std::string table;  // {1} and {2} stand for the two trackers' IMEIs
    std::vector<std::string> problems;
};

class FleetTableProblems : public FleetValues, public testing::WithParamInterface<TableCase> {};

TEST_P(FleetTableProblems, RefusedBeforeAnyPortIsOpened) {
    std::mt19937 random(2204);
    const std::vector<ParameterSet> held = {randomTracker(random, 1), randomTracker(random, 2)};
    writeProfileFile(randomCheckedSet(random), "fleet.pro");
    const auto withImeis = [](std::string text) {
        for (const int n : {1, 2}) {
            const std::string mark = "{" + std::to_string(n) + "}";
            for (std::size_t at; (at = text.find(mark)) != std::string::npos;) {
                text.replace(at, mark.size(), imeiOf(n));
            }
        }
        return text;
    };
    const QString values = writeFile("fleet.csv", withImeis(GetParam().table));
    START_TRACKERS_OR_SKIP(held);
    const CliRun run = qn470(QStringList{"provision", "--interval-ms", "0", "--values", values} +
                             portArguments() + QStringList{m_dir.filePath("fleet.pro")});
    EXPECT_EQ(run.exitCode, 2);
    std::string expected;
    for (const std::string& problem : GetParam().problems) {
        expected += "qn470: fleet.csv: " + withImeis(problem) + "\n";
    }
    EXPECT_EQ(run.err.toStdString(), expected);
    for (const std::unique_ptr<TrackerSimulator>& tracker : m_trackers) {
        EXPECT_EQ(tracker->linesReceived(), 0);
    }
    EXPECT_TRUE(journalEntries().empty());
}

INSTANTIATE_TEST_SUITE_P(
    , FleetTableProblems,
    testing::Values(
        TableCase{"UnknownColumn",
                  "imei,O5,Zq\n{1},a,1\n",
                  {"line 1, column Zq: no parameter has this code or profile key"}},
        TableCase{"CodeNoSetLineCarries",
                  "imei,B2\n{1},1\n",
                  {"line 1, column B2: no set line carries B2"}},
        TableCase{"ColumnTwice",
                  "imei,C1,C1\n{1},60,60\n",
                  {"line 1, column C1: a second column for C1"}},
        TableCase{"FirstColumnNotImei",
                  "O5,imei\nVAN,{1}\n",
                  {"line 1, column O5: the first column must be imei"}},
        TableCase{"DuplicateImeiAndValuesOutOfRange",
                  "imei;C1;O5\n{1};60;A\n{2};59;B\n{1};600;\"x,y\"\n",
                  {"line 3, column C1, value '59': must be between 60 and 600",
                   "line 4, column imei, value '{1}': IMEI also in line 2",
                   "line 4, column O5, value 'x,y': holds a comma, which would end the value on "
                   "the tracker"}},
        TableCase{"ImeiAsASpreadsheetNumber",
                  "imei,C1\n3.56E+14,60\n",
                  {"line 2, column imei, value '3.56E+14': not an IMEI (digits only; a "
                   "spreadsheet may have turned it into a number such as 3.56E+14: keep the "
                   "column as text)"}},
        TableCase{"LineNumbersCountBreaksInsideQuotes",
                  "imei,O5,C1\n{1},\"two\nlines\",60\n{2},B,9\n",
                  {"line 2, column O5, value 'two\\x0Alines': holds a line break",
                   "line 4, column C1, value '9': must be between 60 and 600"}},
        TableCase{"MoreFieldsThanTheHeader",
                  "imei,C1\n{1},60,70\n",
                  {"line 2: 3 fields, the header has 2"}},
        TableCase{
            "BrokenQuoting",
            "imei,O5\n{1},\"VAN\n",
            {"the table: line 2: a quote where a field may not have one, or one never closed"}}),
    [](const testing::TestParamInfo<TableCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qn470
