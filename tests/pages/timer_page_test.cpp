// SPDX-License-Identifier: Apache-2.0
// The Timer page: its table of shared scenarios (times of the day and the least interval asked for
// when a field is left, record values outside the page's limits kept), and what is its own: the
// weekday dialog, the refused store.

#include <QPushButton>

#include "page_scenarios.h"
#include "pages/media_choice_dialog.h"
#include "pages/timer_page.h"
#include "pages/weekday_dialog.h"

namespace qn470 {
namespace {

using namespace test;

const PageTable kPage{"Timer", makePage<CReportPage2>, 2501, 2502};

const LoadRow kLoads[] = {
    {"W0", 0, 2501, "0"},
    {"W1", 86400, 2502, "86400"},
    {"W2", 3600, 2503, "3600"},
    {"W3", 0x7f, 1107, "7f"},
    {"W4", 0x05, 1103, "05"},
    {"W5", "84", 1148, "84"},
    {"X0", 86399, 2506, "86399"},
    {"X1", 1, 2507, "1"},
    {"X2", 65535, 2508, "65535"},
    {"X3", 0x00, 1108, "00"},
    {"X4", 0xa3, 1105, "a3"},
    {"X5", "", 1150, ""},
    {"Y0", 43200, 2511, "43200"},
    {"Y1", 50000, 2512, "50000"},
    {"Y2", 1, 2513, "1"},
    {"Y3", 0x41, 1109, "41"},
    {"Y4", 0x10, 1104, "10"},
    {"Y5", "a0a1a2a3a8", 1149, "a0a1a2a3a8"},
    {"Z0", 1, 2516, "1"},
    {"Z1", 2, 2517, "2"},
    {"Z2", 60, 2518, "60"},
    {"Z3", 0x3e, 1110, "3e"},
    {"Z4", 0xff, 1106, "ff"},
    {"Z5", "c\xe9", 1151, "c\xe9", {}, "Z5_latin1_text"},
    {"Z5", "4b\xff", 1151, "4b\xff", {}, "Z5_4b_then_latin1"},
    // The tracker holds these, so filling the page (which checks as if typed) raises nothing.
    {"W1", 0, 2502, "0"},
    {"Y1", 0, 2512, "0"},
    {"X0", 86400, 2506, "86400"},
    {"Z0", 4294967295, 2516, "4294967295"},
    {"Z2", 0, 2518, "0"},
};

const StoreRow kStores[] = {
    {2501, "86399", "W0", 86399},
    {2502, "86400", "W1", Bytes{"80 51 01 00"}},  // 32 bits little-endian
    {2503, "65535", "W2", Bytes{"ff ff"}},        // 16 bits
    {1107, "3e", "W3", 0x3e},
    {1103, "a3", "W4", 0xa3},
    {1148, "8445000000", "W5", "8445000000"},
    {2506, "0", "X0", 0},
    {2507, "1", "X1", 1},
    {2508, "1", "X2", 1},
    {1108, "7f", "X3", 0x7f},
    {1105, "1", "X4", 0x10},
    {1150, "c1", "X5", "c1"},
    {2511, "100", "Y0", 100},
    {2512, "200", "Y1", 200},
    {2513, "300", "Y2", 300},
    {1109, "3E", "Y3", 0x30, nullptr, "Y3_upper_case_counts_as_0"},
    {1104, "8A", "Y4", 0x80, nullptr, "Y4_upper_case_counts_as_0"},
    {1149, "", "Y5", ""},
    {2516, "5", "Z0", 5},
    {2517, "6", "Z1", 6},
    {2518, "7", "Z2", 7},
    {1110, "01x", "Z3", 0x01},  // only the first two characters count
    {1106, "21", "Z4", 0x21},
    {1151, "4b", "Z5", "4b"},
    // An action never overflows its field.
    {1151, "84a1a2a3a4a5a8", "Z5", Bytes{"38 34 61 31 61 32 61 33 61 34 00"}, "84a1a2a3a4"},
};

// Typing refuses only what the field cannot hold; the times of the day and the least interval are
// asked for when the field is left.
const TypingRow kTyping[] = {
    {2501, Input::Left, "86399", "86399", ""},
    {2501, Input::Left, "86400", "0", "(W0)Please enter an integer between 0 and 86399"},
    {2516, Input::Left, "90000", "0", "(Z0)Please enter an integer between 0 and 86399"},
    {2502, Input::Left, "86400", "86400", ""},
    {2502, Input::Left, "0", "86400", "(W1)Please enter an integer between 1 and 86400"},
    {2507, Input::Left, "86401", "86400", "(X1)Please enter an integer between 1 and 86400"},
    // Timer Y's end time names its true least value too.
    {2512, Input::Left, "0", "86400", "(Y1)Please enter an integer between 1 and 86400"},
    {2503, Input::Left, "65535", "65535", ""},
    {2503, Input::Left, "0", "3600", "(W2)Please enter an integer between 1 and 65535"},
    {2513, Input::Left, "65536", "3600", "(Y2)Please enter an integer between 1 and 65535"},
    {2518, Input::Left, "1x", "1", ""},  // a numbers-only edit drops the letter
    // Pasted letters get the digit message.
    {2501, Input::Pasted, "5a", "0", "(W0)Please enter a positive integer."},
    {2507, Input::Pasted, "5a", "86400", "(X1)Please enter a positive integer."},
    {2518, Input::Pasted, "5a", "3600", "(Z2)Please enter a positive integer."},
};

constexpr std::array<int, 3> kTcp = {CMedia_Choice::kTcp};
constexpr std::array<int, 3> kZero = {1143};  // "0 (8c)"
const ChoiceRow kChoices[] = {
    {1103, "Choice Report Media", "02", kTcp}, {1148, "Choice Actions", "8c00000000", kZero},
    {1105, "Choice Report Media", "02", kTcp}, {1150, "Choice Actions", "8c00000000", kZero},
    {1104, "Choice Report Media", "02", kTcp}, {1149, "Choice Actions", "8c00000000", kZero},
    {1106, "Choice Report Media", "02", kTcp}, {1151, "Choice Actions", "8c00000000", kZero},
};

const UnloadedRow kUnloaded[] = {
    {2501, "0", "W0", 0}, {2502, "0", "W1", 0}, {2503, "0", "W2", 0}, {1107, "", "W3", 0},
    {1103, "", "W4", 0},  {1148, "", "W5", ""}, {2506, "0", "X0", 0}, {2507, "0", "X1", 0},
    {2508, "0", "X2", 0}, {1108, "", "X3", 0},  {1105, "", "X4", 0},  {1150, "", "X5", ""},
    {2511, "0", "Y0", 0}, {2512, "0", "Y1", 0}, {2513, "0", "Y2", 0}, {1109, "", "Y3", 0},
    {1104, "", "Y4", 0},  {1149, "", "Y5", ""}, {2516, "0", "Z0", 0}, {2517, "0", "Z1", 0},
    {2518, "0", "Z2", 0}, {1110, "", "Z3", 0},  {1106, "", "Z4", 0},  {1151, "", "Z5", ""},
};

INSTANTIATE_TEST_SUITE_P(Timer, LoadAndStore, ::testing::ValuesIn(cases(kPage, kLoads)),
                         CaseName{});
INSTANTIATE_TEST_SUITE_P(Timer, Store, ::testing::ValuesIn(cases(kPage, kStores)), CaseName{});
INSTANTIATE_TEST_SUITE_P(Timer, Typing, ::testing::ValuesIn(cases(kPage, kTyping)), CaseName{});
INSTANTIATE_TEST_SUITE_P(Timer, Choice, ::testing::ValuesIn(cases(kPage, kChoices)), CaseName{});
INSTANTIATE_TEST_SUITE_P(Timer, Unloaded, ::testing::ValuesIn(cases(kPage, kUnloaded)), CaseName{});
INSTANTIATE_TEST_SUITE_P(Timer, WholePage, ::testing::Values(&kPage), PageName{});

using TimerPageTest = PageFixture<CReportPage2>;

TEST_F(TimerPageTest, AFailedExchangeKeepsTheFieldsAfterIt) {
    open();
    edit(2501)->setText(QStringLiteral("7"));   // W0, read before W2
    edit(2503)->setText(QString());             // W2
    edit(1107)->setText(QStringLiteral("7f"));  // W3, read after W2
    edit(2506)->setText(QStringLiteral("9"));   // X0
    edit(1151)->setText(QStringLiteral("84"));  // Z5
    page->StoreValues();
    EXPECT_EQ(messages(), std::vector<std::string>{"Enter a positive integer."});
    EXPECT_EQ(readNumber(set, "W0"), 7);
    EXPECT_EQ(readNumber(set, "W2"), 3600);
    EXPECT_EQ(readNumber(set, "W3"), 0);
    EXPECT_EQ(readNumber(set, "X0"), 0);
    EXPECT_EQ(readText(set, "Z5"), "0000000000");
}

TEST_F(TimerPageTest, WeekdayFieldsOpenTheWeekdayDialogForTheirOwnMask) {
    writeNumber(set, "W3", 0x41);
    writeNumber(set, "X3", 0x02);
    openActive();
    leaveTo(2501);
    std::set<int> shown;
    choices.script = [&](QDialog& dialog) {
        EXPECT_NE(qobject_cast<CWeekday*>(&dialog), nullptr);
        shown.clear();
        for (QCheckBox* box : dialog.findChildren<QCheckBox*>()) {
            if (box->isChecked()) {
                shown.insert(box->objectName().toInt());
                click(box);  // uncheck
            }
        }
        for (int id : {CWeekday::kMonday, CWeekday::kTuesday, CWeekday::kWednesday,
                       CWeekday::kThursday, CWeekday::kFriday}) {
            click(byId<QCheckBox>(&dialog, id));
        }
        click(byId<QPushButton>(&dialog, CWeekday::kSave));
        return dialog.result();
    };
    edit(1107)->setFocus(Qt::MouseFocusReason);
    settle();
    ASSERT_EQ(choices.titles.size(), 1u);
    EXPECT_EQ(choices.titles[0], QStringLiteral("Choice Weekday"));
    EXPECT_EQ(shown, (std::set<int>{CWeekday::kSunday, CWeekday::kSaturday}));
    EXPECT_EQ(text(1107), QStringLiteral("3e"));
    EXPECT_EQ(text(1108),
              QStringLiteral("02"));  // the other timers' masks are untouched

    leaveTo(2501);
    edit(1108)->setFocus(Qt::MouseFocusReason);
    settle();
    EXPECT_EQ(shown, (std::set<int>{CWeekday::kMonday}));
    EXPECT_EQ(text(1108), QStringLiteral("3e"));
    EXPECT_EQ(text(1107), QStringLiteral("3e"));
    EXPECT_EQ(readNumber(set, "X3"), 0x02);  // only the store writes the record
    page->StoreValues();
    EXPECT_EQ(readNumber(set, "X3"), 0x3e);
}

}  // namespace
}  // namespace qn470
