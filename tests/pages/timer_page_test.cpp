// The Timer page through its real widgets: what it shows for each timer (and the checks that run
// while it is filled), what typing does, what it stores, and the weekday, media and action
// dialogs of its choice fields.

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include "page_fixture.h"
#include "pages/action_dialog.h"
#include "pages/media_choice_dialog.h"
#include "pages/timer_page.h"
#include "pages/weekday_dialog.h"
#include "support/case_name.h"

namespace qn470 {
namespace {

using test::byId;

// Control ids and codes of one timer, in the order start, end, interval, weekdays, media,
// action.
struct Timer {
    int ids[6];
    const char* codes[6];
    const char* group;
};

constexpr Timer kTimers[] = {
    {{2501, 2502, 2503, 1107, 1103, 1148}, {"W0", "W1", "W2", "W3", "W4", "W5"}, "Timer 0"},
    {{2506, 2507, 2508, 1108, 1105, 1150}, {"X0", "X1", "X2", "X3", "X4", "X5"}, "Timer 1"},
    {{2511, 2512, 2513, 1109, 1104, 1149}, {"Y0", "Y1", "Y2", "Y3", "Y4", "Y5"}, "Timer 2"},
    {{2516, 2517, 2518, 1110, 1106, 1151}, {"Z0", "Z1", "Z2", "Z3", "Z4", "Z5"}, "Timer 3"},
};
enum Field { kStart, kEnd, kInterval, kWeekdays, kMedia, kAction };

using TimerPageTest = test::PageFixture<CReportPage2>;

TEST_F(TimerPageTest, ShowsEachTimerOfTheRecord) {
    const struct {
        int64_t start, end, interval, weekdays, media;
        const char* action;
        const char* texts[6];
    } values[] = {
        {0, 86400, 3600, 0x7f, 0x05, "84", {"0", "86400", "3600", "7f", "05", "84"}},
        {86399, 1, 65535, 0x00, 0xa3, "", {"86399", "1", "65535", "00", "a3", ""}},
        {43200,
         50000,
         1,
         0x41,
         0x10,
         "a0a1a2a3a8",
         {"43200", "50000", "1", "41", "10", "a0a1a2a3a8"}},
        {1, 2, 60, 0x3e, 0xff, "c\xe9", {"1", "2", "60", "3e", "ff", "c\xe9"}},
    };
    for (std::size_t t = 0; t < std::size(kTimers); ++t) {
        const Timer& timer = kTimers[t];
        writeNumber(set, timer.codes[kStart], values[t].start);
        writeNumber(set, timer.codes[kEnd], values[t].end);
        writeNumber(set, timer.codes[kInterval], values[t].interval);
        writeNumber(set, timer.codes[kWeekdays], values[t].weekdays);
        writeNumber(set, timer.codes[kMedia], values[t].media);
        writeText(set, timer.codes[kAction], values[t].action);
    }
    open();
    for (std::size_t t = 0; t < std::size(kTimers); ++t) {
        for (int f = kStart; f <= kAction; ++f) {
            EXPECT_EQ(text(kTimers[t].ids[f]), QString::fromLatin1(values[t].texts[f]))
                << kTimers[t].codes[f];
        }
    }
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(TimerPageTest, StoringUneditedControlsLeavesTheRecordAsItWas) {
    writeNumber(set, "X3", 0x7f);
    writeNumber(set, "Y0", 86399);
    writeText(set, "Z5", "4b\xff");
    const ParameterSet before = set;
    open().StoreValues();
    EXPECT_TRUE(test::changedBytes(before.record, set.record).empty());
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(TimerPageTest, StoresEditedControlsIntoTheirFieldsOnly) {
    const ParameterSet before = set;
    open();
    const char* texts[4][6] = {
        {"86399", "86400", "65535", "3e", "a3", "8445000000"},
        {"0", "1", "1", "7f", "1", "c1"},
        {"100", "200", "300", "3E", "8A", ""},  // upper-case digits count as 0
        {"5", "6", "7", "01x", "21", "4b"},     // only the first two characters count
    };
    for (std::size_t t = 0; t < std::size(kTimers); ++t) {
        for (int f = kStart; f <= kAction; ++f) {
            edit(kTimers[t].ids[f])->setText(QString::fromLatin1(texts[t][f]));
        }
    }
    page->StoreValues();
    EXPECT_TRUE(prompter.messages.empty());
    const int64_t numbers[4][5] = {
        {86399, 86400, 65535, 0x3e, 0xa3},
        {0, 1, 1, 0x7f, 0x10},
        {100, 200, 300, 0x30, 0x80},
        {5, 6, 7, 0x01, 0x21},
    };
    const char* actions[] = {"8445000000", "c1", "", "4b"};
    std::set<std::size_t> allowed;
    for (std::size_t t = 0; t < std::size(kTimers); ++t) {
        for (int f = kStart; f <= kMedia; ++f) {
            EXPECT_EQ(readNumber(set, kTimers[t].codes[f]), numbers[t][f]) << kTimers[t].codes[f];
        }
        EXPECT_EQ(readText(set, kTimers[t].codes[kAction]), actions[t]);
        for (const char* code : kTimers[t].codes) {
            const auto bytes = test::bytesOf({code});
            allowed.insert(bytes.begin(), bytes.end());
        }
    }
    // The interval is 16 bits little-endian; the end time 32 bits.
    EXPECT_EQ(test::fieldBytes(set, "W2"), (std::vector<unsigned char>{0xff, 0xff}));
    EXPECT_EQ(test::fieldBytes(set, "W1"), (std::vector<unsigned char>{0x80, 0x51, 0x01, 0x00}));
    for (std::size_t offset : test::changedBytes(before.record, set.record)) {
        EXPECT_TRUE(allowed.count(offset)) << "byte " << offset << " changed";
    }
}

TEST_F(TimerPageTest, ActionTextsNeverOverflowTheirField) {
    open();
    edit(kTimers[3].ids[kAction])->setText(QStringLiteral("84a1a2a3a4a5a8"));
    EXPECT_EQ(text(kTimers[3].ids[kAction]), QStringLiteral("84a1a2a3a4"));
    page->StoreValues();
    const std::vector<unsigned char> bytes = test::fieldBytes(set, "Z5");
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), std::string("84a1a2a3a4\0", 11));
}

TEST_F(TimerPageTest, WithoutALoadItShowsZerosAndClosingStoresThem) {
    registry = PageRegistry{};
    open();
    for (const Timer& timer : kTimers) {
        for (int f = kStart; f <= kInterval; ++f) {
            EXPECT_EQ(text(timer.ids[f]), QStringLiteral("0")) << timer.codes[f];
        }
        for (int f = kWeekdays; f <= kAction; ++f) {
            EXPECT_TRUE(text(timer.ids[f]).isEmpty()) << timer.codes[f];
        }
    }
    page->closePage();
    EXPECT_TRUE(prompter.messages.empty());
    for (const Timer& timer : kTimers) {
        for (int f = kStart; f <= kMedia; ++f) {
            EXPECT_EQ(readNumber(set, timer.codes[f]), 0) << timer.codes[f];
        }
        EXPECT_EQ(readText(set, timer.codes[kAction]), "");
    }
}

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

TEST_F(TimerPageTest, RecordValuesOutsideThePagesLimitsFillItAndStoreBackUnchanged) {
    // The tracker holds them, so filling the page (which checks as if typed) raises nothing.
    writeNumber(set, "W1", 0);
    writeNumber(set, "Y1", 0);
    writeNumber(set, "X0", 86400);
    writeNumber(set, "Z0", 4294967295);
    writeNumber(set, "Z2", 0);
    open();
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(text(2516), QStringLiteral("4294967295"));
    EXPECT_TRUE(page->StoreValues().ok);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(readNumber(set, "W1"), 0);
    EXPECT_EQ(readNumber(set, "X0"), 86400);
    EXPECT_EQ(readNumber(set, "Z0"), 4294967295);
    EXPECT_EQ(readNumber(set, "Z2"), 0);
}

struct TypingCase {
    int id;
    const char* keys;
    const char* text;
    const char* message;
};

class TimerPageTyping : public TimerPageTest, public ::testing::WithParamInterface<TypingCase> {};

TEST_P(TimerPageTyping, BadTextIsUndoneWithTheFieldsMessage) {
    const TypingCase& c = GetParam();
    openActive();
    typeInto(c.id, QString::fromLatin1(c.keys));
    // Typing refuses only what the field cannot hold; the times of the day and the least
    // interval are asked for when the field is left.
    leaveTo(c.id == 2501 ? 2502 : 2501);
    EXPECT_EQ(text(c.id), QString::fromLatin1(c.text)) << c.keys;
    EXPECT_EQ(messages(), test::oneMessage(c.message)) << c.keys;
}

INSTANTIATE_TEST_SUITE_P(
    Fields, TimerPageTyping,
    ::testing::Values(
        TypingCase{2501, "86399", "86399", ""},
        TypingCase{2501, "86400", "0", "(W0)Please enter an integer between 0 and 86399"},
        TypingCase{2516, "90000", "0", "(Z0)Please enter an integer between 0 and 86399"},
        TypingCase{2502, "86400", "86400", ""},
        TypingCase{2502, "0", "86400", "(W1)Please enter an integer between 1 and 86400"},
        TypingCase{2507, "86401", "86400", "(X1)Please enter an integer between 1 and 86400"},
        // Timer Y's end time names its true least value too.
        TypingCase{2512, "0", "86400", "(Y1)Please enter an integer between 1 and 86400"},
        TypingCase{2503, "65535", "65535", ""},
        TypingCase{2503, "0", "3600", "(W2)Please enter an integer between 1 and 65535"},
        TypingCase{2513, "65536", "3600", "(Y2)Please enter an integer between 1 and 65535"},
        TypingCase{2518, "1x", "1", ""}),
    [](const auto& info) {
        return typingCaseName(info.param);
    });  // a numbers-only edit drops the letter

TEST_F(TimerPageTest, PastedLettersAreRefusedWithTheDigitMessage) {
    openActive();
    const struct {
        int id;
        const char* after;
        const char* message;
    } cases[] = {
        {2501, "0", "(W0)Please enter a positive integer."},
        {2507, "86400", "(X1)Please enter a positive integer."},
        {2518, "3600", "(Z2)Please enter a positive integer."},
    };
    for (const auto& c : cases) {
        prompter.messages.clear();
        edit(c.id)->setFocus(Qt::TabFocusReason);
        edit(c.id)->selectAll();
        edit(c.id)->insert(QStringLiteral("5a"));
        EXPECT_EQ(text(c.id), QString::fromLatin1(c.after)) << c.id;
        EXPECT_EQ(messages(), test::oneMessage(c.message)) << c.id;
    }
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
                test::click(box);  // uncheck
            }
        }
        for (int id : {CWeekday::kMonday, CWeekday::kTuesday, CWeekday::kWednesday,
                       CWeekday::kThursday, CWeekday::kFriday}) {
            test::click(byId<QCheckBox>(&dialog, id));
        }
        test::click(byId<QPushButton>(&dialog, CWeekday::kSave));
        return dialog.result();
    };
    edit(1107)->setFocus(Qt::MouseFocusReason);
    test::settle();
    ASSERT_EQ(choices.titles.size(), 1u);
    EXPECT_EQ(choices.titles[0], QStringLiteral("Choice Weekday"));
    EXPECT_EQ(shown, (std::set<int>{CWeekday::kSunday, CWeekday::kSaturday}));
    EXPECT_EQ(text(1107), QStringLiteral("3e"));
    EXPECT_EQ(text(1108), QStringLiteral("02"));  // the other timers' masks are untouched

    leaveTo(2501);
    edit(1108)->setFocus(Qt::MouseFocusReason);
    test::settle();
    EXPECT_EQ(shown, (std::set<int>{CWeekday::kMonday}));
    EXPECT_EQ(text(1108), QStringLiteral("3e"));
    EXPECT_EQ(text(1107), QStringLiteral("3e"));
    EXPECT_EQ(readNumber(set, "X3"), 0x02);  // only the store writes the record
    page->StoreValues();
    EXPECT_EQ(readNumber(set, "X3"), 0x3e);
}

TEST_F(TimerPageTest, MediaAndActionFieldsOpenTheirDialogs) {
    openActive();
    leaveTo(2501);
    choices.script = [](QDialog& dialog) {
        if (qobject_cast<CMedia_Choice*>(&dialog) != nullptr) {
            test::click(byId<QRadioButton>(&dialog, CMedia_Choice::kTcp));
            test::click(byId<QPushButton>(&dialog, CMedia_Choice::kApply));
        } else {
            test::click(byId<QRadioButton>(&dialog, 1143));  // "0 (8c)"
            test::click(byId<QPushButton>(&dialog, CAction::kApply));
        }
        return dialog.result();
    };
    for (const Timer& timer : kTimers) {
        for (int f : {kMedia, kAction}) {
            choices.titles.clear();
            edit(timer.ids[f])->setFocus(Qt::MouseFocusReason);
            test::settle();
            ASSERT_EQ(choices.titles.size(), 1u) << timer.codes[f];
            EXPECT_EQ(choices.titles[0], f == kMedia ? QStringLiteral("Choice Report Media")
                                                     : QStringLiteral("Choice Actions"));
            EXPECT_EQ(text(timer.ids[f]),
                      f == kMedia ? QStringLiteral("02") : QStringLiteral("8c00000000"));
            leaveTo(2501);
        }
    }
}

TEST_F(TimerPageTest, FitsTheWindowAt1024By768) {
    test::expectFitsThePageBand(open());
}

}  // namespace
}  // namespace qn470
