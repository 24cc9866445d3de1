// SPDX-License-Identifier: Apache-2.0
// The Main page: its table of shared scenarios (signed time zone, the battery threshold checked on
// leaving, read-only identity fields, two lists), and what is its own: the Submit button, the
// refused store, the media dialog opening once per entry.

#include <QPushButton>
#include <QRadioButton>

#include "page_scenarios.h"
#include "pages/action_dialog.h"
#include "pages/main_page.h"
#include "pages/media_choice_dialog.h"

namespace qn470 {
namespace {

using namespace test;

void preset(ParameterSet& set) {
    writeText(set, "JB", "84");
    writeNumber(set, "OO", 0x21);
    writeText(set, "O7", "FW 1.02");
    writeText(set, "B2", "359710040000001");
    writeText(set, "B3", "45601");
}

const PageTable kPage{"Main", makePage<CMainPage>, 1059, 1057, preset};

const LoadRow kLoads[] = {
    {"O5", "DEV-7", 1059, "DEV-7"},
    {"O7", "FW 1.02", 1061, "FW 1.02"},
    {"O6", -3600, 1060, "-3600"},
    {"O2", 300, 1057, "300"},
    {"OH", 4294967294, 1062, "4294967294"},
    {"J6", 0x05, 1094, "05"},
    {"J9", 10500, 1196, "10500"},
    {"JA", "84a1000000", 1189, "84a1000000"},
    {"JB", {}, 1190, "0000000000"},
    {"B0", "1234", 2005, "1234"},
    {"B1", "+85512345678", 2002, "+85512345678"},
    {"B2", "359710040000001", 2003, "359710040000001"},
    // Bytes the page must give back as they were.
    {"B3", "45601\xe9\xff", 2004, "45601\xe9\xff", {}, "B3_latin1_text"},
    {"O3", "O3TEXT!", 1004, "O3TEXT!"},
    {"ON", "ON!", 1005, "ON!"},
    {"OO", 0xa3, 1095, "a3"},
    {"Oa", "pw12", 2006, "pw12"},
    {"OB", 2, 1064, "SFlash"},
    {"OC", 4, 1065, "NMEA only"},
    {"OC", 1, 1065, "All"},
    {"OC", 3, 1065, kNoItem},  // a value without an item shows none and is kept
    {"O8", 1, 1023, kChecked},
    {"OG", 0, 1024, kUnchecked},
    {"J2", 45, 1021, "45"},
    {"J5", -40, 1026, "-40"},  // keeps its sign: never stored back as its magnitude
    {"J9", {}, 1196, "11500"},
    {"O3", {}, 1004, "SPRXAB27GHKLMn*U!"},
    {"OO", {}, 1095, "20"},
    {"J5", {}, 1026, "-29"},
    {"OB", {}, 1064, "SFlash"},
    {"OC", {}, 1065, "All"},
};

const StoreRow kStores[] = {
    {1059, "NEW-ID", "O5", "NEW-ID"},
    {1060, "-43200", "O6", Bytes{"40 57 ff ff"}},
    {1057, "65535", "O2", 65535},
    {1062, "4294967294", "OH", 4294967294},
    {1094, "1f", "J6", 0x1f},
    {1095, "1F", "OO", 0x10, nullptr, "OO_upper_case_counts_as_0"},
    {1196, "12000", "J9", 12000},
    {1189, "4b", "JA", "4b"},
    {1190, "8445000000", "JB", "8445000000"},
    {2005, "99", "B0", "99"},
    {2002, "0123456789012345678", "B1", "0123456789012345678"},
    {1004, "ABC!", "O3", "ABC!"},
    {1064, "Debug Port", "OB", 1},
    {1065, "NMEA only", "OC", 4},
    {1023, kChecked, "O8", 1},
    {1024, kUnchecked, "OG", 0},
};

const TypingRow kTyping[] = {
    {1057, Input::Typed, "70000", "0", "(O2)Please enter an integer between 0 and 65535"},
    {1057, Input::Typed, "65535", "65535", ""},
    {1057, Input::Typed, "1a2", "12", ""},  // a numbers-only edit drops the letter
    {1057, Input::Appended, "1b", "0", "(O2)Please enter a positive integer."},
    {1060, Input::Typed, "-5", "-5", ""},
    {1060, Input::Typed, "5-", "5-", ""},
    {1060, Input::Typed, "x", "0", "(O6)Please enter a positive integer."},
    {1060, Input::Typed, "46801", "0", "(O6)Please enter an integer between -43200 and 46800"},
    {1060, Input::Typed, "-43201", "0", "(O6)Please enter an integer between -43200 and 46800"},
    {1062, Input::Typed, "4294967295", "4294967295", ""},
    {1062, Input::Typed, "4294967296", "0", "(OH)Please enter an integer between 0 and 4294967295"},
    // Anything the tracker takes passes while typing; the page's own range is asked for on leaving.
    {1196, Input::Typed, "12001", "12001", ""},
    {1196, Input::Typed, "65536", "11500", "(J9)Please enter an integer between 0 and 65535"},
    {1196, Input::Typed, "9000", "9000", ""},
    {1196, Input::CheckedOnLeaving, "9000", "11500",
     "(J9)Please enter an integer between 10000 and 12000"},
    {1196, Input::CheckedOnLeaving, "10000", "10000", ""},
    // Read-only fields take no keys.
    {1061, Input::Typed, "99", "FW 1.02", ""},
    {2003, Input::Typed, "99", "359710040000001", ""},
    {2004, Input::Typed, "99", "45601", ""},
};

const ChoiceRow kChoices[] = {
    {1094, "Choice Report Media", "04", {CMedia_Choice::kUdp}},
    // The configuration report media keeps its SMS bit.
    {1095, "Choice Report Media", "21"},
    {1190, "Choice Actions", "8445000000", {1226, 1165}},
};

const ControlRow kControls[] = {
    {1059, "(O5) Device ID :", nullptr, nullptr, 15},
    {1061, "(O7) Firmware Version :"},
    {1060, "(O6) Time Zone Offset :"},
    {1057, "(O2) Datalogger interval :"},
    {1062, "(OH) Datalogger distance :"},
    {1094, "(J6) Battery alarm report Media :"},
    {1196, "(J9) Threshold of main battery low alarm :"},
    {1189, "(JA) Action for main battery disconnection alarm :"},
    {1190, "(JB) Action for main battery low alarm :"},
    {2005, "(B0) PIN code :", nullptr, nullptr, 7},
    {2002, "(B1) Phone number of SIM card :"},
    {2003, "(B2) IMEI number :"},
    {2004, "(B3) IMSI number :"},
    {1064, "(OB) Debug message output media :"},
    {1065, "(OC) Debug message level :"},
    {1004, "(O3) Report format 0 :", nullptr, nullptr, 31},
    {1005, "(ON) Report format 1 :"},
    {1095, "(OO) Report media for reading configuration :"},
    {2006, "(Oa) Password for simple command :"},
    {1023, "(O8) Report \"cell ID\" if GPS mode is not fixed."},
    {1024, "(OG) Enable data buffer function."},
};

INSTANTIATE_TEST_SUITE_P(Main, LoadAndStore, ::testing::ValuesIn(cases(kPage, kLoads)), CaseName{});
INSTANTIATE_TEST_SUITE_P(Main, Store, ::testing::ValuesIn(cases(kPage, kStores)), CaseName{});
INSTANTIATE_TEST_SUITE_P(Main, Typing, ::testing::ValuesIn(cases(kPage, kTyping)), CaseName{});
INSTANTIATE_TEST_SUITE_P(Main, Choice, ::testing::ValuesIn(cases(kPage, kChoices)), CaseName{});
INSTANTIATE_TEST_SUITE_P(Main, Controls, ::testing::ValuesIn(cases(kPage, kControls)), CaseName{});

using MainPageTest = PageFixture<CMainPage>;

TEST_F(MainPageTest, SubmitStoresTheControlsAndNothingElse) {
    const ParameterSet before = set;
    open();
    edit(1059)->setText(QStringLiteral("NEW-ID"));
    click(byId<QPushButton>(page.get(), CMainPage::kSubmit));
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(readText(set, "O5"), "NEW-ID");
    const std::set<std::size_t> allowed = bytesOf({"O5"});
    for (std::size_t offset : changedBytes(before.record, set.record)) {
        EXPECT_TRUE(allowed.count(offset)) << "byte " << offset << " changed";
    }
    EXPECT_EQ(byId<QPushButton>(page.get(), CMainPage::kSubmit)->text(), QStringLiteral("Submit"));
}

TEST_F(MainPageTest, AFieldThatIsNotANumberEndsTheStore) {
    open();
    edit(1059)->setText(QStringLiteral("BEFORE"));  // read before J9
    edit(1196)->setText(QString());
    edit(1057)->setText(QStringLiteral("77"));      // read after J9
    edit(1004)->setText(QStringLiteral("AFTER!"));  // read after J9
    check(1023)->setChecked(true);
    page->StoreValues();
    EXPECT_EQ(messages(), std::vector<std::string>{"Enter a positive integer."});
    EXPECT_EQ(readText(set, "O5"), "BEFORE");
    EXPECT_EQ(readNumber(set, "J9"), 11500);
    EXPECT_EQ(readNumber(set, "O2"), 0);
    EXPECT_EQ(readText(set, "O3"), "SPRXAB27GHKLMn*U!");
    EXPECT_EQ(readNumber(set, "O8"),
              1);  // check boxes are not part of the exchange

    prompter.messages.clear();
    edit(1196)->setText(QStringLiteral("11000"));
    edit(1060)->setText(QStringLiteral("5-"));
    page->StoreValues();
    EXPECT_EQ(messages(), std::vector<std::string>{"Enter an integer."});
    EXPECT_EQ(readNumber(set, "O6"), 0);
    EXPECT_EQ(readNumber(set, "J9"), 11500);
}

TEST_F(MainPageTest, MediaFieldsOpenTheMediaDialogOnFocusOnlyOnce) {
    openActive();
    choices.script = [](QDialog& dialog) {
        EXPECT_NE(qobject_cast<CMedia_Choice*>(&dialog), nullptr);
        EXPECT_TRUE(byId<QCheckBox>(&dialog, CMedia_Choice::kSms)->isEnabled());
        EXPECT_TRUE(byId<QRadioButton>(&dialog, CMedia_Choice::kHttp)->isChecked());  // "10"
        click(byId<QRadioButton>(&dialog, CMedia_Choice::kUdp));
        click(byId<QPushButton>(&dialog, CMedia_Choice::kApply));
        return dialog.result();
    };
    edit(1094)->setFocus(Qt::MouseFocusReason);
    settle();
    ASSERT_EQ(choices.titles.size(), 1u);
    EXPECT_EQ(edit(1094)->text(), QStringLiteral("04"));

    // The focus coming back when the dialog closes does not open it again.
    QFocusEvent back(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(edit(1094), &back);
    settle();
    EXPECT_EQ(choices.titles.size(), 1u);

    // Entering the field again does; cancelling leaves its text.
    choices.script = nullptr;
    leaveTo(1059);
    edit(1094)->setFocus(Qt::TabFocusReason);
    settle();
    EXPECT_EQ(choices.titles.size(), 2u);
    EXPECT_EQ(edit(1094)->text(), QStringLiteral("04"));
    // Nothing reaches the record before a store.
    EXPECT_EQ(readNumber(set, "J6"), 0x10);
}

TEST_F(MainPageTest, TheDialogsStartFromTheFieldsText) {
    writeNumber(set, "OO", 0x21);
    writeText(set, "JB", "84");
    openActive();
    bool smsEnabled = true;
    bool smsChecked = false;
    bool slotOne = false;
    choices.script = [&](QDialog& dialog) {
        if (qobject_cast<CMedia_Choice*>(&dialog) != nullptr) {
            smsEnabled = byId<QCheckBox>(&dialog, CMedia_Choice::kSms)->isEnabled();
            smsChecked = byId<QCheckBox>(&dialog, CMedia_Choice::kSms)->isChecked();
        } else {
            EXPECT_NE(qobject_cast<CAction*>(&dialog), nullptr);
            slotOne = byId<QRadioButton>(&dialog, 1139)->isChecked();  // slot 1 holds 84
        }
        return static_cast<int>(QDialog::Rejected);
    };
    edit(1095)->setFocus(Qt::MouseFocusReason);
    settle();
    leaveTo(1059);
    edit(1190)->setFocus(Qt::MouseFocusReason);
    settle();
    EXPECT_FALSE(smsEnabled);  // the configuration report cannot change SMS
    EXPECT_TRUE(smsChecked);
    EXPECT_TRUE(slotOne);
}

}  // namespace
}  // namespace qn470
