// SPDX-License-Identifier: Apache-2.0
// Which journal entry a restore writes back, and when it refuses, against a real SQLite journal
// holding random valid sets: the rules qn470 restore and the window's journal view share.

#include <gtest/gtest.h>

#include <QSysInfo>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <random>

#include "config/operation_result.h"
#include "config/parameter_table.h"
#include "config/parameter_value.h"
#include "journal/journal.h"
#include "journal/tracker_entry.h"
#include "provision/restore_plan.h"
#include "support/random_set.h"
#include "support/set_differences.h"

namespace qn470 {
namespace {

const QString kPort = QStringLiteral("pts/7");
const QString kStation = QStringLiteral("bench-2");

// Everything a case needs: a journal and three random trackers' sets, A and B with IMEIs, the
// third without one.
struct Bench {
    QTemporaryDir dir;
    std::unique_ptr<Journal> journal;
    ParameterSet a, b, a2, blank;

    Bench() {
        QString error;
        journal = Journal::open(QStringLiteral("sqlite:") + dir.filePath("journal.sqlite"), &error);
        EXPECT_TRUE(journal) << error.toStdString();
        std::mt19937 random(20260109);
        a = randomCheckedSet(random);
        writeText(a, "B2", "356000000000011");
        writeText(a, "O5", "VAN-A");
        a2 = randomCheckedSet(random);  // what A holds after its save
        writeText(a2, "B2", "356000000000011");
        writeText(a2, "O5", "VAN-A");
        b = randomCheckedSet(random);
        writeText(b, "B2", "356000000000022");
        blank = randomCheckedSet(random);
        writeText(blank, "B2", "");
    }

    // An entry of `kind` whose before state is `before` (or `stored` bytes when given).
    qint64 record(const char* kind, const ParameterSet& before, const ParameterSet& after,
                  std::optional<QByteArray> stored = std::nullopt) {
        JournalEntry entry = trackerEntry(kind, kPort, &before, &after, OperationResult::ok());
        if (stored) {
            entry.before = *stored;
        }
        QString error;
        const qint64 id = journal->record(entry, &error);
        EXPECT_GT(id, 0) << error.toStdString();
        return id;
    }
};

struct Case {
    const char* name;
    // Fills the journal; returns the entry named (0: none) and what the tracker holds.
    std::function<std::pair<qint64, ParameterSet>(Bench&)> setUp;
    RestoreDecision decision;
    // The refusal, or the notes joined by " | "; %1 is the entry id named or found.
    QString text;
    bool imeiMissing = false;
};

class RestoreRules : public testing::TestWithParam<Case> {};

TEST_P(RestoreRules, ChoosesTheEntryOrRefusesWithItsReason) {
    const Case& c = GetParam();
    Bench bench;
    ASSERT_TRUE(bench.journal);
    const auto [named, held] = c.setUp(bench);
    RestorePlan plan = restoreEntry(*bench.journal, named);
    if (!plan.refused()) {
        EXPECT_EQ(plan.decision, RestoreDecision::Undecided);
        plan = planRestore(*bench.journal, std::move(plan), held, kPort, kStation);
    }
    EXPECT_EQ(plan.decision, c.decision) << plan.refusal.toStdString();
    EXPECT_EQ(plan.imeiMissing, c.imeiMissing);
    const qint64 id = plan.entry ? plan.entry->id : named;
    QString expected = c.text;
    expected.replace(QLatin1String("%1"), QString::number(id));
    if (plan.entry) {
        // The time the journal stamped the entry with.
        expected.replace(QLatin1String("(*)"),
                         QStringLiteral("(%1)").arg(plan.entry->time.toString(Qt::ISODate)));
    }
    EXPECT_EQ(
        (plan.refused() ? plan.refusal : plan.notes.join(QStringLiteral(" | "))).toStdString(),
        expected.toStdString());
    if (plan.decision == RestoreDecision::Write || plan.decision == RestoreDecision::AlreadyHolds) {
        EXPECT_EQ(plan.profileName, QStringLiteral("journal entry %1").arg(id));
        EXPECT_TRUE(plan.entryName.startsWith(plan.profileName + QStringLiteral(" (")));
    }
}

// The entry found is the one whose before state the test recorded: A's own set, every code.
TEST(RestoreRulesTarget, IsTheBeforeStateOfTheTrackersNewestSave) {
    Bench bench;
    ASSERT_TRUE(bench.journal);
    bench.record(EntryKind::kSave, bench.b, bench.a2);
    const qint64 provisioned = bench.record(EntryKind::kProvision, bench.a, bench.a2);
    bench.record(EntryKind::kLoad, bench.a2, bench.a2);
    bench.record(EntryKind::kRestore, bench.a2, bench.a);
    RestorePlan plan =
        planRestore(*bench.journal, restoreEntry(*bench.journal, 0), bench.a2, kPort, kStation);
    ASSERT_EQ(plan.decision, RestoreDecision::Write) << plan.refusal.toStdString();
    EXPECT_EQ(plan.entry->id, provisioned);
    EXPECT_EQ(describe(differingCodes(bench.a, plan.target, CodeSelection::Sent)), "");
    EXPECT_EQ(QByteArray::fromStdString(plan.stored), storedProfile(bench.a));
}

std::pair<qint64, ParameterSet> none(const ParameterSet& held) {
    return {0, held};
}

const QString kHost = QSysInfo::machineHostName();

INSTANTIATE_TEST_SUITE_P(
    Table, RestoreRules,
    testing::Values(
        Case{"named_entry_missing",
             [](Bench& b) {
                 return std::pair{qint64(99), b.a2};
             },
             RestoreDecision::WrongInput, "no journal entry 99"},
        Case{"named_entry_without_before_state",
             [](Bench& b) {
                 JournalEntry failedLoad =
                     trackerEntry(EntryKind::kLoad, kPort, nullptr, nullptr, OperationResult::ok());
                 QString error;
                 return std::pair{b.journal->record(failedLoad, &error), b.a2};
             },
             RestoreDecision::WrongInput, "journal entry %1 holds no before state"},
        Case{"named_entry_of_another_imei",
             [](Bench& b) {
                 return std::pair{b.record(EntryKind::kSave, b.b, b.b), b.a2};
             },
             RestoreDecision::WrongInput,
             "journal entry %1 is of IMEI 356000000000022, the tracker on pts/7 is IMEI "
             "356000000000011"},
        Case{"named_entry_for_a_tracker_without_imei",
             [](Bench& b) {
                 return std::pair{b.record(EntryKind::kSave, b.b, b.b), b.blank};
             },
             RestoreDecision::WrongInput,
             "journal entry %1 is of IMEI 356000000000022, the tracker on pts/7 is IMEI -"},
        Case{"tracker_without_imei_gets_no_entry",
             [](Bench& b) {
                 b.record(EntryKind::kSave, b.blank, b.a);
                 return none(b.blank);
             },
             RestoreDecision::NothingToRestore,
             "the tracker on pts/7 reports no IMEI, so no journal entry can be told to be its own",
             true},
        Case{"only_a_load_of_this_imei",
             [](Bench& b) {
                 b.record(EntryKind::kLoad, b.a, b.a);
                 b.record(EntryKind::kSave, b.b, b.b);
                 return none(b.a2);
             },
             RestoreDecision::NothingToRestore,
             "no save or provisioning of IMEI 356000000000011 with a before state in the journal"},
        Case{"unreadable_before_state",
             [](Bench& b) {
                 return std::pair{b.record(EntryKind::kSave, b.a, b.a2, QByteArray("garbage")),
                                  b.a2};
             },
             RestoreDecision::WrongInput,
             "journal entry %1: the before state is not a readable profile"},
        Case{"tracker_already_holds_it",
             [](Bench& b) {
                 b.record(EntryKind::kSave, b.a, b.a2);
                 return none(b.a);
             },
             RestoreDecision::AlreadyHolds, ""},
        Case{"newest_save_written_with_the_station_noted",
             [](Bench& b) {
                 b.record(EntryKind::kSave, b.a2, b.a);
                 b.record(EntryKind::kSave, b.a, b.a2);
                 return none(b.a2);
             },
             RestoreDecision::Write, "journal entry %1 (*) was written on station " + kHost},
        Case{"another_device_id_now",
             [](Bench& b) {
                 const qint64 id = b.record(EntryKind::kProvision, b.a, b.a2);
                 ParameterSet renamed = b.a2;
                 writeText(renamed, "O5", "VAN\x1b[2J");
                 return std::pair{id, renamed};
             },
             RestoreDecision::Write,
             "journal entry %1 (*) was made with Device ID VAN-A; the tracker on pts/7 reports "
             "VAN\\x1B[2J | journal entry %1 (*) was written on station " +
                 kHost}),
    [](const testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qn470
