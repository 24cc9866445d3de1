// The Motion Sensor page through its real widgets: what it shows and stores (32-bit and 16-bit
// fields), a loaded value the typing check refuses, typing and leaving its fields with 0 allowed,
// and its eight choice fields.

#include <QPushButton>
#include <QRadioButton>

#include "page_fixture.h"
#include "pages/action_dialog.h"
#include "pages/media_choice_dialog.h"
#include "pages/motion_sensor_page.h"
#include "support/case_name.h"

namespace qn470 {
namespace {

using test::byId;
using test::changedBytes;
using test::TypingCase;

class MotionSensorPageTest : public test::PageFixture<CSensor> {};

// Control ids and codes of the choice fields and check boxes.
const struct Field {
    int id;
    const char* code;
} kMedia[] = {{1156, "Rb"}, {1161, "Rj"}, {1157, "Rs"}, {1158, "Rt"}},
  kActions[] = {{1148, "Rc"}, {1145, "Rk"}, {1162, "Ru"}, {1163, "Rv"}},
  kChecks[] = {{1198, "Rd"}, {1074, "Re"}, {1075, "Rf"}, {1197, "Rl"}, {1076, "Rn"}};

void fillUnusualRecord(ParameterSet& set) {
    writeNumber(set, "Ra", 4294967294);
    writeNumber(set, "Ri", 3);
    writeNumber(set, "Ro", 50);
    writeNumber(set, "Rp", 65535);
    writeNumber(set, "Rw", 30);
    writeNumber(set, "Rx", 3);
    writeNumber(set, "Ry", 0);
    writeNumber(set, "Rz", 1);
    writeNumber(set, "Rb", 0x00);
    writeNumber(set, "Rj", 0x0f);
    writeNumber(set, "Rs", 0xa2);
    writeNumber(set, "Rt", 0xff);
    writeText(set, "Rc", "84");
    writeText(set, "Rk", "8c8d8e8f00");
    writeText(set, "Ru", "");
    writeText(set, "Rv", "4b");
    for (const char* code : {"Rd", "Re", "Rf", "Rl", "Rn"}) {
        writeNumber(set, code, std::string_view(code) != "Rl");
    }
}

TEST_F(MotionSensorPageTest, ShowsTheRecord) {
    fillUnusualRecord(set);
    open();
    const struct {
        int id;
        const char* text;
    } edits[] = {
        {1160, "4294967294"}, {1159, "3"},          {1164, "50"}, {1102, "65535"},
        {1051, "30"},         {1049, "3"},          {1052, "0"},  {1056, "1"},
        {1156, "00"},         {1161, "0f"},         {1157, "a2"}, {1158, "ff"},
        {1148, "84"},         {1145, "8c8d8e8f00"}, {1162, ""},   {1163, "4b"},
    };
    for (const auto& e : edits) {
        EXPECT_EQ(text(e.id), QString::fromLatin1(e.text)) << e.id;
    }
    for (const Field& f : kChecks) {
        EXPECT_EQ(check(f.id)->isChecked(), std::string_view(f.code) != "Rl") << f.code;
    }
    for (const Field& f : kActions) {
        EXPECT_EQ(edit(f.id)->maxLength(), 10) << f.code;
    }
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(MotionSensorPageTest, StoringUneditedControlsLeavesTheRecordAsItWas) {
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

TEST_F(MotionSensorPageTest, StoresFullThirtyTwoBitAndLowSixteenBitValues) {
    const ParameterSet before = set;
    open();
    edit(1160)->setText(QStringLiteral("4294967294"));  // Ra
    edit(1164)->setText(QStringLiteral("65536"));       // Ro
    edit(1102)->setText(QStringLiteral("65535"));       // Rp
    edit(1056)->setText(QStringLiteral("258"));         // Rz
    edit(1157)->setText(QStringLiteral("9z"));          // Rs: z counts as 0
    edit(1163)->setText(QStringLiteral("a8a9"));        // Rv
    check(1198)->setChecked(true);                      // Rd
    check(1197)->setChecked(false);                     // Rl
    page->StoreValues();

    EXPECT_TRUE(prompter.messages.empty());
    using Bytes = std::vector<unsigned char>;
    EXPECT_EQ(test::fieldBytes(set, "Ra"), (Bytes{0xfe, 0xff, 0xff, 0xff}));
    EXPECT_EQ(test::fieldBytes(set, "Ro"), (Bytes{0x00, 0x00, 0x01, 0x00}));
    EXPECT_EQ(test::fieldBytes(set, "Rp"), (Bytes{0xff, 0xff}));
    EXPECT_EQ(test::fieldBytes(set, "Rz"), (Bytes{0x02, 0x01}));
    EXPECT_EQ(test::fieldBytes(set, "Rs"), (Bytes{0x90}));
    EXPECT_EQ(readText(set, "Rv"), "a8a9");
    const uint32_t flags = set.record.Flags;
    EXPECT_EQ(flags & (Flag::Rd | Flag::Rl), Flag::Rd);
    const auto allowed = test::bytesOf({"Ra", "Ro", "Rp", "Rz", "Rs", "Rv", "Rd"});
    for (std::size_t offset : changedBytes(before.record, set.record)) {
        EXPECT_TRUE(allowed.count(offset)) << "byte " << offset << " changed";
    }
}

TEST_F(MotionSensorPageTest, ALoadedValueAtTheTrackersTopIsShownAndStoredBack) {
    writeNumber(set, "Ri", 4294967295);
    writeNumber(set, "Rz", 9);
    open();
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(text(1159), QStringLiteral("4294967295"));
    edit(1056)->setText(QStringLiteral("10"));  // Rz, read after Ri
    EXPECT_TRUE(page->StoreValues().ok);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(readNumber(set, "Ri"), 4294967295);
    EXPECT_EQ(readNumber(set, "Rz"), 10);
}

TEST_F(MotionSensorPageTest, AnEmptyNumberEndsTheStore) {
    open();
    edit(1160)->setText(QStringLiteral("100"));  // Ra, read before Ri
    edit(1159)->setText(QString());              // Ri
    edit(1164)->setText(QStringLiteral("500"));  // Ro, read after Ri
    edit(1162)->setText(QStringLiteral("45"));   // Ru, read after Ri
    page->StoreValues();
    EXPECT_EQ(messages(), std::vector<std::string>{"Enter a positive integer."});
    EXPECT_EQ(readNumber(set, "Ra"), 100);
    EXPECT_EQ(readNumber(set, "Ri"), 30);
    EXPECT_EQ(readNumber(set, "Ro"), 0);
    EXPECT_EQ(readText(set, "Ru"), "0000000000");
}

class MotionSensorPageTyping : public MotionSensorPageTest,
                               public ::testing::WithParamInterface<TypingCase> {};

TEST_P(MotionSensorPageTyping, RefusedTextGoesBackToTheTextBeforeTheFocus) {
    const TypingCase& c = GetParam();
    openActive();
    typeInto(c.id, QString::fromLatin1(c.keys));
    if (c.leave) {
        leaveTo(c.id == 1056 ? 1160 : 1056);
    }
    EXPECT_EQ(text(c.id), QString::fromLatin1(c.text)) << c.keys;
    EXPECT_EQ(messages(), test::oneMessage(c.message)) << c.keys;
}

INSTANTIATE_TEST_SUITE_P(
    Fields, MotionSensorPageTyping,
    ::testing::Values(
        TypingCase{1160, "0", "0", "", true}, TypingCase{1160, "3", "3", "", true},
        TypingCase{1160, "2", "3600", "(Ra)Please enter an integer between 3 and 4294967295", true},
        TypingCase{1160, "4294967294", "4294967294", "", true},
        TypingCase{1160, "4294967296", "3600",
                   "(Ra)Please enter an integer between 3 and 4294967295"},
        TypingCase{1160, "00000000001", "3600",
                   "(Ra)Please enter an integer between 3 and 4294967295"},
        TypingCase{1159, "1", "30", "(Ri)Please enter an integer between 3 and 4294967295", true},
        TypingCase{1159, "9999999999", "30",
                   "(Ri)Please enter an integer between 3 and 4294967295"},
        TypingCase{1164, "4294967296", "0",
                   "(Ro)Please enter an integer between 50 and 4294967295"},
        TypingCase{1164, "4294967294", "4294967294", "", true},
        TypingCase{1164, "49", "0", "(Ro)Please enter an integer between 50 and 4294967295", true},
        TypingCase{1102, "49", "0", "(Rp)Please enter an integer between 50 and 65535", true},
        TypingCase{1102, "0", "0", "", true}, TypingCase{1102, "50", "50", "", true},
        TypingCase{1102, "65536", "0", "(Rp)Please enter an integer between 50 and 65535"},
        TypingCase{1051, "29", "0", "(Rw)Please enter an integer between 30 and 65535", true},
        TypingCase{1051, "30", "30", "", true},
        TypingCase{1049, "2", "0", "(Rx)Please enter an integer between 3 and 65535", true},
        TypingCase{1049, "65535", "65535", "", true},
        TypingCase{1052, "1", "0", "(Ry)Please enter an integer between 3 and 65535", true},
        TypingCase{1052, "0", "0", "", true},
        TypingCase{1056, "65536", "5", "(Rz)Please enter an integer between 0 and 65535"},
        TypingCase{1056, "0", "0", "", true}, TypingCase{1056, "65535", "65535", "", true}),
    [](const auto& info) { return typingCaseName(info.param); });

TEST_F(MotionSensorPageTest, EveryChoiceFieldOpensItsDialog) {
    openActive();
    choices.script = [](QDialog& dialog) {
        if (qobject_cast<CMedia_Choice*>(&dialog) != nullptr) {
            test::click(byId<QRadioButton>(&dialog, CMedia_Choice::kTcp));
            test::click(byId<QPushButton>(&dialog, CMedia_Choice::kApply));
        } else {
            test::click(byId<QRadioButton>(&dialog, 1162));  // "Clear (40)"
            test::click(byId<QPushButton>(&dialog, CAction::kApply));
        }
        return dialog.result();
    };
    std::vector<QString> expectedTitles;
    for (const auto* group : {&kMedia, &kActions}) {
        for (const Field& f : *group) {
            edit(f.id)->setFocus(Qt::MouseFocusReason);
            test::settle();
            expectedTitles.push_back(group == &kMedia ? QStringLiteral("Choice Report Media")
                                                      : QStringLiteral("Choice Actions"));
            EXPECT_EQ(page->binder().choiceField(), f.id) << f.code;
        }
    }
    EXPECT_EQ(choices.titles, expectedTitles);
    page->StoreValues();
    for (const Field& f : kMedia) {
        EXPECT_EQ(readNumber(set, f.code), 0x02) << f.code;
    }
    for (const Field& f : kActions) {
        EXPECT_EQ(readText(set, f.code), "4000000000") << f.code;
    }
}

TEST_F(MotionSensorPageTest, FitsTheWindowAt1024By768) {
    test::expectFitsThePageBand(open());
}

}  // namespace
}  // namespace qn470
