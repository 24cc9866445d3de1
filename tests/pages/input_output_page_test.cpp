// The Input / Output page through its real widgets: what it shows for a record, the analog
// thresholds' typing checks, what it stores, its nine media and nine action fields, and the
// output status filled by the "Dout all" dialog.

#include <gtest/gtest.h>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <algorithm>
#include <cstring>

#include "config/default_profile.h"
#include "config/hex_text.h"
#include "config/parameter_value.h"
#include "page_fixture.h"
#include "page_test_support.h"
#include "pages/dout_dialog.h"
#include "pages/input_output_page.h"
#include "support/case_name.h"

namespace qn470 {
namespace {

using test::byId;

struct Field {
    int id;
    const char* code;
    const char* group;
    const char* label;
    const char* hint;
};

// Every control, in the order the page reads them back.
const Field kFields[] = {
    {1139, "Qa", "ACC", "(Qa) Report media when ACC input  is activated :", "(Media type)"},
    {1140, "Qb", "ACC", "(Qb) Report media when ACC input goes inactive :", "(Media type)"},
    {1149, "Qc", "ACC", "(Qc) Action when ACC input  is activated :", "(Action type)"},
    {1150, "Qd", "ACC", "(Qd) Action when ACC input goes inactive :", "(Action type)"},
    {1141, "Qg", "Din 1", "(Qg) Report media when digital input  is activated :", "(Media type)"},
    {1142, "Qh", "Din 1", "(Qh) Report media when digital input goes inactive :", "(Media type)"},
    {1151, "Qi", "Din 1", "(Qi) Action when digital input  is activated :", "(Action type)"},
    {1152, "Qj", "Din 1", "(Qj) Action when digital input goes inactive :", "(Action type)"},
    {1143, "Qm", "Din 2", "(Qm) Report media when digital input  is activated :", "(Media type)"},
    {1144, "Qn", "Din 2", "(Qn) Report media when digital input goes inactive :", "(Media type)"},
    {1153, "Qo", "Din 2", "(Qo) Action when digital input  is activated :", "(Action type)"},
    {1154, "Qp", "Din 2", "(Qp) Action when digital input goes inactive :", "(Action type)"},
    {1145, "Qs", "Din 3", "(Qs) Report media when digital input  is activated :", "(Media type)"},
    {1146, "Qt", "Din 3", "(Qt) Report media when digital input goes inactive :", "(Media type)"},
    {1155, "Qu", "Din 3", "(Qu) Action when digital input  is activated :", "(Action type)"},
    {1156, "Qv", "Din 3", "(Qv) Action when digital input goes inactive :", "(Action type)"},
    {1157, "Qz", "Digital Input/output", "(Qz) Digital output status :", nullptr},
    {1192, "QA", "Analog Input", "(QA) Upper threshold :", "(0 ~ 65535 mV, 0=no trigger)"},
    {1193, "QB", "Analog Input", "(QB) Lower threshold :", "(0 ~ 65535 mV, 0=no trigger)"},
    {1138, "QC", "Analog Input", "(QC) Report Media :", "(Media type)"},
    {1148, "QD", "Analog Input", "(QD) Action :", "(Action type)"},
    {1194, "QE", "Analog Input", "(QE) Check interval :", "(0 ~ 65535 sec, 0=disable)"},
};

bool isMedia(const Field& f) {
    return f.hint != nullptr && std::strcmp(f.hint, "(Media type)") == 0;
}
bool isAction(const Field& f) {
    return f.hint != nullptr && std::strcmp(f.hint, "(Action type)") == 0;
}

class InputOutputPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(loadDefaultProfile(set).ok);
        registry.setLoadedFromProfile();
    }

    CDigital& open() {
        page = std::make_unique<CDigital>(PageContext{set, registry, prompter, choices});
        page->openPage();
        return *page;
    }
    CDigital& openActive() {
        open();
        EXPECT_TRUE(test::showActive(*page));
        return *page;
    }

    QLineEdit* edit(int id) const { return byId<QLineEdit>(page.get(), id); }

    // Opens a choice field as a click would, after leaving whatever field had the focus.
    void enter(int id) {
        edit(1192)->setFocus(Qt::TabFocusReason);
        edit(id)->setFocus(Qt::MouseFocusReason);
        test::settle();
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
    std::unique_ptr<CDigital> page;
};

// A distinct value for every field: media bytes and actions by position, numbers at the limits.
void fillRecord(ParameterSet& set) {
    int n = 0;
    for (const Field& f : kFields) {
        ++n;
        if (isMedia(f)) {
            writeNumber(set, f.code, n * 7);
        } else if (isAction(f)) {
            writeText(set, f.code, n % 2 == 0 ? "84a1" : "c9ca4b0000");
        }
    }
    writeNumber(set, "Qz", 0x0a);
    writeNumber(set, "QA", 65535);
    writeNumber(set, "QB", 0);
    writeNumber(set, "QE", 300);
}

TEST_F(InputOutputPageTest, ShowsTheRecordInItsControls) {
    fillRecord(set);
    open();
    int n = 0;
    for (const Field& f : kFields) {
        ++n;
        QString expected;
        if (isMedia(f)) {
            expected = QStringLiteral("%1").arg(n * 7, 2, 16, QLatin1Char('0'));
        } else if (isAction(f)) {
            expected = QString::fromLatin1(n % 2 == 0 ? "84a1" : "c9ca4b0000");
        }
        if (!expected.isEmpty()) {
            EXPECT_EQ(edit(f.id)->text(), expected) << f.code;
        }
    }
    EXPECT_EQ(edit(1157)->text(), QStringLiteral("0a"));
    EXPECT_EQ(edit(1192)->text(), QStringLiteral("65535"));
    EXPECT_EQ(edit(1193)->text(), QStringLiteral("0"));
    EXPECT_EQ(edit(1194)->text(), QStringLiteral("300"));
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(InputOutputPageTest, StoringUneditedControlsLeavesTheRecordAsItWas) {
    for (bool filled : {false, true}) {
        if (filled) {
            fillRecord(set);
        }
        const ParameterSet before = set;
        open().StoreValues();
        EXPECT_EQ(std::memcmp(&before.record, &set.record, sizeof(ConfigRecord)), 0) << filled;
        EXPECT_TRUE(prompter.messages.empty());
    }
}

TEST_F(InputOutputPageTest, StoresEditedControlsIntoTheirFields) {
    open();
    edit(1139)->setText(QStringLiteral("1f"));
    edit(1146)->setText(QStringLiteral("5"));  // one digit is the high half
    edit(1150)->setText(QStringLiteral("8485"));
    edit(1157)->setText(QStringLiteral("08"));
    edit(1192)->setText(QStringLiteral("65535"));
    edit(1193)->setText(QStringLiteral("1"));
    edit(1138)->setText(QStringLiteral("B1"));
    edit(1148)->setText(QStringLiteral("a0a1a2a3a8a9"));
    edit(1194)->setText(QStringLiteral("600"));
    page->StoreValues();
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(readNumber(set, "Qa"), 0x1f);
    EXPECT_EQ(readNumber(set, "Qt"), 0x50);
    EXPECT_EQ(readText(set, "Qd"), "8485");
    EXPECT_EQ(readNumber(set, "Qz"), 0x08);
    EXPECT_EQ(readNumber(set, "QA"), 65535);
    EXPECT_EQ(readNumber(set, "QB"), 1);
    EXPECT_EQ(readNumber(set, "QC"), 0x01);
    EXPECT_EQ(readText(set, "QD"), "a0a1a2a3a8");  // ten characters at most
    EXPECT_EQ(readNumber(set, "QE"), 600);
}

TEST_F(InputOutputPageTest, WithoutALoadItShowsZerosAndClosingStoresThem) {
    registry = PageRegistry{};
    fillRecord(set);
    open();
    for (const Field& f : kFields) {
        const bool number =
            f.code[0] == 'Q' && (f.code[1] == 'A' || f.code[1] == 'B' || f.code[1] == 'E');
        EXPECT_EQ(edit(f.id)->text(), number ? QStringLiteral("0") : QString()) << f.code;
    }
    page->closePage();
    EXPECT_TRUE(prompter.messages.empty());
    for (const Field& f : kFields) {
        if (isAction(f)) {
            EXPECT_EQ(readText(set, f.code), "") << f.code;
        } else {
            EXPECT_EQ(readNumber(set, f.code), 0) << f.code;
        }
    }
}

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

struct TypingCase {
    int id;
    const char* keys;
    const char* text;
    const char* message;
};

class InputOutputTyping : public InputOutputPageTest,
                          public ::testing::WithParamInterface<TypingCase> {};

TEST_P(InputOutputTyping, ThresholdsAreCheckedAsTheyAreTyped) {
    const TypingCase& c = GetParam();
    writeNumber(set, "QA", 100);
    writeNumber(set, "QB", 200);
    writeNumber(set, "QE", 300);
    openActive();
    edit(c.id)->setFocus(Qt::TabFocusReason);
    edit(c.id)->selectAll();
    QTest::keyClicks(edit(c.id), QString::fromLatin1(c.keys));
    EXPECT_EQ(edit(c.id)->text(), QString::fromLatin1(c.text)) << c.keys;
    std::vector<std::string> expected;
    if (*c.message != '\0') {
        expected.push_back(c.message);
    }
    EXPECT_EQ(messages(), expected) << c.keys;
}

INSTANTIATE_TEST_SUITE_P(
    Fields, InputOutputTyping,
    ::testing::Values(
        TypingCase{1192, "65535", "65535", ""},
        TypingCase{1192, "65536", "100", "(QA)Please enter an integer between 0 and 65535"},
        TypingCase{1193, "99999", "200", "(QB)Please enter an integer between 0 and 65535"},
        TypingCase{1194, "70000", "300", "(QE)Please enter an integer between 0 and 65535"},
        TypingCase{1194, "0", "0", ""}, TypingCase{1193, "1x2", "12", ""}),
    [](const auto& info) { return typingCaseName(info.param); });

TEST_F(InputOutputPageTest, PastedLettersAreRefusedLikeTyped) {
    writeNumber(set, "QE", 30);
    openActive();
    edit(1194)->setFocus(Qt::TabFocusReason);
    edit(1194)->insert(QStringLiteral("-"));
    EXPECT_EQ(edit(1194)->text(), QStringLiteral("30"));
    EXPECT_EQ(messages(), std::vector<std::string>{"(QE)Please enter a positive integer."});
}

TEST_F(InputOutputPageTest, EveryMediaAndActionFieldOpensItsDialog) {
    writeNumber(set, "Qn", 0x23);
    writeText(set, "Qu", "4b");
    openActive();
    choices.script = [](QDialog& dialog) {
        test::click(byId<QAbstractButton>(&dialog, 1));
        return dialog.result();
    };
    int media = 0;
    int actions = 0;
    for (const Field& f : kFields) {
        if (!isMedia(f) && !isAction(f)) {
            continue;
        }
        media += isMedia(f) ? 1 : 0;
        actions += isAction(f) ? 1 : 0;
        choices.titles.clear();
        enter(f.id);
        ASSERT_EQ(choices.titles.size(), 1u) << f.code;
        EXPECT_EQ(choices.titles[0], isMedia(f) ? QStringLiteral("Choice Report Media")
                                                : QStringLiteral("Choice Actions"))
            << f.code;
    }
    EXPECT_EQ(media, 9);
    EXPECT_EQ(actions, 9);
    // Each dialog read its own field: only a field whose text it could not keep changed.
    EXPECT_EQ(edit(1144)->text(), QStringLiteral("03"));
    EXPECT_EQ(edit(1155)->text(), QStringLiteral("4b00000000"));
    EXPECT_EQ(edit(1139)->text(), QStringLiteral("10"));
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
            test::click(byId<QAbstractButton>(&dialog, c.click));
        }
        test::click(byId<QAbstractButton>(&dialog, CDout::kApply));
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
        test::click(byId<QAbstractButton>(&dialog, CDout::kAll));
        test::click(byId<QAbstractButton>(&dialog, CDout::kCancel));
        return dialog.result();
    };
    enter(1157);
    EXPECT_EQ(choices.titles.size(), 1u);
    EXPECT_EQ(edit(1157)->text(), QStringLiteral("06"));
}

TEST_F(InputOutputPageTest, EveryControlHasItsIdLabelHintAndGroup) {
    open();
    for (const Field& f : kFields) {
        QLineEdit* field = edit(f.id);
        ASSERT_NE(field, nullptr) << f.code;
        EXPECT_EQ(qobject_cast<QGroupBox*>(field->parentWidget())->title(),
                  QString::fromLatin1(f.group))
            << f.code;
        EXPECT_EQ(field->accessibleName(), QString::fromLatin1(f.label));
        EXPECT_EQ(field->accessibleDescription(),
                  f.hint != nullptr ? QString::fromLatin1(f.hint) : QString());
        bool labelled = false;
        for (QLabel* label : page->findChildren<QLabel*>()) {
            labelled = labelled ||
                       (label->buddy() == field && label->text() == QString::fromLatin1(f.label));
        }
        EXPECT_TRUE(labelled) << f.label;
        if (isAction(f)) {
            EXPECT_EQ(field->maxLength(), 10) << f.code;
        }
    }
    // The four input groups sit inside the digital group; the analog group does not.
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

TEST_F(InputOutputPageTest, FitsTheWindowAt1024By768) {
    test::expectFitsThePageBand(open());
}

}  // namespace
}  // namespace qn470
