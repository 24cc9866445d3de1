// The Counter page through its real widgets: what it shows for a record, the trigger level that
// turns into 0 when it is refused, what it stores, and its choice dialogs.

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <cstring>

#include "config/default_profile.h"
#include "config/parameter_value.h"
#include "page_fixture.h"
#include "page_test_support.h"
#include "pages/counter_page.h"
#include "support/case_name.h"

namespace qn470 {
namespace {

using test::byId;

// Control ids and codes of one counter.
struct Counter {
    int trigger, reset, media, action;
    const char *level, *autoReset, *mediaCode, *actionCode;
};

constexpr Counter kCounters[] = {
    {1180, 1210, 1172, 1168, "Pa", "Pb", "Pc", "Pd"},
    {1181, 1211, 1175, 1170, "Pg", "Ph", "Pi", "Pj"},
    {1182, 1212, 1173, 1169, "Pm", "Pn", "Po", "Pp"},
    {1183, 1027, 1174, 1171, "Ps", "Pt", "Pu", "Pv"},
};

class CounterPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(loadDefaultProfile(set).ok);
        registry.setLoadedFromProfile();
    }

    CCounter& open() {
        page = std::make_unique<CCounter>(PageContext{set, registry, prompter, choices});
        page->openPage();
        return *page;
    }
    CCounter& openActive() {
        open();
        EXPECT_TRUE(test::showActive(*page));
        return *page;
    }

    QLineEdit* edit(int id) const { return byId<QLineEdit>(page.get(), id); }
    QCheckBox* check(int id) const { return byId<QCheckBox>(page.get(), id); }

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
    std::unique_ptr<CCounter> page;
};

TEST_F(CounterPageTest, ATriggerLevelAboveTheSignedRangeLoadsAndStoresUnchanged) {
    for (const Counter& c : kCounters) {
        writeNumber(set, c.level, 3000000000);
    }
    const ParameterSet before = set;
    open();
    for (const Counter& c : kCounters) {
        EXPECT_EQ(edit(c.trigger)->text(), QStringLiteral("3000000000")) << c.level;
    }
    page->StoreValues();
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(std::memcmp(&before.record, &set.record, sizeof(ConfigRecord)), 0);
    for (const Counter& c : kCounters) {
        EXPECT_EQ(readNumber(set, c.level), 3000000000) << c.level;
    }
}

TEST_F(CounterPageTest, ShowsAndStoresEachCounter) {
    const struct {
        int64_t level, reset, media;
        const char* action;
        const char *levelText, *mediaText;
        bool checked;
    } values[] = {
        {4294967294, 1, 0x05, "a0a8", "4294967294", "05", true},
        {0, 0, 0xa3, "", "0", "a3", false},
        {12, 2, 0x10, "0000000000", "12", "10", true},
        {1, 255, 0x00, "4b", "1", "00", true},
    };
    for (std::size_t i = 0; i < 4; ++i) {
        writeNumber(set, kCounters[i].level, values[i].level);
        writeNumber(set, kCounters[i].autoReset, values[i].reset);
        writeNumber(set, kCounters[i].mediaCode, values[i].media);
        writeText(set, kCounters[i].actionCode, values[i].action);
    }
    open();
    for (std::size_t i = 0; i < 4; ++i) {
        const Counter& c = kCounters[i];
        EXPECT_EQ(edit(c.trigger)->text(), QString::fromLatin1(values[i].levelText)) << c.level;
        EXPECT_EQ(check(c.reset)->isChecked(), values[i].checked) << c.autoReset;
        EXPECT_EQ(edit(c.media)->text(), QString::fromLatin1(values[i].mediaText));
        EXPECT_EQ(edit(c.action)->text(), QString::fromLatin1(values[i].action));
    }
    page->StoreValues();
    EXPECT_TRUE(prompter.messages.empty());
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(readNumber(set, kCounters[i].level), values[i].level);
        // Any non-zero byte comes back as 1.
        EXPECT_EQ(readNumber(set, kCounters[i].autoReset), values[i].checked ? 1 : 0);
        EXPECT_EQ(readNumber(set, kCounters[i].mediaCode), values[i].media);
        EXPECT_EQ(readText(set, kCounters[i].actionCode), values[i].action);
    }
}

TEST_F(CounterPageTest, WithoutALoadItShowsZerosAndClosingStoresThem) {
    registry = PageRegistry{};
    for (const Counter& c : kCounters) {
        writeNumber(set, c.level, 77);
        writeNumber(set, c.autoReset, 1);
    }
    open();
    for (const Counter& c : kCounters) {
        EXPECT_EQ(edit(c.trigger)->text(), QStringLiteral("0")) << c.level;
        EXPECT_FALSE(check(c.reset)->isChecked());
        EXPECT_TRUE(edit(c.media)->text().isEmpty());
        EXPECT_TRUE(edit(c.action)->text().isEmpty());
    }
    page->closePage();
    EXPECT_TRUE(prompter.messages.empty());
    for (const Counter& c : kCounters) {
        for (const char* code : {c.level, c.autoReset, c.mediaCode}) {
            EXPECT_EQ(readNumber(set, code), 0) << code;
        }
        EXPECT_EQ(readText(set, c.actionCode), "");
    }
}

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

struct TypingCase {
    int id;
    const char* text;     // typed, or pasted when it holds a letter
    const char* result;   // the field's text afterwards
    const char* message;  // empty: none
};

class CounterTyping : public CounterPageTest, public ::testing::WithParamInterface<TypingCase> {};

TEST_P(CounterTyping, ARefusedTriggerLevelBecomesZero) {
    const TypingCase& c = GetParam();
    for (const Counter& counter : kCounters) {
        writeNumber(set, counter.level, 40);
    }
    openActive();
    QLineEdit* field = edit(c.id);
    field->setFocus(Qt::TabFocusReason);
    field->selectAll();
    const QString text = QString::fromLatin1(c.text);
    if (text.contains(QRegularExpression(QStringLiteral("[^0-9]")))) {
        field->insert(text);  // a digits-only edit drops typed letters; pasting gets them in
    } else {
        QTest::keyClicks(field, text);
    }
    EXPECT_EQ(field->text(), QString::fromLatin1(c.result)) << c.text;
    std::vector<std::string> expected;
    if (*c.message != '\0') {
        expected.push_back(c.message);
    }
    EXPECT_EQ(messages(), expected) << c.text;
    // Leaving the field checks nothing more.
    edit(kCounters[0].trigger == c.id ? 1181 : 1180)->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(messages(), expected) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Fields, CounterTyping,
    ::testing::Values(
        TypingCase{1180, "4294967294", "4294967294", ""},
        TypingCase{1180, "4294967296", "0", "(Pa)Please enter an integer between 0 and 4294967295"},
        TypingCase{1181, "12345678901", "0",
                   "(Pg)Please enter an integer between 0 and 4294967295"},
        TypingCase{1182, "5x", "0", "(Pm)Please enter a positive integer."},
        TypingCase{1183, "9999999999", "0", "(Ps)Please enter an integer between 0 and 4294967295"},
        TypingCase{1183, "0", "0", ""}),
    [](const auto& info) {
        return caseNames({"f" + std::to_string(info.param.id), info.param.text});
    });

TEST_F(CounterPageTest, ALoadedTriggerLevelAtTheTrackersTopIsKept) {
    writeNumber(set, "Ps", 4294967295);
    open();
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(edit(1183)->text(), QStringLiteral("4294967295"));
}

TEST_F(CounterPageTest, ChoiceFieldsOpenTheirDialog) {
    writeNumber(set, "Po", 0x81);
    writeText(set, "Pj", "a1");
    openActive();
    choices.script = [](QDialog& dialog) {
        test::click(byId<QAbstractButton>(&dialog, 1));
        return dialog.result();
    };
    const struct {
        int id;
        const char* title;
        const char* text;
    } fields[] = {
        {1172, "Choice Report Media", "10"},    {1175, "Choice Report Media", "10"},
        {1173, "Choice Report Media", "81"},    {1174, "Choice Report Media", "10"},
        {1168, "Choice Actions", "0000000000"}, {1170, "Choice Actions", "a100000000"},
        {1169, "Choice Actions", "0000000000"}, {1171, "Choice Actions", "0000000000"},
    };
    for (const auto& f : fields) {
        choices.titles.clear();
        edit(1180)->setFocus(Qt::TabFocusReason);
        edit(f.id)->setFocus(Qt::MouseFocusReason);
        test::settle();
        ASSERT_EQ(choices.titles.size(), 1u) << f.id;
        EXPECT_EQ(choices.titles[0], QString::fromLatin1(f.title)) << f.id;
        EXPECT_EQ(edit(f.id)->text(), QString::fromLatin1(f.text)) << f.id;
    }
}

TEST_F(CounterPageTest, EveryControlHasItsIdLabelHintAndGroup) {
    open();
    for (std::size_t i = 0; i < 4; ++i) {
        const Counter& c = kCounters[i];
        const QString group = QStringLiteral("Counter %1").arg(i);
        const std::string code(c.level);
        const struct {
            int id;
            std::string label;
            const char* hint;
        } rows[] = {
            {c.trigger, "(" + code + ") Trigger level :", "(0 ~ 4Giga, 0=no trigger)"},
            {c.media, "(" + std::string(c.mediaCode) + ") Report Media :", "(Media type)"},
            {c.action, "(" + std::string(c.actionCode) + ") Action :", "(Action type)"},
        };
        for (const auto& r : rows) {
            QLineEdit* field = edit(r.id);
            ASSERT_NE(field, nullptr) << r.id;
            EXPECT_EQ(qobject_cast<QGroupBox*>(field->parentWidget())->title(), group);
            EXPECT_EQ(field->accessibleName(), QString::fromStdString(r.label));
            EXPECT_EQ(field->accessibleDescription(), QString::fromLatin1(r.hint));
        }
        EXPECT_EQ(check(c.reset)->text(), QString::fromStdString("(" + std::string(c.autoReset) +
                                                                 ") Automatically reset counter"));
        EXPECT_EQ(qobject_cast<QGroupBox*>(check(c.reset)->parentWidget())->title(), group);
        EXPECT_EQ(edit(c.action)->maxLength(), 10);
    }
}

TEST_F(CounterPageTest, FitsTheWindowAt1024By768) {
    test::expectFitsThePageBand(open());
}

}  // namespace
}  // namespace qn470
