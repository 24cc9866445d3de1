// SPDX-License-Identifier: Apache-2.0
// The Counter page: its table of shared scenarios (trigger levels are checked only against the
// 32-bit top, an automatic reset is stored as 1), and the refused store.

#include "pages/counter_page.h"
#include "page_scenarios.h"

namespace qn470 {
namespace {

using namespace test;

void preset(ParameterSet& set) {
    for (const char* level : {"Pa", "Pg", "Pm", "Ps"}) {
        writeNumber(set, level, 40);
    }
    writeNumber(set, "Po", 0x81);
    writeText(set, "Pj", "a1");
}

const PageTable kPage{"Counter", makePage<CCounter>, 1180, 1181, preset};

const LoadRow kLoads[] = {
    {"Pa", 4294967294, 1180, "4294967294"},
    {"Pb", 1, 1210, kChecked},
    {"Pc", 0x05, 1172, "05"},
    {"Pd", "a0a8", 1168, "a0a8"},
    {"Pg", 0, 1181, "0"},
    {"Ph", 0, 1211, kUnchecked},
    {"Pi", 0xa3, 1175, "a3"},
    {"Pj", "", 1170, ""},
    {"Pm", 12, 1182, "12"},
    {"Pn", 2, 1212, kChecked, 1},  // any non-zero byte comes back as 1
    {"Po", 0x10, 1173, "10"},
    {"Pp", "0000000000", 1169, "0000000000"},
    {"Ps", 1, 1183, "1"},
    {"Pt", 255, 1027, kChecked, 1},
    {"Pu", 0x00, 1174, "00"},
    {"Pv", "4b", 1171, "4b"},
    // Above the signed range, and the tracker's top: shown and stored back unchanged.
    {"Pa", 3000000000, 1180, "3000000000"},
    {"Pg", 3000000000, 1181, "3000000000"},
    {"Pm", 3000000000, 1182, "3000000000"},
    {"Ps", 3000000000, 1183, "3000000000"},
    {"Ps", 4294967295, 1183, "4294967295"},
};

// A refused trigger level becomes 0; leaving the field checks nothing more.
const TypingRow kTyping[] = {
    {1180, Input::Left, "4294967294", "4294967294", ""},
    {1180, Input::Left, "4294967296", "0", "(Pa)Please enter an integer between 0 and 4294967295"},
    {1181, Input::Left, "12345678901", "0", "(Pg)Please enter an integer between 0 and 4294967295"},
    {1182, Input::Pasted, "5x", "0", "(Pm)Please enter a positive integer."},
    {1183, Input::Left, "9999999999", "0", "(Ps)Please enter an integer between 0 and 4294967295"},
    {1183, Input::Left, "0", "0", ""},
};

// Apply at once: the field gets back what the dialog read from it.
const ChoiceRow kChoices[] = {
    {1172, "Choice Report Media", "10"},    {1175, "Choice Report Media", "10"},
    {1173, "Choice Report Media", "81"},    {1174, "Choice Report Media", "10"},
    {1168, "Choice Actions", "0000000000"}, {1170, "Choice Actions", "a100000000"},
    {1169, "Choice Actions", "0000000000"}, {1171, "Choice Actions", "0000000000"},
};

constexpr const char* kLevel = "(0 ~ 4Giga, 0=no trigger)";
const ControlRow kControls[] = {
    {1180, "(Pa) Trigger level :", kLevel, "Counter 0"},
    {1172, "(Pc) Report Media :", "(Media type)", "Counter 0"},
    {1168, "(Pd) Action :", "(Action type)", "Counter 0", 10},
    {1210, "(Pb) Automatically reset counter", nullptr, "Counter 0"},
    {1181, "(Pg) Trigger level :", kLevel, "Counter 1"},
    {1175, "(Pi) Report Media :", "(Media type)", "Counter 1"},
    {1170, "(Pj) Action :", "(Action type)", "Counter 1", 10},
    {1211, "(Ph) Automatically reset counter", nullptr, "Counter 1"},
    {1182, "(Pm) Trigger level :", kLevel, "Counter 2"},
    {1173, "(Po) Report Media :", "(Media type)", "Counter 2"},
    {1169, "(Pp) Action :", "(Action type)", "Counter 2", 10},
    {1212, "(Pn) Automatically reset counter", nullptr, "Counter 2"},
    {1183, "(Ps) Trigger level :", kLevel, "Counter 3"},
    {1174, "(Pu) Report Media :", "(Media type)", "Counter 3"},
    {1171, "(Pv) Action :", "(Action type)", "Counter 3", 10},
    {1027, "(Pt) Automatically reset counter", nullptr, "Counter 3"},
};

const UnloadedRow kUnloaded[] = {
    {1180, "0", "Pa", 0, 77}, {1210, kUnchecked, "Pb", 0, 1},
    {1172, "", "Pc", 0},      {1168, "", "Pd", ""},
    {1181, "0", "Pg", 0, 77}, {1211, kUnchecked, "Ph", 0, 1},
    {1175, "", "Pi", 0},      {1170, "", "Pj", ""},
    {1182, "0", "Pm", 0, 77}, {1212, kUnchecked, "Pn", 0, 1},
    {1173, "", "Po", 0},      {1169, "", "Pp", ""},
    {1183, "0", "Ps", 0, 77}, {1027, kUnchecked, "Pt", 0, 1},
    {1174, "", "Pu", 0},      {1171, "", "Pv", ""},
};

INSTANTIATE_TEST_SUITE_P(Counter, LoadAndStore, ::testing::ValuesIn(cases(kPage, kLoads)),
                         CaseName{});
INSTANTIATE_TEST_SUITE_P(Counter, Typing, ::testing::ValuesIn(cases(kPage, kTyping)), CaseName{});
INSTANTIATE_TEST_SUITE_P(Counter, Choice, ::testing::ValuesIn(cases(kPage, kChoices)), CaseName{});
INSTANTIATE_TEST_SUITE_P(Counter, Controls, ::testing::ValuesIn(cases(kPage, kControls)),
                         CaseName{});
INSTANTIATE_TEST_SUITE_P(Counter, Unloaded, ::testing::ValuesIn(cases(kPage, kUnloaded)),
                         CaseName{});
INSTANTIATE_TEST_SUITE_P(Counter, WholePage, ::testing::Values(&kPage), PageName{});

using CounterPageTest = PageFixture<CCounter>;

TEST_F(CounterPageTest, AFailedExchangeKeepsTheFieldsAfterIt) {
    open();
    edit(1180)->setText(QStringLiteral("5"));   // Pa, before: stored
    edit(1181)->clear();                        // Pg
    edit(1182)->setText(QStringLiteral("6"));   // Pm, after: kept
    edit(1171)->setText(QStringLiteral("4b"));  // Pv, after: kept
    check(1027)->setChecked(true);              // Pt
    page->StoreValues();
    EXPECT_EQ(messages(), std::vector<std::string>{"Enter a positive integer."});
    EXPECT_EQ(readNumber(set, "Pa"), 5);
    EXPECT_EQ(readNumber(set, "Pg"), 0);
    EXPECT_EQ(readNumber(set, "Pm"), 0);
    EXPECT_EQ(readText(set, "Pv"), "0000000000");
    EXPECT_EQ(readNumber(set, "Pt"), 1);
}

}  // namespace
}  // namespace qn470
