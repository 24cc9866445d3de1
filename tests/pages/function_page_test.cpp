// SPDX-License-Identifier: Apache-2.0
// The Function page: its table of shared scenarios (PA and K2 check their least value only when
// left, hex words and bytes read back from their first digits), and what is its own: a loaded value
// the page refuses, the parking-trigger dialog, the refused store.

#include <QPushButton>
#include <QRadioButton>

#include "page_scenarios.h"
#include "pages/function_page.h"
#include "pages/media_choice_dialog.h"
#include "pages/parking_dialog.h"

namespace qn470 {
namespace {

using namespace test;

enum Id : int {
    kOD = 1098,
    kOS = 1067,
    kPA = 1137,
    kPC = 1166,
    kPD = 1167,
    kPE = 1195,
    kSA = 1102,
    kSB = 1105,
    kSC = 1107,
    kSD = 1106,
    kSE = 1152,
    kSF = 1151,
    kK0 = 1069,
    kK1 = 1070,
    kK2 = 1046,
    kK3 = 1103,
    kK4 = 1104,
    kK6 = 1187,
    kK7 = 1188,
    kSI = 1196,
    kSJ = 1217,
    kSK = 1109,
    kSL = 1153,
};

const PageTable kPage{"Function", makePage<CReportPage1>, kOS, kSA};

const LoadRow kLoads[] = {
    {"OD", 0x05, kOD, "05"},
    {"OS", 65535, kOS, "65535"},
    {"PA", 4294967294, kPA, "4294967294"},
    {"PC", 0xa3, kPC, "a3"},
    {"PD", "84a1000000", kPD, "84a1000000"},
    {"PE", 0, kPE, kUnchecked},
    {"SA", 255, kSA, "255"},
    {"SB", 1, kSB, "1"},
    {"SC", 0, kSC, "0"},
    {"SD", 0x00, kSD, "00"},
    {"SE", "4b", kSE, "4b"},
    // Bytes the page must give back as they were.
    {"SF", "c9ca\xe9", kSF, "c9ca\xe9", {}, "SF_latin1_text"},
    {"SI", 1, kSI, kChecked},
    {"SJ", 0x0042, kSJ, "0042"},
    {"SK", 0xff, kSK, "ff"},
    {"SL", "", kSL, ""},
    {"K0", 1, kK0, kChecked},
    {"K1", 1, kK1, kChecked},
    {"K2", 30, kK2, "30"},
    {"K3", 0x81, kK3, "81"},
    {"K4", 0x21, kK4, "21"},
    {"K6", "8c8d8e8f00", kK6, "8c8d8e8f00"},
    {"K7", "0", kK7, "0"},
    {"OS", {}, kOS, "30"},
    {"SC", {}, kSC, "5"},
    {"K2", {}, kK2, "100"},
    {"SJ", {}, kSJ, "2080"},
    {"K4", {}, kK4, "20"},
    {"PE", {}, kPE, kChecked},
};

const StoreRow kStores[] = {
    {kOD, "5", "OD", 0x50},  // one digit is the high nibble
    {kPC, "A3", "PC", 0x03, nullptr, "PC_upper_case_counts_as_0"},
    {kSD, "a3", "SD", 0xa3},
    {kK3, "8", "K3", 0x80},
    {kK4, "a", "K4", 0xa0},
    {kSK, "1f9", "SK", 0x1f},  // only the first two characters count
    {kSJ, "208e", "SJ", Bytes{"8e 20"}},
    {kOS, "65535", "OS", 65535},
    {kPA, "0", "PA", 0},
    {kSA, "200", "SA", 200},
    {kSB, "10", "SB", 10},
    {kSC, "0", "SC", 0},
    {kK2, "4294967294", "K2", 4294967294},
    {kPD, "4b", "PD", "4b"},
    {kSE, "8445000000", "SE", "8445000000"},
    {kSF, "", "SF", ""},
    {kSL, "a0a1a2a3a8", "SL", "a0a1a2a3a8"},
    {kK6, "c1", "K6", "c1"},
    {kK7, "49", "K7", "49"},
    {kPE, kUnchecked, "PE", 0},
    {kK0, kChecked, "K0", 1},
    {kK1, kChecked, "K1", 1},
    {kSI, kChecked, "SI", 1},
    // Set by a paste or a dialog: the edit keeps ten characters, the store writes ten and the
    // terminator.
    {kSL, "84a1a2a3a4a5a8", "SL", Bytes{"38 34 61 31 61 32 61 33 61 34 00"}, "84a1a2a3a4",
     "SL_too_long"},
};

const TypingRow kTyping[] = {
    // OS: 1 to 65535; a refused text gives back the text the field had on entry.
    {kOS, Input::Typed, "0", "30", "(OS)Please enter an integer between 1 and 65535"},
    {kOS, Input::Typed, "65536", "30", "(OS)Please enter an integer between 1 and 65535"},
    {kOS, Input::Typed, "65535", "65535", ""},
    {kOS, Input::Typed, "1", "1", ""},
    {kOS, Input::Typed, "12a", "12", ""},  // a numbers-only edit drops the letter
    // PA and K2: only the top is checked while typing, the least value when left.
    {kPA, Input::Typed, "30", "30", ""},
    {kPA, Input::Typed, "4294967295", "4294967295", ""},
    {kPA, Input::Typed, "4294967296", "0", "(PA)Please enter an integer between 50 and 4294967295"},
    {kPA, Input::Typed, "12345678901", "0",
     "(PA)Please enter an integer between 50 and 4294967295"},
    {kK2, Input::Typed, "0", "0", ""},
    {kK2, Input::Typed, "4294967296", "100",
     "(K2)Please enter an integer between 30 and 4294967295"},
    {kPA, Input::CheckedOnLeaving, "30", "0",
     "(PA)Please enter an integer between 50 and 4294967295"},
    {kPA, Input::CheckedOnLeaving, "1", "0",
     "(PA)Please enter an integer between 50 and 4294967295"},
    {kPA, Input::CheckedOnLeaving, "0", "0", ""},  // no trigger
    {kPA, Input::CheckedOnLeaving, "50", "50", ""},
    {kPA, Input::CheckedOnLeaving, "", "", ""},  // an empty text raises nothing
    {kK2, Input::CheckedOnLeaving, "0", "100",
     "(K2)Please enter an integer between 30 and 4294967295"},
    {kK2, Input::CheckedOnLeaving, "29", "100",
     "(K2)Please enter an integer between 30 and 4294967295"},
    {kK2, Input::CheckedOnLeaving, "30", "30", ""},
    // Speeds: a refused text becomes 0, or 5 for the hysteresis.
    {kSA, Input::Typed, "255", "255", ""},
    {kSA, Input::Typed, "256", "0", "(SA)Please enter an integer between 0 and 255"},
    {kSB, Input::Typed, "999", "0", "(SB)Please enter an integer between 0 and 255"},
    {kSC, Input::Typed, "300", "5", "(SC)Please enter an integer between 0 and 255"},
    {kSC, Input::Typed, "0", "0", ""},
    // Pasted letters get the digit message.
    {kOS, Input::Pasted, "12x", "30", "(OS)Please enter a positive integer."},
    {kPA, Input::Pasted, "12x", "0", "(PA)Please enter a positive integer."},
    {kK2, Input::Pasted, "12x", "100", "(K2)Please enter a positive integer."},
    {kSA, Input::Pasted, "12x", "0", "(SA)Please enter a positive integer."},
    {kSB, Input::Pasted, "12x", "0", "(SB)Please enter a positive integer."},
    {kSC, Input::Pasted, "12x", "5", "(SC)Please enter a positive integer."},
};

constexpr std::array<int, 3> kUdp = {CMedia_Choice::kUdp};
constexpr std::array<int, 3> kTurnOn = {1165};  // "Turn on (45)"
const ChoiceRow kChoices[] = {
    {kOD, "Choice Report Media", "04", kUdp},
    {kPC, "Choice Report Media", "04", kUdp},
    {kSD, "Choice Report Media", "04", kUdp},
    {kK3, "Choice Report Media", "04", kUdp},
    {kK4, "Choice Report Media", "04", kUdp},
    {kSK, "Choice Report Media", "04", kUdp},
    {kPD, "Choice Actions", "4500000000", kTurnOn},
    {kSE, "Choice Actions", "4500000000", kTurnOn},
    {kSF, "Choice Actions", "4500000000", kTurnOn},
    {kK6, "Choice Actions", "4500000000", kTurnOn},
    {kK7, "Choice Actions", "4500000000", kTurnOn},
    {kSL, "Choice Actions", "4500000000", kTurnOn},
    {kSJ, "Trigger source of parking alarm", "2000", {CParking::kNone, CParking::kAccActive}},
};

const UnloadedRow kUnloaded[] = {
    {kOS, "0", "OS", 0},
    {kPA, "0", "PA", 0},
    {kK2, "0", "K2", 0},
    {kSA, "0", "SA", 0},
    {kSB, "0", "SB", 0},
    {kSC, "0", "SC", 0},
    {kOD, "", "OD", 0},
    {kPC, ""},
    {kPD, ""},
    {kSD, ""},
    {kSE, ""},
    {kSF, ""},
    {kSJ, "", "SJ", 0},
    {kSK, ""},
    {kSL, "", "SL", ""},
    {kK3, ""},
    {kK4, ""},
    {kK6, ""},
    {kK7, ""},
    {kPE, kUnchecked, "PE", 0},
    {kK0, kUnchecked, "K0", 0},
    {kK1, kUnchecked},
    {kSI, kUnchecked, "SI", 0},
};

INSTANTIATE_TEST_SUITE_P(Function, LoadAndStore, ::testing::ValuesIn(cases(kPage, kLoads)),
                         CaseName{});
INSTANTIATE_TEST_SUITE_P(Function, Store, ::testing::ValuesIn(cases(kPage, kStores)), CaseName{});
INSTANTIATE_TEST_SUITE_P(Function, Typing, ::testing::ValuesIn(cases(kPage, kTyping)), CaseName{});
INSTANTIATE_TEST_SUITE_P(Function, Choice, ::testing::ValuesIn(cases(kPage, kChoices)), CaseName{});
INSTANTIATE_TEST_SUITE_P(Function, Unloaded, ::testing::ValuesIn(cases(kPage, kUnloaded)),
                         CaseName{});
INSTANTIATE_TEST_SUITE_P(Function, WholePage, ::testing::Values(&kPage), PageName{});

using FunctionPageTest = PageFixture<CReportPage1>;

TEST_F(FunctionPageTest, ClearingAFlagKeepsItsNeighbours) {
    const ParameterSet before = set;
    open();
    check(kPE)->setChecked(false);
    page->StoreValues();
    EXPECT_EQ(readNumber(set, "PE"), 0);
    EXPECT_EQ(readNumber(set, "A0"), readNumber(before, "A0"));
}

TEST_F(FunctionPageTest, AFailedExchangeKeepsTheFieldsAfterIt) {
    open();
    edit(kOD)->setText(QStringLiteral("11"));  // read before OS
    edit(kOS)->setText(QString());
    edit(kPA)->setText(QStringLiteral("77"));  // read after OS
    edit(kSJ)->setText(QStringLiteral("0002"));
    edit(kK6)->setText(QStringLiteral("84"));
    check(kSI)->setChecked(true);
    page->StoreValues();
    EXPECT_EQ(messages(), std::vector<std::string>{"Enter a positive integer."});
    EXPECT_EQ(readNumber(set, "OD"), 0x11);
    EXPECT_EQ(readNumber(set, "OS"), 30);
    EXPECT_EQ(readNumber(set, "PA"), 0);
    EXPECT_EQ(readNumber(set, "SJ"), 0x2080);
    EXPECT_EQ(readText(set, "K6"), "0000000000");
    EXPECT_EQ(readNumber(set, "SI"),
              1);  // check boxes always show what they store
}

// PA and K2 take every number their fields hold (rule_agreement_test); OS does not.
TEST_F(FunctionPageTest, ARecordValueOutsideTheRuleIsReportedAndNeverStored) {
    writeNumber(set, "OS", 0);
    open();
    EXPECT_EQ(messages(),
              std::vector<std::string>{"(OS)Please enter an integer between 1 and 65535"});
    // Nothing was saved for the field yet, so it is left empty...
    EXPECT_TRUE(edit(kOS)->text().isEmpty());
    // ...and the store refuses it rather than writing a value the page never showed.
    prompter.messages.clear();
    page->StoreValues();
    EXPECT_EQ(messages(), std::vector<std::string>{"Enter a positive integer."});
    EXPECT_EQ(readNumber(set, "OS"), 0);
}

TEST_F(FunctionPageTest, AReloadNeverGivesARefusedFieldAnotherFieldsText) {
    openActive();
    edit(kK2)->setFocus(Qt::TabFocusReason);  // K2's text "100" is saved
    writeNumber(set, "OS", 0);
    page->LoadValues();
    EXPECT_EQ(messages(),
              std::vector<std::string>{"(OS)Please enter an integer between 1 and 65535"});
    EXPECT_TRUE(edit(kOS)->text().isEmpty());
}

TEST_F(FunctionPageTest, NoOtherFieldIsCheckedWhenLeft) {
    openActive();
    typeInto(kOS, QStringLiteral("1"));
    typeInto(kSA, QStringLiteral("0"));
    edit(kPA)->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(FunctionPageTest, OnlyTheGpsAntennaMediaCannotChangeSms) {
    openActive();
    bool smsEnabled = false;
    choices.script = [&](QDialog& dialog) {
        smsEnabled = byId<QCheckBox>(&dialog, CMedia_Choice::kSms)->isEnabled();
        return static_cast<int>(QDialog::Rejected);
    };
    for (int id : {kOD, kPC, kSD, kK3, kK4, kSK}) {
        leaveTo(kOS);
        edit(id)->setFocus(Qt::MouseFocusReason);
        settle();
        EXPECT_EQ(smsEnabled, id != kK4) << id;
    }
}

TEST_F(FunctionPageTest, TheParkingDialogStartsFromTheFieldsMask) {
    writeNumber(set, "SJ", 0x008e);
    openActive();
    std::set<int> checked;
    bool hasField = false;
    choices.script = [&](QDialog& dialog) {
        auto* parking = qobject_cast<CParking*>(&dialog);
        EXPECT_NE(parking, nullptr);
        hasField = parking->hasField();
        for (QRadioButton* radio : dialog.findChildren<QRadioButton*>()) {
            if (radio->isChecked()) {
                checked.insert(radio->objectName().toInt());
            }
        }
        click(byId<QRadioButton>(&dialog, CParking::kAccActive));
        click(byId<QPushButton>(&dialog, CParking::kApply));
        return dialog.result();
    };
    edit(kSJ)->setFocus(Qt::MouseFocusReason);
    settle();
    EXPECT_TRUE(hasField);
    EXPECT_EQ(checked, (std::set<int>{CParking::kInput1Active, CParking::kInput2Active,
                                      CParking::kInput3Active, CParking::kMotionMoving}));
    EXPECT_EQ(edit(kSJ)->text(), QStringLiteral("208e"));

    // Cancelling keeps the text, and only a store brings it into the record.
    choices.script = nullptr;
    leaveTo(kOS);
    edit(kSJ)->setFocus(Qt::TabFocusReason);
    settle();
    EXPECT_EQ(edit(kSJ)->text(), QStringLiteral("208e"));
    EXPECT_EQ(readNumber(set, "SJ"), 0x008e);
}

}  // namespace
}  // namespace qn470
