// The Stopwatch page through its real widgets: what it shows for a record, what typing and
// leaving an interval do, what it stores, and the choice dialogs of its media and action fields.

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <cstring>

#include "config/default_profile.h"
#include "config/parameter_value.h"
#include "page_fixture.h"
#include "page_test_support.h"
#include "pages/stopwatch_page.h"
#include "support/case_name.h"

namespace qn470 {
namespace {

using test::byId;

// Control ids and codes of one stopwatch.
struct Stopwatch {
    int interval, count, media, action, enable;
    const char *a, *b, *c, *d, *e;
};

constexpr Stopwatch kStopwatches[] = {
    {1134, 1176, 1130, 1144, 1213, "WA", "WB", "WC", "WD", "WE"},
    {1135, 1178, 1131, 1145, 1214, "XA", "XB", "XC", "XD", "XE"},
    {1136, 1177, 1132, 1146, 1215, "YA", "YB", "YC", "YD", "YE"},
    {2307, 1179, 1133, 1147, 1216, "ZA", "ZB", "ZC", "ZD", "ZE"},
};

class StopwatchPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(loadDefaultProfile(set).ok);
        registry.setLoadedFromProfile();
    }

    CStopwatch& open() {
        page = std::make_unique<CStopwatch>(PageContext{set, registry, prompter, choices});
        page->openPage();
        return *page;
    }
    CStopwatch& openActive() {
        open();
        EXPECT_TRUE(test::showActive(*page));
        return *page;
    }

    QLineEdit* edit(int id) const { return byId<QLineEdit>(page.get(), id); }
    QCheckBox* check(int id) const { return byId<QCheckBox>(page.get(), id); }

    void typeInto(int id, const char* keys) {
        edit(id)->setFocus(Qt::TabFocusReason);
        edit(id)->selectAll();
        QTest::keyClicks(edit(id), QString::fromLatin1(keys));
    }

    std::vector<std::string> messages() const {
        std::vector<std::string> out;
        for (const QString& m : prompter.messages) {
            out.push_back(m.toStdString());
        }
        return out;
    }

    ParameterSet set;
    PageRegistry registry;
    test::ScriptedPrompter prompter;
    test::ScriptedChoices choices;
    std::unique_ptr<CStopwatch> page;
};

void fillStopwatches(ParameterSet& set) {
    const struct {
        int64_t interval, count, media;
        const char* action;
        int64_t enable;
    } values[] = {
        {4294967294, 255, 0x05, "84a1", 1},
        {0, 0, 0xa3, "", 0},
        {3, 7, 0x00, "8c8d8e8f00", 0},
        {3000000000, 1, 0x81, "c9", 1},
    };
    for (std::size_t i = 0; i < 4; ++i) {
        writeNumber(set, kStopwatches[i].a, values[i].interval);
        writeNumber(set, kStopwatches[i].b, values[i].count);
        writeNumber(set, kStopwatches[i].c, values[i].media);
        writeText(set, kStopwatches[i].d, values[i].action);
        writeNumber(set, kStopwatches[i].e, values[i].enable);
    }
}

TEST_F(StopwatchPageTest, ShowsEachStopwatchOfTheRecord) {
    fillStopwatches(set);
    open();
    const struct {
        const char *interval, *count, *media, *action;
        bool enabled;
    } shown[] = {
        {"4294967294", "255", "05", "84a1", true},
        {"0", "0", "a3", "", false},
        {"3", "7", "00", "8c8d8e8f00", false},
        {"3000000000", "1", "81", "c9", true},
    };
    for (std::size_t i = 0; i < 4; ++i) {
        const Stopwatch& s = kStopwatches[i];
        EXPECT_EQ(edit(s.interval)->text(), QString::fromLatin1(shown[i].interval)) << s.a;
        EXPECT_EQ(edit(s.count)->text(), QString::fromLatin1(shown[i].count)) << s.b;
        EXPECT_EQ(edit(s.media)->text(), QString::fromLatin1(shown[i].media)) << s.c;
        EXPECT_EQ(edit(s.action)->text(), QString::fromLatin1(shown[i].action)) << s.d;
        EXPECT_EQ(check(s.enable)->isChecked(), shown[i].enabled) << s.e;
    }
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(StopwatchPageTest, StoringUneditedControlsLeavesTheRecordAsItWas) {
    for (bool filled : {false, true}) {
        if (filled) {
            fillStopwatches(set);
        }
        const ParameterSet before = set;
        open().StoreValues();
        EXPECT_EQ(std::memcmp(&before.record, &set.record, sizeof(ConfigRecord)), 0) << filled;
        EXPECT_TRUE(prompter.messages.empty());
    }
}

TEST_F(StopwatchPageTest, AnyNonZeroEnableByteLoadsCheckedAndStoresOne) {
    for (const Stopwatch& s : kStopwatches) {
        writeNumber(set, s.e, 2);
    }
    open();
    for (const Stopwatch& s : kStopwatches) {
        EXPECT_TRUE(check(s.enable)->isChecked()) << s.e;
    }
    check(kStopwatches[2].enable)->setChecked(false);
    page->StoreValues();
    EXPECT_EQ(readNumber(set, "WE"), 1);
    EXPECT_EQ(readNumber(set, "XE"), 1);
    EXPECT_EQ(readNumber(set, "YE"), 0);
    EXPECT_EQ(readNumber(set, "ZE"), 1);
}

TEST_F(StopwatchPageTest, StoresEditedControlsIntoTheirFields) {
    open();
    edit(1134)->setText(QStringLiteral("4294967294"));
    edit(1176)->setText(QStringLiteral("255"));
    edit(1130)->setText(QStringLiteral("a3"));
    edit(1144)->setText(QStringLiteral("84a1"));
    check(1213)->setChecked(true);
    edit(1179)->setText(QStringLiteral("200"));
    edit(1133)->setText(QStringLiteral("A3"));  // upper case counts as 0
    edit(1147)->setText(QStringLiteral("84a1a2a3a8a9"));
    page->StoreValues();
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(readNumber(set, "WA"), 4294967294);
    EXPECT_EQ(readNumber(set, "WB"), 255);
    EXPECT_EQ(readNumber(set, "WC"), 0xa3);
    EXPECT_EQ(readText(set, "WD"), "84a1");
    EXPECT_EQ(readNumber(set, "WE"), 1);
    EXPECT_EQ(readNumber(set, "ZB"), 200);
    EXPECT_EQ(readNumber(set, "ZC"), 0x03);
    // An action holds ten characters; the byte after the field is untouched.
    EXPECT_EQ(edit(1147)->text(), QStringLiteral("84a1a2a3a8"));
    EXPECT_EQ(readText(set, "ZD"), "84a1a2a3a8");
    EXPECT_EQ(readNumber(set, "ZE"), 0);
    const auto* bytes = reinterpret_cast<const unsigned char*>(&set.record);
    const unsigned char wa[] = {0xfe, 0xff, 0xff, 0xff};
    EXPECT_EQ(std::memcmp(bytes + parameter("WA").offset, wa, 4), 0);
}

TEST_F(StopwatchPageTest, WithoutALoadItShowsZerosAndClosingStoresThem) {
    registry = PageRegistry{};
    fillStopwatches(set);
    open();
    for (const Stopwatch& s : kStopwatches) {
        EXPECT_EQ(edit(s.interval)->text(), QStringLiteral("0")) << s.a;
        EXPECT_EQ(edit(s.count)->text(), QStringLiteral("0")) << s.b;
        EXPECT_TRUE(edit(s.media)->text().isEmpty()) << s.c;
        EXPECT_TRUE(edit(s.action)->text().isEmpty()) << s.d;
        EXPECT_FALSE(check(s.enable)->isChecked()) << s.e;
    }
    page->closePage();
    EXPECT_TRUE(prompter.messages.empty());
    for (const Stopwatch& s : kStopwatches) {
        for (const char* code : {s.a, s.b, s.c, s.e}) {
            EXPECT_EQ(readNumber(set, code), 0) << code;
        }
        EXPECT_EQ(readText(set, s.d), "") << s.d;
    }
}

TEST_F(StopwatchPageTest, AFailedExchangeKeepsTheFieldsAfterIt) {
    fillStopwatches(set);
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

struct TypingCase {
    int id;
    const char* keys;
    const char* text;     // the field's text afterwards
    const char* message;  // empty: none
};

class StopwatchTyping : public StopwatchPageTest,
                        public ::testing::WithParamInterface<TypingCase> {};

TEST_P(StopwatchTyping, BadTextIsUndoneWithTheFieldsMessage) {
    const TypingCase& c = GetParam();
    writeNumber(set, "WA", 60);
    writeNumber(set, "ZA", 60);
    writeNumber(set, "XB", 5);
    writeNumber(set, "ZB", 6);
    openActive();
    typeInto(c.id, c.keys);
    EXPECT_EQ(edit(c.id)->text(), QString::fromLatin1(c.text)) << c.keys;
    std::vector<std::string> expected;
    if (*c.message != '\0') {
        expected.push_back(c.message);
    }
    EXPECT_EQ(messages(), expected) << c.keys;
}

INSTANTIATE_TEST_SUITE_P(
    Fields, StopwatchTyping,
    ::testing::Values(TypingCase{1134, "4294967294", "4294967294", ""},
                      TypingCase{1134, "4294967296", "60",
                                 "(WA)Please enter an integer between 0 and 4294967295"},
                      TypingCase{1134, "12345678901", "60",
                                 "(WA)Please enter an integer between 0 and 4294967295"},
                      TypingCase{2307, "9999999999", "60",
                                 "(ZA)Please enter an integer between 0 and 4294967295"},
                      TypingCase{1134, "1", "1", ""},   // refused only when the field is left
                      TypingCase{1134, "7x", "7", ""},  // digits only: the letter never arrives
                      TypingCase{1176, "255", "255", ""},
                      TypingCase{1178, "256", "5", "(XB)Please enter an integer between 0 and 255"},
                      TypingCase{1179, "300", "6",
                                 "(ZB)Please enter an integer between 0 and 255"}),
    [](const auto& info) { return typingCaseName(info.param); });

TEST_F(StopwatchPageTest, PastedLettersAreRefusedLikeTyped) {
    writeNumber(set, "YA", 60);
    openActive();
    edit(1136)->setFocus(Qt::TabFocusReason);
    edit(1136)->end(false);
    edit(1136)->insert(QStringLiteral("0b"));
    EXPECT_EQ(edit(1136)->text(), QStringLiteral("60"));
    EXPECT_EQ(messages(), std::vector<std::string>{"(YA)Please enter a positive integer."});
}

struct LeavingCase {
    int id;
    const char* keys;
    const char* message;  // empty: accepted
};

class StopwatchLeaving : public StopwatchPageTest,
                         public ::testing::WithParamInterface<LeavingCase> {};

TEST_P(StopwatchLeaving, IntervalsRefuseOneAndTwoWhenLeft) {
    const LeavingCase& c = GetParam();
    for (const Stopwatch& s : kStopwatches) {
        writeNumber(set, s.a, 60);
    }
    openActive();
    typeInto(c.id, c.keys);
    EXPECT_TRUE(prompter.messages.empty());
    edit(1176)->setFocus(Qt::TabFocusReason);  // WB, not a choice field
    const bool refused = *c.message != '\0';
    EXPECT_EQ(edit(c.id)->text(), refused ? QStringLiteral("60") : QString::fromLatin1(c.keys));
    EXPECT_EQ(messages(),
              refused ? std::vector<std::string>{c.message} : std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(
    Intervals, StopwatchLeaving,
    ::testing::Values(
        LeavingCase{1134, "0", ""}, LeavingCase{1134, "3", ""}, LeavingCase{1134, "4294967294", ""},
        LeavingCase{1134, "1", "(WA)Please enter an integer between 0 and 4294967295"},
        LeavingCase{1135, "2", "(XA)Please enter an integer between 0 and 4294967295"},
        LeavingCase{1136, "1", "(YA)Please enter an integer between 0 and 4294967295"},
        // Its every-change message, not a garbled one.
        LeavingCase{2307, "2", "(ZA)Please enter an integer between 0 and 4294967295"},
        LeavingCase{2307, "0", ""}),
    [](const auto& info) { return typingCaseName(info.param); });

TEST_F(StopwatchPageTest, ALoadedIntervalAtTheTrackersTopIsShownAndStoredBack) {
    writeNumber(set, "XA", 4294967295);
    writeNumber(set, "YA", 77);
    open();
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(edit(1135)->text(), QStringLiteral("4294967295"));
    edit(1136)->setText(QStringLiteral("88"));
    EXPECT_TRUE(page->StoreValues().ok);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(readNumber(set, "XA"), 4294967295);
    EXPECT_EQ(readNumber(set, "YA"), 88);
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

TEST_F(StopwatchPageTest, ChoiceFieldsOpenTheirDialogAndFillTheField) {
    writeNumber(set, "XC", 0x23);
    writeText(set, "YD", "84");
    openActive();
    // Apply at once: the field gets back what the dialog read from it.
    choices.script = [](QDialog& dialog) {
        test::click(byId<QAbstractButton>(&dialog, 1));
        return dialog.result();
    };
    const struct {
        int id;
        const char* title;
        const char* text;
    } fields[] = {
        {1130, "Choice Report Media", "10"},    {1131, "Choice Report Media", "03"},
        {1132, "Choice Report Media", "10"},    {1133, "Choice Report Media", "10"},
        {1144, "Choice Actions", "0000000000"}, {1145, "Choice Actions", "0000000000"},
        {1146, "Choice Actions", "8400000000"}, {1147, "Choice Actions", "0000000000"},
    };
    for (const auto& f : fields) {
        choices.titles.clear();
        edit(1176)->setFocus(Qt::TabFocusReason);
        edit(f.id)->setFocus(Qt::MouseFocusReason);
        test::settle();
        ASSERT_EQ(choices.titles.size(), 1u) << f.id;
        EXPECT_EQ(choices.titles[0], QString::fromLatin1(f.title)) << f.id;
        EXPECT_EQ(edit(f.id)->text(), QString::fromLatin1(f.text)) << f.id;
    }
    page->StoreValues();
    EXPECT_EQ(readNumber(set, "XC"), 0x03);
    EXPECT_EQ(readText(set, "YD"), "8400000000");
}

TEST_F(StopwatchPageTest, EveryControlHasItsIdLabelHintAndGroup) {
    open();
    const char* groups[] = {"Stopwatch 0", "Stopwatch 1", "Stopwatch 2", "Stopwatch 3"};
    for (std::size_t i = 0; i < 4; ++i) {
        const Stopwatch& s = kStopwatches[i];
        const std::string letter(1, s.a[0]);
        const struct {
            int id;
            std::string label;
            const char* hint;
        } rows[] = {
            {s.interval, "(" + letter + "A) Report interval :", "(3 ~ 4Giga sec)"},
            {s.count, "(" + letter + "B) Number of report", "(0 ~ 255, 0=continuously)"},
            {s.media, "(" + letter + "C) Report Media :", "(Media type)"},
            {s.action, "(" + letter + "D) Action :", "(Action type)"},
        };
        for (const auto& r : rows) {
            QLineEdit* field = edit(r.id);
            ASSERT_NE(field, nullptr) << r.id;
            EXPECT_EQ(qobject_cast<QGroupBox*>(field->parentWidget())->title(),
                      QString::fromLatin1(groups[i]));
            EXPECT_EQ(field->accessibleName(), QString::fromStdString(r.label));
            EXPECT_EQ(field->accessibleDescription(), QString::fromLatin1(r.hint));
            bool labelled = false;
            for (QLabel* label : page->findChildren<QLabel*>()) {
                labelled = labelled || (label->buddy() == field &&
                                        label->text() == QString::fromStdString(r.label));
            }
            EXPECT_TRUE(labelled) << r.label;
        }
        EXPECT_EQ(check(s.enable)->text(),
                  QString::fromStdString("(" + letter + "E) Enable Stopwatch"));
        EXPECT_EQ(edit(s.action)->maxLength(), 10);
    }
}

TEST_F(StopwatchPageTest, FitsTheWindowAt1024By768) {
    test::expectFitsThePageBand(open());
}

}  // namespace
}  // namespace qn470
