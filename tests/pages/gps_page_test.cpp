// SPDX-License-Identifier: Apache-2.0
// The GPS page: its table of shared scenarios (hidden off-time settings included, 16-bit fields
// little-endian), and what is its own: the checks of the GPS-on times when it opens, the off-time
// switch, the refused store.

#include <QPushButton>
#include <QRadioButton>

#include "page_scenarios.h"
#include "pages/gps_page.h"
#include "pages/media_choice_dialog.h"

namespace qn470 {
namespace {

using namespace test;

const PageTable kPage{"Gps", makePage<CGPSPage>, CGPSPage::kC3, CGPSPage::kC1};

const LoadRow kLoads[] = {
    {"C1", 600, CGPSPage::kC1, "600"},
    {"C2", 10, CGPSPage::kC2, "10"},
    {"C3", 0, CGPSPage::kC3, "0"},
    {"C5", 1, CGPSPage::kC5, kChecked},
    {"C7", 1, CGPSPage::kC7, kChecked},
    {"C8", 65535, CGPSPage::kC8, "65535"},
    {"C9", 300, CGPSPage::kC9, "300"},
    {"CA", 4294967295, CGPSPage::kCA, "4294967295"},
    {"CB", 1, CGPSPage::kCB, kChecked},
    {"CC", 0x05, CGPSPage::kCC, "05"},
    {"CD", "84a1000000", CGPSPage::kCD, "84a1000000"},
};

const StoreRow kStores[] = {
    {CGPSPage::kC1, "60", "C1", Bytes{"3c 00"}},
    {CGPSPage::kC2, "120", "C2", Bytes{"78 00"}},
    {CGPSPage::kC3, "600", "C3", Bytes{"58 02"}},
    {CGPSPage::kC5, kChecked, "C5", 1},
    {CGPSPage::kC7, kChecked, "C7", 1},
    {CGPSPage::kC8, "1000", "C8", Bytes{"e8 03"}},
    // A hidden off time takes a signed text into its sixteen bits.
    {CGPSPage::kC8, "-1", "C8", 65535},
    {CGPSPage::kC9, "258", "C9", Bytes{"02 01"}},
    {CGPSPage::kCA, "4294967295", "CA", Bytes{"ff ff ff ff"}},
    {CGPSPage::kCB, kChecked, "CB", 1},
    {CGPSPage::kCC, "1f", "CC", Bytes{"1f"}},
    {CGPSPage::kCC, "04", "CC", 0x04},
    {CGPSPage::kCD, "4b45", "CD", "4b45"},
    {CGPSPage::kCD, "4400000000", "CD", "4400000000"},
};

// A refused text goes back to the text before the focus.
const TypingRow kTyping[] = {
    {CGPSPage::kC1, Input::Typed, "1000", "180", "(C1)Please enter an integer between 60 and 600"},
    {CGPSPage::kC1, Input::Typed, "0600", "180", "(C1)Please enter an integer between 60 and 600"},
    {CGPSPage::kC1, Input::Typed, "601", "180", "(C1)Please enter an integer between 60 and 600"},
    {CGPSPage::kC1, Input::Typed, "30", "30", ""},
    {CGPSPage::kC1, Input::Left, "30", "180", "(C1)Please enter an integer between 60 and 600"},
    {CGPSPage::kC1, Input::Left, "60", "60", ""},
    {CGPSPage::kC1, Input::Left, "6x0", "60", ""},  // letters never reach the field
    {CGPSPage::kC2, Input::Typed, "300", "60", "(C2)Please enter an integer between 10 and 120"},
    {CGPSPage::kC2, Input::Left, "9", "60", "(C2)Please enter an integer between 10 and 120"},
    {CGPSPage::kC2, Input::Left, "120", "120", ""},
    {CGPSPage::kC3, Input::Typed, "601", "5", "(C3)Please enter an integer between 0 and 600"},
    {CGPSPage::kC3, Input::Left, "0", "0", ""},
    {CGPSPage::kC3, Input::Pasted, "1-", "5", "(C3)Please enter a positive integer."},
};

const ChoiceRow kChoices[] = {
    {CGPSPage::kCC, "Choice Report Media", "04", {CMedia_Choice::kUdp}},
    {CGPSPage::kCD, "Choice Actions", "4400000000", {1166}},  // "Turn off (44)"
};

// Before any load only the checked fields are shown.
const UnloadedRow kUnloaded[] = {
    {CGPSPage::kC1, "180"},
    {CGPSPage::kC3, "5"},
    {CGPSPage::kCC, ""},
    {CGPSPage::kCD, ""},
};

INSTANTIATE_TEST_SUITE_P(Gps, LoadAndStore, ::testing::ValuesIn(cases(kPage, kLoads)), CaseName{});
INSTANTIATE_TEST_SUITE_P(Gps, Store, ::testing::ValuesIn(cases(kPage, kStores)), CaseName{});
INSTANTIATE_TEST_SUITE_P(Gps, Typing, ::testing::ValuesIn(cases(kPage, kTyping)), CaseName{});
INSTANTIATE_TEST_SUITE_P(Gps, Choice, ::testing::ValuesIn(cases(kPage, kChoices)), CaseName{});
INSTANTIATE_TEST_SUITE_P(Gps, Unloaded, ::testing::ValuesIn(cases(kPage, kUnloaded)), CaseName{});
INSTANTIATE_TEST_SUITE_P(Gps, WholePage, ::testing::Values(&kPage), PageName{});

using GpsPageTest = PageFixture<CGPSPage>;

TEST_F(GpsPageTest, TheOffTimeSettingsAreHidden) {
    open();
    for (int id : {CGPSPage::kC7, CGPSPage::kC8, CGPSPage::kC9, CGPSPage::kCA, CGPSPage::kCB}) {
        EXPECT_TRUE(byId<QWidget>(page.get(), id)->isHidden()) << id;
    }
}

TEST_F(GpsPageTest, VariableOffTimeSwitchesBetweenTheFixedAndTheSpeedSettings) {
    for (bool variable : {false, true}) {
        writeNumber(set, "C7", variable ? 1 : 0);
        open();
        EXPECT_EQ(edit(CGPSPage::kC8)->isEnabled(), !variable);
        EXPECT_EQ(edit(CGPSPage::kC9)->isEnabled(), variable);
        EXPECT_EQ(edit(CGPSPage::kCA)->isEnabled(), variable);
        check(CGPSPage::kC7)->click();
        EXPECT_EQ(edit(CGPSPage::kC8)->isEnabled(), variable);
        EXPECT_EQ(edit(CGPSPage::kC9)->isEnabled(), !variable);
        EXPECT_EQ(edit(CGPSPage::kCA)->isEnabled(), !variable);
    }
}

TEST_F(GpsPageTest, AnEmptyNumberEndsTheStore) {
    open();
    edit(CGPSPage::kC1)->setText(QStringLiteral("90"));
    edit(CGPSPage::kC2)->setText(QString());
    edit(CGPSPage::kC3)->setText(QStringLiteral("7"));
    edit(CGPSPage::kCD)->setText(QStringLiteral("45"));
    page->StoreValues();
    EXPECT_EQ(messages(), std::vector<std::string>{"Enter a positive integer."});
    EXPECT_EQ(readNumber(set, "C1"), 90);
    EXPECT_EQ(readNumber(set, "C2"), 60);
    EXPECT_EQ(readNumber(set, "C3"), 5);
    EXPECT_EQ(readText(set, "CD"), "0000000000");
}

TEST_F(GpsPageTest, TheMediaDialogStartsFromTheFieldsText) {
    openActive();
    bool http = false;
    choices.script = [&](QDialog& dialog) {
        http = byId<QRadioButton>(&dialog, CMedia_Choice::kHttp)->isChecked();
        return static_cast<int>(QDialog::Rejected);
    };
    edit(CGPSPage::kCC)->setFocus(Qt::MouseFocusReason);
    settle();
    EXPECT_TRUE(http);  // "10"
}

struct OpeningCase {
    int c1;
    int c2;
    const char* message;  // empty: the page opens normally
    bool c2Shown;
};

class GpsPageOpening : public GpsPageTest, public ::testing::WithParamInterface<OpeningCase> {};

TEST_P(GpsPageOpening, AGpsOnTimeOutOfRangeStopsTheOpening) {
    const OpeningCase& c = GetParam();
    writeNumber(set, "C1", c.c1);
    writeNumber(set, "C2", c.c2);
    writeNumber(set, "C5", 1);
    writeNumber(set, "C7", 1);
    writeNumber(set, "CB", 1);
    writeNumber(set, "CC", 0x21);
    open();
    EXPECT_EQ(messages(), oneMessage(c.message));
    if (*c.message != '\0') {
        EXPECT_EQ(prompter.captions, std::vector<QString>{QStringLiteral("error")});
    }
    const bool whole = *c.message == '\0';
    EXPECT_EQ(text(CGPSPage::kC1), QString::number(c.c1));
    EXPECT_EQ(text(CGPSPage::kC2), c.c2Shown ? QString::number(c.c2) : QString());
    EXPECT_EQ(text(CGPSPage::kC3), whole ? QStringLiteral("5") : QString());
    EXPECT_EQ(text(CGPSPage::kCC), whole ? QStringLiteral("21") : QString());
    EXPECT_EQ(check(CGPSPage::kC5)->isChecked(), whole);
    EXPECT_EQ(check(CGPSPage::kCB)->isChecked(), whole);

    // Leaving the page stores what it showed and nothing else.
    const ParameterSet before = set;
    prompter.messages.clear();
    page->StoreValues();
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_TRUE(changedBytes(before.record, set.record).empty());

    // A corrected value goes back; the fields never shown keep the record's values.
    edit(CGPSPage::kC1)->setText(QStringLiteral("300"));
    page->StoreValues();
    EXPECT_EQ(readNumber(set, "C1"), 300);
    EXPECT_EQ(changedBytes(before.record, set.record), bytesOf({"C1"}));

    // A load fills the whole page, and from then on it stores everything.
    writeNumber(set, "C2", 30);
    page->LoadValues();
    EXPECT_EQ(text(CGPSPage::kC3), QStringLiteral("5"));
    EXPECT_TRUE(check(CGPSPage::kCB)->isChecked());
    check(CGPSPage::kCB)->setChecked(false);
    page->StoreValues();
    EXPECT_EQ(readNumber(set, "CB"), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Values, GpsPageOpening,
    ::testing::Values(OpeningCase{60, 10, "", true}, OpeningCase{600, 120, "", true},
                      OpeningCase{700, 60, "(C1)Please enter an integer between 60 and 600", false},
                      OpeningCase{59, 60, "(C1)Please enter an integer between 60 and 600", false},
                      OpeningCase{0, 0, "(C1)Please enter an integer between 60 and 600", false},
                      OpeningCase{180, 121, "(C2)Please enter an integer between 10 and 120", true},
                      OpeningCase{180, 9, "(C2)Please enter an integer between 10 and 120", true}),
    [](const auto& info) {
        return caseNames(
            {"c1", std::to_string(info.param.c1), "c2", std::to_string(info.param.c2)});
    });

}  // namespace
}  // namespace qn470
