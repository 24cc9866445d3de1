// SPDX-License-Identifier: Apache-2.0
// The parking-trigger dialog through its real buttons: the buttons a field's mask selects, what
// clicking does to "All" and "None", and the four-digit text "Apply" gives.

#include <gtest/gtest.h>
#include <QPushButton>
#include <QRadioButton>
#include <set>

#include "page_test_support.h"
#include "pages/parking_dialog.h"
#include "support/case_name.h"

namespace qn470 {
namespace {

using test::byId;

std::set<int> checkedButtons(const QDialog& dialog) {
    std::set<int> out;
    for (QRadioButton* radio : dialog.findChildren<QRadioButton*>()) {
        if (radio->isChecked()) {
            out.insert(radio->objectName().toInt());
        }
    }
    return out;
}

void click(QDialog& dialog, int id) {
    QAbstractButton* button = byId<QAbstractButton>(&dialog, id);
    ASSERT_NE(button, nullptr) << id;
    test::click(button);
}

QString apply(CParking& dialog) {
    click(dialog, CParking::kApply);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    return dialog.resultText();
}

struct OpeningCase {
    const char* field;
    std::set<int> checked;
};

class ParkingOpening : public ::testing::TestWithParam<OpeningCase> {};

TEST_P(ParkingOpening, SelectsTheSetSourcesOfTheFieldsMask) {
    const OpeningCase& c = GetParam();
    CParking dialog(QString::fromLatin1(c.field));
    EXPECT_EQ(checkedButtons(dialog), c.checked) << c.field;
}

INSTANTIATE_TEST_SUITE_P(
    Masks, ParkingOpening,
    ::testing::Values(OpeningCase{"2002", {CParking::kInput1Active, CParking::kAccActive}},
                      // Sources whose bit is clear show neither button.
                      OpeningCase{"008e",
                                  {CParking::kInput1Active, CParking::kInput2Active,
                                   CParking::kInput3Active, CParking::kMotionMoving}},
                      OpeningCase{
                          "208e",
                          {CParking::kInput1Active, CParking::kInput2Active,
                           CParking::kInput3Active, CParking::kMotionMoving, CParking::kAccActive}},
                      OpeningCase{"0000", {CParking::kNone}}, OpeningCase{"", {CParking::kNone}},
                      // Upper-case digits read as 0: 208E is 0x2080.
                      OpeningCase{"208E", {CParking::kMotionMoving, CParking::kAccActive}},
                      // Only four characters count.
                      OpeningCase{"00021", {CParking::kInput1Active}},
                      // A bit no source has selects nothing at all.
                      OpeningCase{"0001", {}}, OpeningCase{"208f", {}}, OpeningCase{"ffff", {}}),
    [](const auto& info) {
        return caseNames({"field", info.param.field});
    });

struct ClickCase {
    const char* field;
    std::vector<int> clicks;
    std::set<int> allOrNone;  // which of "All" and "None" end up selected
    const char* applied;
};

class ParkingClicks : public ::testing::TestWithParam<ClickCase> {};

TEST_P(ParkingClicks, BuildTheMaskAndKeepAllAndNoneTrue) {
    const ClickCase& c = GetParam();
    CParking dialog(QString::fromLatin1(c.field));
    for (int id : c.clicks) {
        click(dialog, id);
    }
    std::set<int> allOrNone;
    for (int id : {int{CParking::kAll}, int{CParking::kNone}}) {
        if (byId<QRadioButton>(&dialog, id)->isChecked()) {
            allOrNone.insert(id);
        }
    }
    EXPECT_EQ(allOrNone, c.allOrNone);
    EXPECT_EQ(apply(dialog), QString::fromLatin1(c.applied));
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, ParkingClicks,
    ::testing::Values(
        ClickCase{"0000",
                  {CParking::kInput1Active, CParking::kInput2Inactive, CParking::kInput3Inactive,
                   CParking::kMotionStatic, CParking::kAccActive},
                  {},
                  "2002"},
        ClickCase{"0000", {CParking::kAll}, {CParking::kAll}, "208e"},
        ClickCase{"208e", {CParking::kNone}, {CParking::kNone}, "0000"},
        ClickCase{"0000", {CParking::kAll, CParking::kInput1Inactive}, {}, "208c"},
        ClickCase{"0000", {CParking::kNone, CParking::kInput1Active}, {}, "0002"},
        // Every first button clicked in turn selects "All" at the last one.
        ClickCase{"0000",
                  {CParking::kInput1Active, CParking::kInput2Active, CParking::kInput3Active,
                   CParking::kMotionMoving, CParking::kAccActive},
                  {CParking::kAll},
                  "208e"},
        ClickCase{"208e",
                  {CParking::kInput1Inactive, CParking::kInput2Inactive, CParking::kInput3Inactive,
                   CParking::kMotionStatic, CParking::kAccInactive},
                  {CParking::kNone},
                  "0000"},
        // A mask of unknown bits starts empty and applies only what was clicked.
        ClickCase{"ffff", {CParking::kMotionMoving}, {}, "0080"}),
    [](const auto& info) { return caseNameWith(info.param.field, "click", info.param.clicks); });

TEST(ParkingDialog, AllAndNoneSetEveryPair) {
    CParking dialog(QStringLiteral("2002"));
    click(dialog, CParking::kAll);
    EXPECT_EQ(dialog.mask(), CParking::kAllSources);
    click(dialog, CParking::kNone);
    EXPECT_EQ(checkedButtons(dialog),
              (std::set<int>{CParking::kInput1Inactive, CParking::kInput2Inactive,
                             CParking::kInput3Inactive, CParking::kMotionStatic,
                             CParking::kAccInactive, CParking::kNone}));
    EXPECT_EQ(dialog.mask(), 0);
}

TEST(ParkingDialog, CancelGivesNothing) {
    CParking dialog(QStringLiteral("2002"));
    click(dialog, CParking::kAll);
    click(dialog, CParking::kCancel);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(dialog.resultText().isEmpty());
}

TEST(ParkingDialog, WithoutAFieldItStartsEmptyAndApplyOnlyCloses) {
    test::ScriptedPrompter prompter;
    test::ScriptedChoices choices;
    ParameterSet set;
    PageRegistry registry;
    const PageContext context{set, registry, prompter, choices};
    QWidget otherParent;
    const auto dialog =
        CParking::create(&otherParent, context, ChoiceField{{}, QStringLiteral("208e")});
    auto* parking = qobject_cast<CParking*>(dialog.get());
    ASSERT_NE(parking, nullptr);
    EXPECT_FALSE(parking->hasField());
    EXPECT_TRUE(checkedButtons(*parking).empty());
    click(*parking, CParking::kAll);
    click(*parking, CParking::kApply);
    EXPECT_EQ(parking->result(), QDialog::Rejected);
    EXPECT_TRUE(parking->resultText().isEmpty());
}

}  // namespace
}  // namespace qn470
