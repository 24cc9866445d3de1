// SPDX-License-Identifier: Apache-2.0
// The Stopwatch page: its table of shared scenarios (intervals refuse 1 and 2 only when left, an
// enable byte is stored as 1, actions hold ten characters), and the refused store.

#include "pages/stopwatch_page.h"
#include "page_scenarios.h"

namespace qn470 {
namespace {

using namespace test;

void preset(ParameterSet& set) {
    for (const char* interval : {"WA", "XA", "YA", "ZA"}) {
        writeNumber(set, interval, 60);
    }
    writeNumber(set, "XB", 5);
    writeNumber(set, "ZB", 6);
    writeNumber(set, "XC", 0x23);
    writeText(set, "YD", "84");
}

// WB is the plain field the focus moves to.
const PageTable kPage{"Stopwatch", makePage<CStopwatch>, 1176, 1179, preset};

const LoadRow kLoads[] = {
    {"WA", 4294967294, 1134, "4294967294"},
    {"WB", 255, 1176, "255"},
    {"WC", 0x05, 1130, "05"},
    {"WD", "84a1", 1144, "84a1"},
    {"WE", 1, 1213, kChecked},
    {"XA", 0, 1135, "0"},
    {"XB", 0, 1178, "0"},
    {"XC", 0xa3, 1131, "a3"},
    {"XD", "", 1145, ""},
    {"XE", 0, 1214, kUnchecked},
    {"YA", 3, 1136, "3"},
    {"YB", 7, 1177, "7"},
    {"YC", 0x00, 1132, "00"},
    {"YD", "8c8d8e8f00", 1146, "8c8d8e8f00"},
    {"ZA", 3000000000, 2307, "3000000000"},
    {"ZB", 1, 1179, "1"},
    {"ZC", 0x81, 1133, "81"},
    {"ZD", "c9", 1147, "c9"},
    // Any non-zero enable byte loads checked and is stored as 1.
    {"WE", 2, 1213, kChecked, 1},
    {"XE", 2, 1214, kChecked, 1},
    {"YE", 2, 1215, kChecked, 1},
    {"ZE", 2, 1216, kChecked, 1},
    // The tracker's top, though the page's own rule stops below it.
    {"XA", 4294967295, 1135, "4294967295"},
};

const StoreRow kStores[] = {
    {1134, "4294967294", "WA", Bytes{"fe ff ff ff"}},
    {1176, "255", "WB", 255},
    {1130, "a3", "WC", 0xa3},
    {1144, "84a1", "WD", "84a1"},
    {1213, kChecked, "WE", 1},
    {1215, kUnchecked, "YE", 0},
    {1136, "88", "YA", 88},
    {1179, "200", "ZB", 200},
    {1131, "03", "XC", 0x03},
    {1146, "8400000000", "YD", "8400000000"},
    {1133, "A3", "ZC", 0x03, nullptr, "ZC_upper_case_counts_as_0"},
    // An action holds ten characters; the byte after the field is untouched.
    {1147, "84a1a2a3a8a9", "ZD", Bytes{"38 34 61 31 61 32 61 33 61 38 00"}, "84a1a2a3a8"},
};

const TypingRow kTyping[] = {
    {1134, Input::Typed, "4294967294", "4294967294", ""},
    {1134, Input::Typed, "4294967296", "60",
     "(WA)Please enter an integer between 0 and 4294967295"},
    {1134, Input::Typed, "12345678901", "60",
     "(WA)Please enter an integer between 0 and 4294967295"},
    {2307, Input::Typed, "9999999999", "60",
     "(ZA)Please enter an integer between 0 and 4294967295"},
    {1134, Input::Typed, "1", "1", ""},   // refused only when the field is left
    {1134, Input::Typed, "7x", "7", ""},  // digits only: the letter never arrives
    {1176, Input::Typed, "255", "255", ""},
    {1178, Input::Typed, "256", "5", "(XB)Please enter an integer between 0 and 255"},
    {1179, Input::Typed, "300", "6", "(ZB)Please enter an integer between 0 and 255"},
    {1136, Input::Appended, "0b", "60", "(YA)Please enter a positive integer."},
    // Intervals refuse 1 and 2 when left, with their every-change message.
    {1134, Input::CheckedOnLeaving, "0", "0", ""},
    {1134, Input::CheckedOnLeaving, "3", "3", ""},
    {1134, Input::CheckedOnLeaving, "4294967294", "4294967294", ""},
    {1134, Input::CheckedOnLeaving, "1", "60",
     "(WA)Please enter an integer between 0 and 4294967295"},
    {1135, Input::CheckedOnLeaving, "2", "60",
     "(XA)Please enter an integer between 0 and 4294967295"},
    {1136, Input::CheckedOnLeaving, "1", "60",
     "(YA)Please enter an integer between 0 and 4294967295"},
    {2307, Input::CheckedOnLeaving, "2", "60",
     "(ZA)Please enter an integer between 0 and 4294967295"},
    {2307, Input::CheckedOnLeaving, "0", "0", ""},
};

// Apply at once: the field gets back what the dialog read from it.
const ChoiceRow kChoices[] = {
    {1130, "Choice Report Media", "10"},    {1131, "Choice Report Media", "03"},
    {1132, "Choice Report Media", "10"},    {1133, "Choice Report Media", "10"},
    {1144, "Choice Actions", "0000000000"}, {1145, "Choice Actions", "0000000000"},
    {1146, "Choice Actions", "8400000000"}, {1147, "Choice Actions", "0000000000"},
};

const ControlRow kControls[] = {
    {1134, "(WA) Report interval :", "(3 ~ 4Giga sec)", "Stopwatch 0"},
    {1176, "(WB) Number of report", "(0 ~ 255, 0=continuously)", "Stopwatch 0"},
    {1130, "(WC) Report Media :", "(Media type)", "Stopwatch 0"},
    {1144, "(WD) Action :", "(Action type)", "Stopwatch 0", 10},
    {1213, "(WE) Enable Stopwatch"},
    {1135, "(XA) Report interval :", "(3 ~ 4Giga sec)", "Stopwatch 1"},
    {1178, "(XB) Number of report", "(0 ~ 255, 0=continuously)", "Stopwatch 1"},
    {1131, "(XC) Report Media :", "(Media type)", "Stopwatch 1"},
    {1145, "(XD) Action :", "(Action type)", "Stopwatch 1", 10},
    {1214, "(XE) Enable Stopwatch"},
    {1136, "(YA) Report interval :", "(3 ~ 4Giga sec)", "Stopwatch 2"},
    {1177, "(YB) Number of report", "(0 ~ 255, 0=continuously)", "Stopwatch 2"},
    {1132, "(YC) Report Media :", "(Media type)", "Stopwatch 2"},
    {1146, "(YD) Action :", "(Action type)", "Stopwatch 2", 10},
    {1215, "(YE) Enable Stopwatch"},
    {2307, "(ZA) Report interval :", "(3 ~ 4Giga sec)", "Stopwatch 3"},
    {1179, "(ZB) Number of report", "(0 ~ 255, 0=continuously)", "Stopwatch 3"},
    {1133, "(ZC) Report Media :", "(Media type)", "Stopwatch 3"},
    {1147, "(ZD) Action :", "(Action type)", "Stopwatch 3", 10},
    {1216, "(ZE) Enable Stopwatch"},
};

const UnloadedRow kUnloaded[] = {
    {1134, "0", "WA", 0, 4294967294},
    {1176, "0", "WB", 0, 255},
    {1130, "", "WC", 0, 0x05},
    {1144, "", "WD", "", "84a1"},
    {1213, kUnchecked, "WE", 0, 1},
    {1135, "0", "XA", 0},
    {1178, "0", "XB", 0},
    {1131, "", "XC", 0, 0xa3},
    {1145, "", "XD", ""},
    {1214, kUnchecked, "XE", 0},
    {1136, "0", "YA", 0, 3},
    {1177, "0", "YB", 0, 7},
    {1132, "", "YC", 0},
    {1146, "", "YD", "", "8c8d8e8f00"},
    {1215, kUnchecked, "YE", 0},
    {2307, "0", "ZA", 0, 3000000000},
    {1179, "0", "ZB", 0, 1},
    {1133, "", "ZC", 0, 0x81},
    {1147, "", "ZD", "", "c9"},
    {1216, kUnchecked, "ZE", 0, 1},
};

INSTANTIATE_TEST_SUITE_P(Stopwatch, LoadAndStore, ::testing::ValuesIn(cases(kPage, kLoads)),
                         CaseName{});
INSTANTIATE_TEST_SUITE_P(Stopwatch, Store, ::testing::ValuesIn(cases(kPage, kStores)), CaseName{});
INSTANTIATE_TEST_SUITE_P(Stopwatch, Typing, ::testing::ValuesIn(cases(kPage, kTyping)), CaseName{});
INSTANTIATE_TEST_SUITE_P(Stopwatch, Choice, ::testing::ValuesIn(cases(kPage, kChoices)),
                         CaseName{});
INSTANTIATE_TEST_SUITE_P(Stopwatch, Controls, ::testing::ValuesIn(cases(kPage, kControls)),
                         CaseName{});
INSTANTIATE_TEST_SUITE_P(Stopwatch, Unloaded, ::testing::ValuesIn(cases(kPage, kUnloaded)),
                         CaseName{});
INSTANTIATE_TEST_SUITE_P(Stopwatch, WholePage, ::testing::Values(&kPage), PageName{});

using StopwatchPageTest = PageFixture<CStopwatch>;

TEST_F(StopwatchPageTest, AFailedExchangeKeepsTheFieldsAfterIt) {
    writeNumber(set, "XA", 0);
    writeNumber(set, "XB", 0);
    writeNumber(set, "YC", 0x00);
    writeText(set, "ZD", "c9");
    open();
    edit(1134)->setText(QStringLiteral("10"));  // before the empty field: stored
    edit(1135)->clear();                        // XA
    edit(1178)->setText(QStringLiteral("9"));   // after it: kept
    edit(1132)->setText(QStringLiteral("1f"));  // after it: kept
    edit(1147)->setText(QStringLiteral("4b"));  // after it: kept
    check(1214)->setChecked(true);              // check boxes show their state: stored
    page->StoreValues();
    EXPECT_EQ(messages(), std::vector<std::string>{"Enter a positive integer."});
    EXPECT_EQ(readNumber(set, "WA"), 10);
    EXPECT_EQ(readNumber(set, "XA"), 0);
    EXPECT_EQ(readNumber(set, "XB"), 0);
    EXPECT_EQ(readNumber(set, "YC"), 0x00);
    EXPECT_EQ(readText(set, "ZD"), "c9");
    EXPECT_EQ(readNumber(set, "XE"), 1);
}

TEST_F(StopwatchPageTest, AReloadWhileAnotherFieldHasTheFocusKeepsEachFieldsText) {
    writeNumber(set, "XB", 5);
    openActive();
    edit(1178)->setFocus(Qt::TabFocusReason);  // XB saves "5"
    writeNumber(set, "XA", 4294967295);
    page->LoadValues();  // as after a load while XB has the focus
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(edit(1135)->text(), QStringLiteral("4294967295"));
    EXPECT_EQ(edit(1178)->text(), QStringLiteral("5"));
}

}  // namespace
}  // namespace qn470
