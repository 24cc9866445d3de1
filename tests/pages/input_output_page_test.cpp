// SPDX-License-Identifier: Apache-2.0
// The Input / Output page: its table of shared scenarios (nine media and nine action fields, the
// analog thresholds' typing checks), and what is its own: the output status filled by the "Dout
// all" dialog, the group nesting, the refused store.

#include <QGroupBox>
#include <QRadioButton>
#include <algorithm>

#include "config/hex_text.h"
#include "page_scenarios.h"
#include "pages/dout_dialog.h"
#include "pages/input_output_page.h"

namespace qn470 {
namespace {

using namespace test;

void preset(ParameterSet& set) {
    writeNumber(set, "QA", 100);
    writeNumber(set, "QB", 200);
    writeNumber(set, "QE", 300);
    writeNumber(set, "Qn", 0x23);
    writeText(set, "Qu", "4b");
}

const PageTable kPage{"InputOutput", makePage<CDigital>, 1192, 1193, preset};

// A distinct value for every field: media bytes and actions by position, numbers at the limits.
const LoadRow kLoads[] = {
    {"Qa", 7, 1139, "07"},
    {"Qb", 14, 1140, "0e"},
    {"Qc", "c9ca4b0000", 1149, "c9ca4b0000"},
    {"Qd", "84a1", 1150, "84a1"},
    {"Qg", 35, 1141, "23"},
    {"Qh", 42, 1142, "2a"},
    {"Qi", "c9ca4b0000", 1151, "c9ca4b0000"},
    {"Qj", "84a1", 1152, "84a1"},
    {"Qm", 63, 1143, "3f"},
    {"Qn", 70, 1144, "46"},
    {"Qo", "c9ca4b0000", 1153, "c9ca4b0000"},
    {"Qp", "84a1", 1154, "84a1"},
    {"Qs", 91, 1145, "5b"},
    {"Qt", 98, 1146, "62"},
    {"Qu", "c9ca4b0000", 1155, "c9ca4b0000"},
    {"Qv", "84a1", 1156, "84a1"},
    {"QC", 140, 1138, "8c"},
    {"QD", "c9ca4b0000", 1148, "c9ca4b0000"},
    {"Qz", 0x0a, 1157, "0a"},
    {"QA", 65535, 1192, "65535"},
    {"QB", 0, 1193, "0"},
    {"QE", 300, 1194, "300"},
};

const StoreRow kStores[] = {
    {1139, "1f", "Qa", 0x1f},
    {1146, "5", "Qt", 0x50},  // one digit is the high half
    {1150, "8485", "Qd", "8485"},
    {1157, "08", "Qz", 0x08},
    {1192, "65535", "QA", 65535},
    {1193, "1", "QB", 1},
    {1138, "B1", "QC", 0x01, nullptr, "QC_upper_case_counts_as_0"},
    {1148, "a0a1a2a3a8a9", "QD", "a0a1a2a3a8", "a0a1a2a3a8"},  // ten characters at most
    {1194, "600", "QE", 600},
};

const TypingRow kTyping[] = {
    {1192, Input::Typed, "65535", "65535", ""},
    {1192, Input::Typed, "65536", "100", "(QA)Please enter an integer between 0 and 65535"},
    {1193, Input::Typed, "99999", "200", "(QB)Please enter an integer between 0 and 65535"},
    {1194, Input::Typed, "70000", "300", "(QE)Please enter an integer between 0 and 65535"},
    {1194, Input::Typed, "0", "0", ""},
    {1193, Input::Typed, "1x2", "12", ""},
    {1194, Input::Pasted, "-", "300", "(QE)Please enter a positive integer."},
};

// Apply at once: each dialog reads its own field; only a text it cannot keep changes.
const ChoiceRow kChoices[] = {
    {1139, "Choice Report Media", "10"},    {1140, "Choice Report Media", nullptr},
    {1149, "Choice Actions", nullptr},      {1150, "Choice Actions", nullptr},
    {1141, "Choice Report Media", nullptr}, {1142, "Choice Report Media", nullptr},
    {1151, "Choice Actions", nullptr},      {1152, "Choice Actions", nullptr},
    {1143, "Choice Report Media", nullptr}, {1144, "Choice Report Media", "03"},
    {1153, "Choice Actions", nullptr},      {1154, "Choice Actions", nullptr},
    {1145, "Choice Report Media", nullptr}, {1146, "Choice Report Media", nullptr},
    {1155, "Choice Actions", "4b00000000"}, {1156, "Choice Actions", nullptr},
    {1138, "Choice Report Media", nullptr}, {1148, "Choice Actions", nullptr},
};

const ControlRow kControls[] = {
    {1139, "(Qa) Report media when ACC input  is activated :", "(Media type)", "ACC"},
    {1140, "(Qb) Report media when ACC input goes inactive :", "(Media type)", "ACC"},
    {1149, "(Qc) Action when ACC input  is activated :", "(Action type)", "ACC", 10},
    {1150, "(Qd) Action when ACC input goes inactive :", "(Action type)", "ACC", 10},
    {1141, "(Qg) Report media when digital input  is activated :", "(Media type)", "Din 1"},
    {1142, "(Qh) Report media when digital input goes inactive :", "(Media type)", "Din 1"},
    {1151, "(Qi) Action when digital input  is activated :", "(Action type)", "Din 1", 10},
    {1152, "(Qj) Action when digital input goes inactive :", "(Action type)", "Din 1", 10},
    {1143, "(Qm) Report media when digital input  is activated :", "(Media type)", "Din 2"},
    {1144, "(Qn) Report media when digital input goes inactive :", "(Media type)", "Din 2"},
    {1153, "(Qo) Action when digital input  is activated :", "(Action type)", "Din 2", 10},
    {1154, "(Qp) Action when digital input goes inactive :", "(Action type)", "Din 2", 10},
    {1145, "(Qs) Report media when digital input  is activated :", "(Media type)", "Din 3"},
    {1146, "(Qt) Report media when digital input goes inactive :", "(Media type)", "Din 3"},
    {1155, "(Qu) Action when digital input  is activated :", "(Action type)", "Din 3", 10},
    {1156, "(Qv) Action when digital input goes inactive :", "(Action type)", "Din 3", 10},
    {1157, "(Qz) Digital output status :", "", "Digital Input/output"},
    {1192, "(QA) Upper threshold :", "(0 ~ 65535 mV, 0=no trigger)", "Analog Input"},
    {1193, "(QB) Lower threshold :", "(0 ~ 65535 mV, 0=no trigger)", "Analog Input"},
    {1138, "(QC) Report Media :", "(Media type)", "Analog Input"},
    {1148, "(QD) Action :", "(Action type)", "Analog Input", 10},
    {1194, "(QE) Check interval :", "(0 ~ 65535 sec, 0=disable)", "Analog Input"},
};

const UnloadedRow kUnloaded[] = {
    {1139, "", "Qa", 0, 7},
    {1140, "", "Qb", 0, 14},
    {1149, "", "Qc", "", "c9ca4b0000"},
    {1150, "", "Qd", "", "84a1"},
    {1141, "", "Qg", 0, 35},
    {1142, "", "Qh", 0, 42},
    {1151, "", "Qi", "", "c9ca4b0000"},
    {1152, "", "Qj", "", "84a1"},
    {1143, "", "Qm", 0, 63},
    {1144, "", "Qn", 0, 70},
    {1153, "", "Qo", "", "c9ca4b0000"},
    {1154, "", "Qp", "", "84a1"},
    {1145, "", "Qs", 0, 91},
    {1146, "", "Qt", 0, 98},
    {1155, "", "Qu", "", "c9ca4b0000"},
    {1156, "", "Qv", "", "84a1"},
    {1138, "", "QC", 0, 140},
    {1148, "", "QD", "", "c9ca4b0000"},
    {1157, "", "Qz", 0, 0x0a},
    {1192, "0", "QA", 0, 65535},
    {1193, "0", "QB", 0},
    {1194, "0", "QE", 0, 300},
};

INSTANTIATE_TEST_SUITE_P(InputOutput, LoadAndStore, ::testing::ValuesIn(cases(kPage, kLoads)),
                         CaseName{});
INSTANTIATE_TEST_SUITE_P(InputOutput, Store, ::testing::ValuesIn(cases(kPage, kStores)),
                         CaseName{});
INSTANTIATE_TEST_SUITE_P(InputOutput, Typing, ::testing::ValuesIn(cases(kPage, kTyping)),
                         CaseName{});
INSTANTIATE_TEST_SUITE_P(InputOutput, Choice, ::testing::ValuesIn(cases(kPage, kChoices)),
                         CaseName{});
INSTANTIATE_TEST_SUITE_P(InputOutput, Controls, ::testing::ValuesIn(cases(kPage, kControls)),
                         CaseName{});
INSTANTIATE_TEST_SUITE_P(InputOutput, Unloaded, ::testing::ValuesIn(cases(kPage, kUnloaded)),
                         CaseName{});
INSTANTIATE_TEST_SUITE_P(InputOutput, WholePage, ::testing::Values(&kPage), PageName{});

class InputOutputPageTest : public PageFixture<CDigital> {
protected:
    // Opens a choice field as a click would, after leaving whatever field had the focus.
    void enter(int id) {
        leaveTo(1192);
        edit(id)->setFocus(Qt::MouseFocusReason);
        settle();
    }
};

TEST_F(InputOutputPageTest, AFailedExchangeKeepsTheFieldsAfterIt) {
    open();
    edit(1157)->setText(QStringLiteral("0e"));  // Qz, before: stored
    edit(1193)->clear();                        // QB
    edit(1138)->setText(QStringLiteral("01"));  // QC, after: kept
    edit(1194)->setText(QStringLiteral("9"));   // QE, after: kept
    page->StoreValues();
    EXPECT_EQ(messages(), std::vector<std::string>{"Enter a positive integer."});
    EXPECT_EQ(readNumber(set, "Qz"), 0x0e);
    EXPECT_EQ(readNumber(set, "QC"), 0x10);
    EXPECT_EQ(readNumber(set, "QE"), 0);
}

struct OutputCase {
    const char* qz;
    std::vector<int> checked;  // radios checked when the dialog opens
    int click;                 // 0: none
    const char* after;         // Qz after "Apply"
};

class OutputStatus : public InputOutputPageTest,
                     public ::testing::WithParamInterface<OutputCase> {};

TEST_P(OutputStatus, TheDoutDialogReadsAndWritesQz) {
    const OutputCase& c = GetParam();
    writeNumber(set, "Qz", parseHexByte(c.qz));
    openActive();
    std::vector<int> checked;
    choices.script = [&](QDialog& dialog) {
        for (QRadioButton* radio : dialog.findChildren<QRadioButton*>()) {
            if (radio->isChecked()) {
                checked.push_back(radio->objectName().toInt());
            }
        }
        if (c.click != 0) {
            click(byId<QAbstractButton>(&dialog, c.click));
        }
        click(byId<QAbstractButton>(&dialog, CDout::kApply));
        return dialog.result();
    };
    EXPECT_EQ(edit(1157)->text(), QString::fromLatin1(c.qz));
    enter(1157);
    ASSERT_EQ(choices.titles, std::vector<QString>{QStringLiteral("Dout all")});
    std::sort(checked.begin(), checked.end());
    EXPECT_EQ(checked, c.checked);
    EXPECT_EQ(edit(1157)->text(), QString::fromLatin1(c.after));
    page->StoreValues();
    EXPECT_EQ(readNumber(set, "Qz"), parseHexByte(c.after));
}

INSTANTIATE_TEST_SUITE_P(
    Masks, OutputStatus,
    ::testing::Values(
        OutputCase{"0e",
                   {CDout::kOutput1Activate, CDout::kOutput2Activate, CDout::kOutput3Activate,
                    CDout::kAll},
                   0,
                   "0e"},
        OutputCase{"06",
                   {CDout::kOutput1Activate, CDout::kOutput2Activate, CDout::kOutput3Inactive},
                   0,
                   "06"},
        OutputCase{"00",
                   {CDout::kOutput1Inactive, CDout::kOutput2Inactive, CDout::kOutput3Inactive,
                    CDout::kNone},
                   CDout::kOutput3Activate,
                   "08"},
        OutputCase{"01",
                   {CDout::kOutput1Inactive, CDout::kOutput2Inactive, CDout::kOutput3Inactive},
                   0,
                   "00"},
        OutputCase{"0f",
                   {CDout::kOutput1Inactive, CDout::kOutput2Inactive, CDout::kOutput3Inactive},
                   CDout::kAll,
                   "0e"}),
    [](const auto& info) {
        return caseNames({info.param.qz, "click", std::to_string(info.param.click)});
    });

TEST_F(InputOutputPageTest, CancellingTheDoutDialogLeavesQz) {
    writeNumber(set, "Qz", 0x06);
    openActive();
    choices.script = [](QDialog& dialog) {
        click(byId<QAbstractButton>(&dialog, CDout::kAll));
        click(byId<QAbstractButton>(&dialog, CDout::kCancel));
        return dialog.result();
    };
    enter(1157);
    EXPECT_EQ(choices.titles.size(), 1u);
    EXPECT_EQ(edit(1157)->text(), QStringLiteral("06"));
}

TEST_F(InputOutputPageTest, TheFourInputGroupsSitInsideTheDigitalGroup) {
    open();
    auto* digital = page->findChild<QGroupBox*>(QStringLiteral("Digital Input/output"));
    ASSERT_NE(digital, nullptr);
    for (const char* inner : {"ACC", "Din 1", "Din 2", "Din 3"}) {
        auto* box = page->findChild<QGroupBox*>(QString::fromLatin1(inner));
        ASSERT_NE(box, nullptr) << inner;
        EXPECT_EQ(box->parentWidget(), digital) << inner;
    }
    auto* analog = page->findChild<QGroupBox*>(QStringLiteral("Analog Input"));
    ASSERT_NE(analog, nullptr);
    EXPECT_EQ(analog->parentWidget(), page.get());
}

}  // namespace
}  // namespace qn470
