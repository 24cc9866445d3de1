// The GPS page through its real widgets: the checks of the GPS-on times when it opens, what it
// shows and stores (hidden off-time settings included), the off-time enabling, typing and
// leaving its fields, and its choice dialogs.

#include <QPushButton>
#include <QRadioButton>

#include "page_fixture.h"
#include "pages/action_dialog.h"
#include "pages/gps_page.h"
#include "pages/media_choice_dialog.h"
#include "support/case_name.h"

namespace qn470 {
namespace {

using test::byId;
using test::changedBytes;
using test::TypingCase;

class GpsPageTest : public test::PageFixture<CGPSPage> {};

void fillUnusualRecord(ParameterSet& set) {
    writeNumber(set, "C1", 600);
    writeNumber(set, "C2", 10);
    writeNumber(set, "C3", 0);
    writeNumber(set, "C5", 1);
    writeNumber(set, "C7", 1);
    writeNumber(set, "C8", 65535);
    writeNumber(set, "C9", 300);
    writeNumber(set, "CA", 4294967295);
    writeNumber(set, "CB", 1);
    writeNumber(set, "CC", 0x05);
    writeText(set, "CD", "84a1000000");
}

TEST_F(GpsPageTest, ShowsTheRecordHiddenSettingsIncluded) {
    fillUnusualRecord(set);
    open();
    const struct {
        int id;
        const char* text;
    } edits[] = {
        {CGPSPage::kC1, "600"},   {CGPSPage::kC2, "10"},         {CGPSPage::kC3, "0"},
        {CGPSPage::kC8, "65535"}, {CGPSPage::kC9, "300"},        {CGPSPage::kCA, "4294967295"},
        {CGPSPage::kCC, "05"},    {CGPSPage::kCD, "84a1000000"},
    };
    for (const auto& e : edits) {
        EXPECT_EQ(text(e.id), QString::fromLatin1(e.text)) << e.id;
    }
    for (int id : {CGPSPage::kC5, CGPSPage::kC7, CGPSPage::kCB}) {
        EXPECT_TRUE(check(id)->isChecked()) << id;
    }
    for (int id : {CGPSPage::kC7, CGPSPage::kC8, CGPSPage::kC9, CGPSPage::kCA, CGPSPage::kCB}) {
        EXPECT_TRUE(byId<QWidget>(page.get(), id)->isHidden()) << id;
    }
    EXPECT_TRUE(prompter.messages.empty());
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

TEST_F(GpsPageTest, StoringUneditedControlsLeavesTheRecordAsItWas) {
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

TEST_F(GpsPageTest, StoresEditedControlsIntoTheirFieldsOnly) {
    const ParameterSet before = set;
    open();
    edit(CGPSPage::kC1)->setText(QStringLiteral("60"));
    edit(CGPSPage::kC2)->setText(QStringLiteral("120"));
    edit(CGPSPage::kC3)->setText(QStringLiteral("600"));
    check(CGPSPage::kC5)->setChecked(true);
    check(CGPSPage::kC7)->setChecked(true);
    edit(CGPSPage::kC8)->setText(QStringLiteral("1000"));
    edit(CGPSPage::kC9)->setText(QStringLiteral("258"));
    edit(CGPSPage::kCA)->setText(QStringLiteral("4294967295"));
    check(CGPSPage::kCB)->setChecked(true);
    edit(CGPSPage::kCC)->setText(QStringLiteral("1f"));
    edit(CGPSPage::kCD)->setText(QStringLiteral("4b45"));
    page->StoreValues();

    EXPECT_TRUE(prompter.messages.empty());
    using Bytes = std::vector<unsigned char>;
    EXPECT_EQ(test::fieldBytes(set, "C1"), (Bytes{60, 0}));
    EXPECT_EQ(test::fieldBytes(set, "C2"), (Bytes{120, 0}));
    EXPECT_EQ(test::fieldBytes(set, "C3"), (Bytes{0x58, 0x02}));
    EXPECT_EQ(test::fieldBytes(set, "C8"), (Bytes{0xe8, 0x03}));
    EXPECT_EQ(test::fieldBytes(set, "C9"), (Bytes{0x02, 0x01}));
    EXPECT_EQ(test::fieldBytes(set, "CA"), (Bytes{0xff, 0xff, 0xff, 0xff}));
    EXPECT_EQ(test::fieldBytes(set, "CC"), (Bytes{0x1f}));
    EXPECT_EQ(readText(set, "CD"), "4b45");
    const uint32_t flags = set.record.Flags;
    EXPECT_EQ(flags & (Flag::C5 | Flag::C7 | Flag::CB), Flag::C5 | Flag::C7 | Flag::CB);
    const auto allowed = test::bytesOf({"C1", "C2", "C3", "C5", "C8", "C9", "CA", "CC", "CD"});
    for (std::size_t offset : changedBytes(before.record, set.record)) {
        EXPECT_TRUE(allowed.count(offset)) << "byte " << offset << " changed";
    }
}

TEST_F(GpsPageTest, HiddenOffTimesTakeASignedTextIntoSixteenBits) {
    open();
    edit(CGPSPage::kC8)->setText(QStringLiteral("-1"));
    page->StoreValues();
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(readNumber(set, "C8"), 65535);
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
    EXPECT_EQ(messages(), test::oneMessage(c.message));
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
    EXPECT_EQ(changedBytes(before.record, set.record), test::bytesOf({"C1"}));

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

TEST_F(GpsPageTest, BeforeAnyLoadOnlyTheCheckedFieldsAreShown) {
    registry = PageRegistry{};
    open();
    EXPECT_EQ(text(CGPSPage::kC1), QStringLiteral("180"));
    EXPECT_EQ(text(CGPSPage::kC3), QStringLiteral("5"));
    EXPECT_EQ(text(CGPSPage::kCC), QString());
    EXPECT_EQ(text(CGPSPage::kCD), QString());
    EXPECT_TRUE(prompter.messages.empty());
}

class GpsPageTyping : public GpsPageTest, public ::testing::WithParamInterface<TypingCase> {};

TEST_P(GpsPageTyping, RefusedTextGoesBackToTheTextBeforeTheFocus) {
    const TypingCase& c = GetParam();
    openActive();
    typeInto(c.id, QString::fromLatin1(c.keys));
    if (c.leave) {
        leaveTo(c.id == CGPSPage::kC3 ? CGPSPage::kC1 : CGPSPage::kC3);
    }
    EXPECT_EQ(text(c.id), QString::fromLatin1(c.text)) << c.keys;
    EXPECT_EQ(messages(), test::oneMessage(c.message)) << c.keys;
}

INSTANTIATE_TEST_SUITE_P(
    Fields, GpsPageTyping,
    ::testing::Values(
        TypingCase{CGPSPage::kC1, "1000", "180", "(C1)Please enter an integer between 60 and 600"},
        TypingCase{CGPSPage::kC1, "0600", "180", "(C1)Please enter an integer between 60 and 600"},
        TypingCase{CGPSPage::kC1, "601", "180", "(C1)Please enter an integer between 60 and 600"},
        TypingCase{CGPSPage::kC1, "30", "30", ""},
        TypingCase{CGPSPage::kC1, "30", "180", "(C1)Please enter an integer between 60 and 600",
                   true},
        TypingCase{CGPSPage::kC1, "60", "60", "", true},
        TypingCase{CGPSPage::kC1, "6x0", "60", "", true},  // letters never reach the field
        TypingCase{CGPSPage::kC2, "300", "60", "(C2)Please enter an integer between 10 and 120"},
        TypingCase{CGPSPage::kC2, "9", "60", "(C2)Please enter an integer between 10 and 120",
                   true},
        TypingCase{CGPSPage::kC2, "120", "120", "", true},
        TypingCase{CGPSPage::kC3, "601", "5", "(C3)Please enter an integer between 0 and 600"},
        TypingCase{CGPSPage::kC3, "0", "0", "", true}),
    [](const auto& info) { return typingCaseName(info.param); });

TEST_F(GpsPageTest, PastedLettersAreRefusedLikeTyped) {
    openActive();
    edit(CGPSPage::kC3)->setFocus(Qt::TabFocusReason);
    edit(CGPSPage::kC3)->insert(QStringLiteral("1-"));
    EXPECT_EQ(text(CGPSPage::kC3), QStringLiteral("5"));
    EXPECT_EQ(messages(), std::vector<std::string>{"(C3)Please enter a positive integer."});
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

TEST_F(GpsPageTest, AntennaFieldsOpenTheirChoiceDialogs) {
    openActive();
    choices.script = [](QDialog& dialog) {
        if (qobject_cast<CMedia_Choice*>(&dialog) != nullptr) {
            EXPECT_TRUE(byId<QRadioButton>(&dialog, CMedia_Choice::kHttp)->isChecked());
            test::click(byId<QRadioButton>(&dialog, CMedia_Choice::kUdp));
            test::click(byId<QPushButton>(&dialog, CMedia_Choice::kApply));
        } else {
            test::click(byId<QRadioButton>(&dialog, 1166));  // "Turn off (44)"
            test::click(byId<QPushButton>(&dialog, CAction::kApply));
        }
        return dialog.result();
    };
    edit(CGPSPage::kCC)->setFocus(Qt::MouseFocusReason);
    test::settle();
    edit(CGPSPage::kCD)->setFocus(Qt::MouseFocusReason);
    test::settle();
    EXPECT_EQ(choices.titles, (std::vector<QString>{QStringLiteral("Choice Report Media"),
                                                    QStringLiteral("Choice Actions")}));
    EXPECT_EQ(text(CGPSPage::kCC), QStringLiteral("04"));
    EXPECT_EQ(text(CGPSPage::kCD), QStringLiteral("4400000000"));
    page->StoreValues();
    EXPECT_EQ(readNumber(set, "CC"), 0x04);
    EXPECT_EQ(readText(set, "CD"), "4400000000");
}

TEST_F(GpsPageTest, FitsTheWindowAt1024By768) {
    test::expectFitsThePageBand(open());
}

}  // namespace
}  // namespace qn470
