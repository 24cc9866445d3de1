// The Function page through its real widgets: what it shows for a record (and the checks that
// run while it is filled), what typing and leaving a field do, what it stores, and the choice
// dialogs of its media, action and parking-trigger fields.

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <set>

#include "page_fixture.h"
#include "pages/action_dialog.h"
#include "pages/function_page.h"
#include "pages/media_choice_dialog.h"
#include "pages/parking_dialog.h"
#include "support/case_name.h"

namespace qn470 {
namespace {

using test::byId;

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

using FunctionPageTest = test::PageFixture<CReportPage1>;
using test::bytesOf;
using test::changedBytes;

void fillUnusualRecord(ParameterSet& set) {
    writeNumber(set, "OD", 0x05);
    writeNumber(set, "OS", 65535);
    writeNumber(set, "PA", 4294967294);
    writeNumber(set, "PC", 0xa3);
    writeText(set, "PD", "84a1000000");
    writeNumber(set, "PE", 0);
    writeNumber(set, "SA", 255);
    writeNumber(set, "SB", 1);
    writeNumber(set, "SC", 0);
    writeNumber(set, "SD", 0x00);
    writeText(set, "SE", "4b");
    writeText(set, "SF", "c9ca\xe9");  // bytes the page must give back as they were
    writeNumber(set, "SI", 1);
    writeNumber(set, "SJ", 0x0042);
    writeNumber(set, "SK", 0xff);
    writeText(set, "SL", "");
    writeNumber(set, "K0", 1);
    writeNumber(set, "K1", 1);
    writeNumber(set, "K2", 30);
    writeNumber(set, "K3", 0x81);
    writeNumber(set, "K4", 0x21);
    writeText(set, "K6", "8c8d8e8f00");
    writeText(set, "K7", "0");
}

TEST_F(FunctionPageTest, ShowsTheRecordInItsControls) {
    fillUnusualRecord(set);
    open();
    const struct {
        int id;
        const char* text;
    } edits[] = {
        {kOD, "05"},       {kOS, "65535"}, {kPA, "4294967294"}, {kPC, "a3"}, {kPD, "84a1000000"},
        {kSA, "255"},      {kSB, "1"},     {kSC, "0"},          {kSD, "00"}, {kSE, "4b"},
        {kSF, "c9ca\xe9"}, {kSJ, "0042"},  {kSK, "ff"},         {kSL, ""},   {kK2, "30"},
        {kK3, "81"},       {kK4, "21"},    {kK6, "8c8d8e8f00"}, {kK7, "0"},
    };
    for (const auto& e : edits) {
        ASSERT_NE(edit(e.id), nullptr) << e.id;
        EXPECT_EQ(edit(e.id)->text(), QString::fromLatin1(e.text)) << e.id;
    }
    EXPECT_FALSE(check(kPE)->isChecked());
    EXPECT_TRUE(check(kSI)->isChecked());
    EXPECT_TRUE(check(kK0)->isChecked());
    EXPECT_TRUE(check(kK1)->isChecked());
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(FunctionPageTest, DefaultsShowAsTheyAre) {
    open();
    EXPECT_EQ(edit(kOS)->text(), QStringLiteral("30"));
    EXPECT_EQ(edit(kSC)->text(), QStringLiteral("5"));
    EXPECT_EQ(edit(kK2)->text(), QStringLiteral("100"));
    EXPECT_EQ(edit(kSJ)->text(), QStringLiteral("2080"));
    EXPECT_EQ(edit(kK4)->text(), QStringLiteral("20"));
    EXPECT_TRUE(check(kPE)->isChecked());
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(FunctionPageTest, StoringUneditedControlsLeavesTheRecordAsItWas) {
    for (bool unusual : {false, true}) {
        if (unusual) {
            fillUnusualRecord(set);
        }
        const ParameterSet before = set;
        open().StoreValues();
        EXPECT_TRUE(changedBytes(before.record, set.record).empty()) << unusual;
        EXPECT_TRUE(prompter.messages.empty());
    }
}

TEST_F(FunctionPageTest, StoresEditedControlsIntoTheirFieldsOnly) {
    const ParameterSet before = set;
    open();
    const struct {
        int id;
        const char* text;
    } edits[] = {
        {kOD, "5"},   // one digit is the high nibble
        {kPC, "A3"},  // upper-case digits count as 0
        {kSD, "a3"},
        {kK3, "8"},
        {kK4, "a"},
        {kSK, "1f9"},  // only the first two
                       // characters count
        {kSJ, "208e"},
        {kOS, "65535"},
        {kPA, "0"},
        {kSA, "200"},
        {kSB, "10"},
        {kSC, "0"},
        {kK2, "4294967294"},
        {kPD, "4b"},
        {kSE, "8445000000"},
        {kSF, ""},
        {kSL, "a0a1a2a3a8"},
        {kK6, "c1"},
        {kK7, "49"},
    };
    for (const auto& e : edits) {
        edit(e.id)->setText(QString::fromLatin1(e.text));
    }
    check(kPE)->setChecked(false);
    check(kK0)->setChecked(true);
    check(kK1)->setChecked(true);
    check(kSI)->setChecked(true);
    page->StoreValues();

    EXPECT_TRUE(prompter.messages.empty());
    const struct {
        const char* code;
        int64_t value;
    } numbers[] = {
        {"OD", 0x50},       {"PC", 0x03},  {"SD", 0xa3}, {"K3", 0x80}, {"K4", 0xa0}, {"SK", 0x1f},
        {"SJ", 0x208e},     {"OS", 65535}, {"PA", 0},    {"SA", 200},  {"SB", 10},   {"SC", 0},
        {"K2", 4294967294}, {"PE", 0},     {"K0", 1},    {"K1", 1},    {"SI", 1},
    };
    for (const auto& n : numbers) {
        EXPECT_EQ(readNumber(set, n.code), n.value) << n.code;
    }
    EXPECT_EQ(readText(set, "PD"), "4b");
    EXPECT_EQ(readText(set, "SE"), "8445000000");
    EXPECT_EQ(readText(set, "SF"), "");
    EXPECT_EQ(readText(set, "SL"), "a0a1a2a3a8");
    EXPECT_EQ(readText(set, "K6"), "c1");
    EXPECT_EQ(readText(set, "K7"), "49");
    // SJ goes into the record little-endian; PE, K0 and K1 share the flags word.
    const auto* bytes = reinterpret_cast<const unsigned char*>(&set.record);
    EXPECT_EQ(bytes[parameter("SJ").offset], 0x8e);
    EXPECT_EQ(bytes[parameter("SJ").offset + 1], 0x20);
    std::set<std::size_t> allowed =
        bytesOf({"OD", "PC", "SD", "K3", "K4", "SK", "SJ", "OS", "PA", "SA",
                 "SB", "SC", "K2", "PD", "SE", "SF", "SL", "K6", "K7", "SI"});
    const std::set<std::size_t> flags = bytesOf({"PE"});
    allowed.insert(flags.begin(), flags.end());
    for (std::size_t offset : changedBytes(before.record, set.record)) {
        EXPECT_TRUE(allowed.count(offset)) << "byte " << offset << " changed";
    }
    EXPECT_EQ(readNumber(set, "A0"), readNumber(before, "A0"));  // a neighbour bit stays
}

TEST_F(FunctionPageTest, ActionTextsNeverOverflowTheirField) {
    open();
    // Set by a paste or a dialog: the edit keeps ten characters, the store writes ten and the
    // terminator, and the field after it is untouched.
    edit(kSL)->setText(QStringLiteral("84a1a2a3a4a5a8"));
    EXPECT_EQ(edit(kSL)->text(), QStringLiteral("84a1a2a3a4"));
    const ParameterSet before = set;
    page->StoreValues();
    EXPECT_EQ(readText(set, "SL"), "84a1a2a3a4");
    const auto* bytes = reinterpret_cast<const unsigned char*>(&set.record);
    EXPECT_EQ(bytes[parameter("SL").offset + 10], 0);
    EXPECT_EQ(changedBytes(before.record, set.record).size(), 10u);
    for (std::size_t offset : changedBytes(before.record, set.record)) {
        EXPECT_TRUE(bytesOf({"SL"}).count(offset)) << offset;
    }
}

TEST_F(FunctionPageTest, WithoutALoadItShowsZerosAndClosingStoresThem) {
    registry = PageRegistry{};
    open();
    for (int id : {kOS, kPA, kK2, kSA, kSB, kSC}) {
        EXPECT_EQ(edit(id)->text(), QStringLiteral("0")) << id;
    }
    for (int id : {kOD, kPC, kPD, kSD, kSE, kSF, kSJ, kSK, kSL, kK3, kK4, kK6, kK7}) {
        EXPECT_TRUE(edit(id)->text().isEmpty()) << id;
    }
    for (int id : {kPE, kK0, kK1, kSI}) {
        EXPECT_FALSE(check(id)->isChecked()) << id;
    }
    EXPECT_TRUE(prompter.messages.empty());
    page->closePage();
    EXPECT_TRUE(prompter.messages.empty());
    for (const char* code : {"OS", "PA", "K2", "SA", "SB", "SC", "OD", "SJ", "PE", "SI", "K0"}) {
        EXPECT_EQ(readNumber(set, code), 0) << code;
    }
    EXPECT_EQ(readText(set, "SL"), "");
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
    EXPECT_EQ(readNumber(set, "SI"), 1);  // check boxes always show what they store
}

struct LoadCase {
    const char* code;
    int64_t value;
    int id;
    const char* message;
};

class FunctionPageLoading : public FunctionPageTest,
                            public ::testing::WithParamInterface<LoadCase> {};

TEST_P(FunctionPageLoading, ARecordValueOutsideTheRuleIsReportedAndNeverStored) {
    const LoadCase& c = GetParam();
    writeNumber(set, c.code, c.value);
    open();
    EXPECT_EQ(messages(), std::vector<std::string>{c.message});
    // Nothing was saved for the field yet, so it is left empty...
    EXPECT_TRUE(edit(c.id)->text().isEmpty());
    // ...and the store refuses it rather than writing a value the page never showed.
    prompter.messages.clear();
    page->StoreValues();
    EXPECT_EQ(messages(), std::vector<std::string>{"Enter a positive integer."});
    EXPECT_EQ(readNumber(set, c.code), c.value);
}

INSTANTIATE_TEST_SUITE_P(Fields, FunctionPageLoading,
                         ::testing::Values(
                             // PA and K2 take every number their fields hold (rule_agreement_test).
                             LoadCase{"OS", 0, kOS,
                                      "(OS)Please enter an integer between 1 and 65535"}),
                         [](const auto& info) {
                             return caseNames({info.param.code, std::to_string(info.param.value)});
                         });

TEST_F(FunctionPageTest, AReloadNeverGivesARefusedFieldAnotherFieldsText) {
    openActive();
    edit(kK2)->setFocus(Qt::TabFocusReason);  // K2's text "100" is saved
    writeNumber(set, "OS", 0);
    page->LoadValues();
    EXPECT_EQ(messages(),
              std::vector<std::string>{"(OS)Please enter an integer between 1 and 65535"});
    EXPECT_TRUE(edit(kOS)->text().isEmpty());
}

struct TypingCase {
    int id;
    const char* keys;
    const char* text;     // the field's text afterwards
    const char* message;  // empty: none
};

class FunctionPageTyping : public FunctionPageTest,
                           public ::testing::WithParamInterface<TypingCase> {};

TEST_P(FunctionPageTyping, BadTextIsUndoneWithTheFieldsMessage) {
    const TypingCase& c = GetParam();
    openActive();
    typeInto(c.id, QString::fromLatin1(c.keys));
    EXPECT_EQ(edit(c.id)->text(), QString::fromLatin1(c.text)) << c.keys;
    std::vector<std::string> expected;
    if (*c.message != '\0') {
        expected.push_back(c.message);
    }
    EXPECT_EQ(messages(), expected) << c.keys;
}

INSTANTIATE_TEST_SUITE_P(
    Fields, FunctionPageTyping,
    ::testing::Values(
        // OS: 1 to 65535; a refused text gives back the text the field had on entry.
        TypingCase{kOS, "0", "30", "(OS)Please enter an integer between 1 and 65535"},
        TypingCase{kOS, "65536", "30", "(OS)Please enter an integer between 1 and 65535"},
        TypingCase{kOS, "65535", "65535", ""}, TypingCase{kOS, "1", "1", ""},
        TypingCase{kOS, "12a", "12", ""},  // a numbers-only edit drops the letter
        // PA and K2: only the top is checked while typing.
        TypingCase{kPA, "30", "30", ""}, TypingCase{kPA, "4294967295", "4294967295", ""},
        TypingCase{kPA, "4294967296", "0", "(PA)Please enter an integer between 50 and 4294967295"},
        TypingCase{kPA, "12345678901", "0",
                   "(PA)Please enter an integer between 50 and 4294967295"},
        TypingCase{kK2, "0", "0", ""},
        TypingCase{kK2, "4294967296", "100",
                   "(K2)Please enter an integer between 30 and 4294967295"},
        // Speeds: a refused text becomes 0, or 5 for the hysteresis.
        TypingCase{kSA, "255", "255", ""},
        TypingCase{kSA, "256", "0", "(SA)Please enter an integer between 0 and 255"},
        TypingCase{kSB, "999", "0", "(SB)Please enter an integer between 0 and 255"},
        TypingCase{kSC, "300", "5", "(SC)Please enter an integer between 0 and 255"},
        TypingCase{kSC, "0", "0", ""}),
    [](const auto& info) { return typingCaseName(info.param); });

TEST_F(FunctionPageTest, PastedLettersAreRefusedWithTheDigitMessage) {
    const struct {
        int id;
        const char* after;  // the text after the refusal
        const char* message;
    } cases[] = {
        {kOS, "30", "(OS)Please enter a positive integer."},
        {kPA, "0", "(PA)Please enter a positive integer."},
        {kK2, "100", "(K2)Please enter a positive integer."},
        {kSA, "0", "(SA)Please enter a positive integer."},
        {kSB, "0", "(SB)Please enter a positive integer."},
        {kSC, "5", "(SC)Please enter a positive integer."},
    };
    openActive();
    for (const auto& c : cases) {
        prompter.messages.clear();
        edit(c.id)->setFocus(Qt::TabFocusReason);
        edit(c.id)->selectAll();
        edit(c.id)->insert(QStringLiteral("12x"));
        EXPECT_EQ(edit(c.id)->text(), QString::fromLatin1(c.after)) << c.id;
        EXPECT_EQ(messages(), std::vector<std::string>{c.message}) << c.id;
    }
}

struct LeavingCase {
    int id;
    const char* keys;
    const char* text;
    const char* message;
};

class FunctionPageLeaving : public FunctionPageTest,
                            public ::testing::WithParamInterface<LeavingCase> {};

TEST_P(FunctionPageLeaving, PaAndK2CheckTheirLeastValueWhenLeft) {
    const LeavingCase& c = GetParam();
    openActive();
    typeInto(c.id, QString::fromLatin1(c.keys));
    if (*c.keys == '\0') {
        QTest::keyClick(edit(c.id), Qt::Key_Backspace);
    }
    EXPECT_TRUE(prompter.messages.empty());
    // A message box or another program taking the focus is not leaving the field.
    QFocusEvent away(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(edit(c.id), &away);
    EXPECT_TRUE(prompter.messages.empty());

    edit(kOS)->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(edit(c.id)->text(), QString::fromLatin1(c.text)) << c.keys;
    std::vector<std::string> expected;
    if (*c.message != '\0') {
        expected.push_back(c.message);
    }
    EXPECT_EQ(messages(), expected) << c.keys;
}

INSTANTIATE_TEST_SUITE_P(
    Fields, FunctionPageLeaving,
    ::testing::Values(
        LeavingCase{kPA, "30", "0", "(PA)Please enter an integer between 50 and 4294967295"},
        LeavingCase{kPA, "1", "0", "(PA)Please enter an integer between 50 and 4294967295"},
        LeavingCase{kPA, "0", "0", ""},  // no trigger
        LeavingCase{kPA, "50", "50", ""},
        LeavingCase{kPA, "", "", ""},  // an empty text raises nothing
        LeavingCase{kK2, "0", "100", "(K2)Please enter an integer between 30 and 4294967295"},
        LeavingCase{kK2, "29", "100", "(K2)Please enter an integer between 30 and 4294967295"},
        LeavingCase{kK2, "30", "30", ""}),
    [](const auto& info) { return typingCaseName(info.param); });

TEST_F(FunctionPageTest, NoOtherFieldIsCheckedWhenLeft) {
    openActive();
    typeInto(kOS, QStringLiteral("1"));
    typeInto(kSA, QStringLiteral("0"));
    edit(kPA)->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(FunctionPageTest, ChoiceFieldsOpenTheirDialogOnFocus) {
    const struct {
        int id;
        const char* title;
        const char* result;  // what the dialog writes after one click and Apply
    } cases[] = {
        {kOD, "Choice Report Media", "04"},
        {kPC, "Choice Report Media", "04"},
        {kSD, "Choice Report Media", "04"},
        {kK3, "Choice Report Media", "04"},
        {kK4, "Choice Report Media", "04"},
        {kSK, "Choice Report Media", "04"},
        {kPD, "Choice Actions", "4500000000"},
        {kSE, "Choice Actions", "4500000000"},
        {kSF, "Choice Actions", "4500000000"},
        {kK6, "Choice Actions", "4500000000"},
        {kK7, "Choice Actions", "4500000000"},
        {kSL, "Choice Actions", "4500000000"},
        {kSJ, "Trigger source of parking alarm", "2000"},
    };
    openActive();
    bool smsEnabled = true;
    choices.script = [&](QDialog& dialog) {
        if (qobject_cast<CMedia_Choice*>(&dialog) != nullptr) {
            smsEnabled = byId<QCheckBox>(&dialog, CMedia_Choice::kSms)->isEnabled();
            test::click(byId<QRadioButton>(&dialog, CMedia_Choice::kUdp));
            test::click(byId<QPushButton>(&dialog, CMedia_Choice::kApply));
        } else if (qobject_cast<CAction*>(&dialog) != nullptr) {
            test::click(byId<QRadioButton>(&dialog, 1165));  // "Turn on (45)"
            test::click(byId<QPushButton>(&dialog, CAction::kApply));
        } else {
            test::click(byId<QRadioButton>(&dialog, CParking::kNone));
            test::click(byId<QRadioButton>(&dialog, CParking::kAccActive));
            test::click(byId<QPushButton>(&dialog, CParking::kApply));
        }
        return dialog.result();
    };
    edit(kOS)->setFocus(Qt::TabFocusReason);
    for (const auto& c : cases) {
        choices.titles.clear();
        edit(c.id)->setFocus(Qt::MouseFocusReason);
        test::settle();
        ASSERT_EQ(choices.titles.size(), 1u) << c.id;
        EXPECT_EQ(choices.titles[0], QString::fromUtf8(c.title)) << c.id;
        EXPECT_EQ(edit(c.id)->text(), QString::fromLatin1(c.result)) << c.id;
        EXPECT_EQ(smsEnabled, c.id != kK4) << c.id;
        smsEnabled = true;
        edit(kOS)->setFocus(Qt::TabFocusReason);
    }
    // Only the store brings the texts into the record.
    EXPECT_EQ(readNumber(set, "SJ"), 0x2080);
    page->StoreValues();
    EXPECT_EQ(readNumber(set, "SJ"), 0x2000);
    EXPECT_EQ(readNumber(set, "K4"), 0x04);
    EXPECT_EQ(readText(set, "K7"), "4500000000");
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
        test::click(byId<QRadioButton>(&dialog, CParking::kAccActive));
        test::click(byId<QPushButton>(&dialog, CParking::kApply));
        return dialog.result();
    };
    edit(kSJ)->setFocus(Qt::MouseFocusReason);
    test::settle();
    EXPECT_TRUE(hasField);
    EXPECT_EQ(checked, (std::set<int>{CParking::kInput1Active, CParking::kInput2Active,
                                      CParking::kInput3Active, CParking::kMotionMoving}));
    EXPECT_EQ(edit(kSJ)->text(), QStringLiteral("208e"));

    // Cancelling keeps the text.
    choices.script = nullptr;
    edit(kOS)->setFocus(Qt::TabFocusReason);
    edit(kSJ)->setFocus(Qt::TabFocusReason);
    test::settle();
    EXPECT_EQ(edit(kSJ)->text(), QStringLiteral("208e"));
}

TEST_F(FunctionPageTest, FitsTheWindowAt1024By768) {
    test::expectFitsThePageBand(open());
}

}  // namespace
}  // namespace qn470
