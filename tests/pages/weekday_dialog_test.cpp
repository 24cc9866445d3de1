// SPDX-License-Identifier: Apache-2.0
// The weekday dialog through its real check boxes: the days a field's mask checks, the hex byte
// text "Save" gives, and its Save / Cancel column.

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QPushButton>
#include <set>

#include "page_test_support.h"
#include "pages/weekday_dialog.h"
#include "support/case_name.h"

namespace qn470 {
namespace {

using test::byId;

constexpr int kAllDays[] = {CWeekday::kSunday,    CWeekday::kMonday,   CWeekday::kTuesday,
                            CWeekday::kWednesday, CWeekday::kThursday, CWeekday::kFriday,
                            CWeekday::kSaturday};

std::set<int> checkedDays(const QDialog& dialog) {
    std::set<int> out;
    for (int id : kAllDays) {
        if (byId<QCheckBox>(&dialog, id)->isChecked()) {
            out.insert(id);
        }
    }
    return out;
}

void setDays(QDialog& dialog, const std::set<int>& days) {
    for (int id : kAllDays) {
        QCheckBox* box = byId<QCheckBox>(&dialog, id);
        if (box->isChecked() != (days.count(id) != 0)) {
            test::click(box);
        }
    }
}

struct OpeningCase {
    QStringList fields;
    std::set<int> checked;
};

// "fields_01_40_00" for several fields, "no_fields" for none.
std::string fieldsName(const QStringList& fields) {
    if (fields.isEmpty())
        return "no_fields";
    std::string name = "fields";
    for (const QString& field : fields)
        name += "_" + caseName(field.toStdString());
    return name;
}

class WeekdayOpening : public ::testing::TestWithParam<OpeningCase> {};

TEST_P(WeekdayOpening, ChecksTheDaysOfTheFieldsMask) {
    const OpeningCase& c = GetParam();
    CWeekday dialog(c.fields);
    EXPECT_EQ(checkedDays(dialog), c.checked) << c.fields.join(u',').toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Masks, WeekdayOpening,
    ::testing::Values(OpeningCase{{"41"}, {CWeekday::kSunday, CWeekday::kSaturday}},
                      // Upper-case digits read as 0: 3E is 0x30.
                      OpeningCase{{"3E"}, {CWeekday::kThursday, CWeekday::kFriday}},
                      OpeningCase{{"7f"}, {std::begin(kAllDays), std::end(kAllDays)}},
                      OpeningCase{{"ff"}, {std::begin(kAllDays), std::end(kAllDays)}},
                      OpeningCase{{"80"}, {}}, OpeningCase{{"00"}, {}}, OpeningCase{{""}, {}},
                      OpeningCase{{"2"}, {CWeekday::kFriday}},  // one digit is the high nibble
                      OpeningCase{{}, {}},
                      // Days are only ever checked: several fields give the union.
                      OpeningCase{{"01", "40", "00"}, {CWeekday::kSunday, CWeekday::kSaturday}}),
    [](const auto& info) { return fieldsName(info.param.fields); });

struct SaveCase {
    const char* field;
    std::set<int> days;
    const char* saved;
};

class WeekdaySaving : public ::testing::TestWithParam<SaveCase> {};

TEST_P(WeekdaySaving, WritesTheCheckedDaysAsAHexByte) {
    const SaveCase& c = GetParam();
    CWeekday dialog({QString::fromLatin1(c.field)});
    setDays(dialog, c.days);
    test::click(byId<QPushButton>(&dialog, CWeekday::kSave));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.resultText(), QString::fromLatin1(c.saved));
}

INSTANTIATE_TEST_SUITE_P(
    Days, WeekdaySaving,
    ::testing::Values(SaveCase{"41",
                               {CWeekday::kMonday, CWeekday::kTuesday, CWeekday::kWednesday,
                                CWeekday::kThursday, CWeekday::kFriday},
                               "3e"},
                      SaveCase{"41", {CWeekday::kSunday}, "01"}, SaveCase{"41", {}, "00"},
                      SaveCase{"ff", {std::begin(kAllDays), std::end(kAllDays)}, "7f"},
                      SaveCase{"", {CWeekday::kSaturday}, "40"}),
    [](const auto& info) { return caseNameWith(info.param.field, "days", info.param.days); });

TEST(WeekdayDialog, CancelGivesNothing) {
    CWeekday dialog({QStringLiteral("41")});
    test::click(byId<QCheckBox>(&dialog, CWeekday::kMonday));
    test::click(byId<QPushButton>(&dialog, CWeekday::kCancel));
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(dialog.resultText().isEmpty());
}

// The shared button pair, as a column beside the days: Save above Cancel at the top, Save the
// default, so Enter saves.
TEST(WeekdayDialog, SaveAndCancelStandAtTheTopOfAColumnAndEnterSaves) {
    CWeekday dialog({QStringLiteral("41")});
    ASSERT_TRUE(test::showActive(dialog));
    auto* save = byId<QPushButton>(&dialog, CWeekday::kSave);
    auto* cancel = byId<QPushButton>(&dialog, CWeekday::kCancel);
    const QCheckBox* sunday = byId<QCheckBox>(&dialog, CWeekday::kSunday);
    const QCheckBox* saturday = byId<QCheckBox>(&dialog, CWeekday::kSaturday);
    EXPECT_EQ(save->text(), QStringLiteral("Save"));
    EXPECT_EQ(cancel->text(), QStringLiteral("Cancel"));
    EXPECT_TRUE(save->isDefault());
    EXPECT_FALSE(cancel->isDefault());
    EXPECT_GT(save->x(), sunday->geometry().right());
    EXPECT_EQ(save->x(), cancel->x());
    EXPECT_GT(cancel->y(), save->geometry().bottom());
    EXPECT_LT(save->y(), sunday->geometry().bottom());
    EXPECT_LT(cancel->geometry().bottom(), saturday->y());

    test::click(byId<QCheckBox>(&dialog, CWeekday::kMonday));
    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.resultText(), QStringLiteral("43"));
}

TEST(WeekdayDialog, OpenedForAnythingButATimerPageItStartsEmpty) {
    test::ScriptedPrompter prompter;
    test::ScriptedChoices choices;
    ParameterSet set;
    PageRegistry registry;
    const PageContext context{set, registry, prompter, choices};
    QWidget otherParent;
    const auto dialog =
        CWeekday::create(&otherParent, context, ChoiceField{{}, QStringLiteral("7f")});
    EXPECT_TRUE(checkedDays(*dialog).empty());
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Choice Weekday"));
}

TEST(WeekdayDialog, OpenedForAFieldItStartsFromTheFieldsMask) {
    test::ScriptedPrompter prompter;
    test::ScriptedChoices choices;
    ParameterSet set;
    PageRegistry registry;
    const PageContext context{set, registry, prompter, choices};
    QWidget caller;
    const auto dialog = CWeekday::create(&caller, context, ChoiceField{"W3", QStringLiteral("41")});
    EXPECT_EQ(checkedDays(*dialog), (std::set<int>{CWeekday::kSunday, CWeekday::kSaturday}));
}

}  // namespace
}  // namespace qn470
