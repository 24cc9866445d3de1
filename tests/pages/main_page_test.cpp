// The Main page through its real widgets: what it shows for a record, what typing and leaving a
// field do, what it stores, and the choice dialogs its media and action fields open.

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <cstring>
#include <set>

#include "config/default_profile.h"
#include "config/parameter_value.h"
#include "page_test_support.h"
#include "pages/action_dialog.h"
#include "pages/main_page.h"
#include "pages/media_choice_dialog.h"
#include "support/case_name.h"

namespace qn470 {
namespace {

using test::byId;

class MainPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(loadDefaultProfile(set).ok);
        registry.setLoadedFromProfile();
    }

    CMainPage& open() {
        page = std::make_unique<CMainPage>(PageContext{set, registry, prompter, choices});
        page->openPage();
        return *page;
    }
    CMainPage& openActive() {
        open();
        EXPECT_TRUE(test::showActive(*page));
        return *page;
    }

    QLineEdit* edit(int id) const { return byId<QLineEdit>(page.get(), id); }
    QComboBox* list(int id) const { return byId<QComboBox>(page.get(), id); }
    QCheckBox* check(int id) const { return byId<QCheckBox>(page.get(), id); }

    // Types into a field the way a user does: focus, select everything, type.
    void typeInto(int id, const char* keys) {
        QLineEdit* field = edit(id);
        field->setFocus(Qt::TabFocusReason);
        field->selectAll();
        QTest::keyClicks(field, QString::fromLatin1(keys));
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
    std::unique_ptr<CMainPage> page;
};

// The record offsets whose bytes differ between two records.
std::set<std::size_t> changedBytes(const ConfigRecord& a, const ConfigRecord& b) {
    std::set<std::size_t> out;
    const auto* pa = reinterpret_cast<const unsigned char*>(&a);
    const auto* pb = reinterpret_cast<const unsigned char*>(&b);
    for (std::size_t i = 0; i < sizeof(ConfigRecord); ++i) {
        if (pa[i] != pb[i]) {
            out.insert(i);
        }
    }
    return out;
}

std::set<std::size_t> bytesOf(std::initializer_list<const char*> codes) {
    std::set<std::size_t> out;
    for (const char* code : codes) {
        const Parameter& p = parameter(code);
        for (std::size_t i = 0; i < p.size; ++i) {
            out.insert(p.offset + i);
        }
    }
    return out;
}

void fillUnusualRecord(ParameterSet& set) {
    writeText(set, "O5", "DEV-7");
    writeText(set, "O7", "FW 1.02");
    writeNumber(set, "O6", -3600);
    writeNumber(set, "O2", 300);
    writeNumber(set, "OH", 4294967294);
    writeNumber(set, "J6", 0x05);
    writeNumber(set, "J9", 10500);
    writeText(set, "JA", "84a1000000");
    writeText(set, "B0", "1234");
    writeText(set, "B1", "+85512345678");
    writeText(set, "B2", "359710040000001");
    writeText(set, "B3", "45601\xe9\xff");  // bytes the page must give back as they were
    writeText(set, "O3", "O3TEXT!");
    writeText(set, "ON", "ON!");
    writeNumber(set, "OO", 0xa3);
    writeText(set, "Oa", "pw12");
    writeNumber(set, "OB", 2);
    writeNumber(set, "OC", 4);
    writeNumber(set, "O8", 1);
    writeNumber(set, "OG", 0);
    writeNumber(set, "J2", 45);
    writeNumber(set, "J5", -40);
}

TEST_F(MainPageTest, ShowsTheRecordInItsControls) {
    fillUnusualRecord(set);
    open();
    const struct {
        int id;
        const char* text;
    } edits[] = {
        {1059, "DEV-7"},         {1061, "FW 1.02"},
        {1060, "-3600"},         {1057, "300"},
        {1062, "4294967294"},    {1094, "05"},
        {1196, "10500"},         {1189, "84a1000000"},
        {1190, "0000000000"},    {2005, "1234"},
        {2002, "+85512345678"},  {2003, "359710040000001"},
        {2004, "45601\xe9\xff"}, {1004, "O3TEXT!"},
        {1005, "ON!"},           {1095, "a3"},
        {2006, "pw12"},          {1021, "45"},
        {1026, "-40"},
    };
    for (const auto& e : edits) {
        ASSERT_NE(edit(e.id), nullptr) << e.id;
        EXPECT_EQ(edit(e.id)->text(), QString::fromLatin1(e.text)) << e.id;
    }
    EXPECT_EQ(list(1064)->currentText(), QStringLiteral("SFlash"));
    EXPECT_EQ(list(1065)->currentText(), QStringLiteral("NMEA only"));
    EXPECT_TRUE(check(1023)->isChecked());
    EXPECT_FALSE(check(1024)->isChecked());
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(MainPageTest, DefaultsShowAsTheyAre) {
    open();
    EXPECT_EQ(edit(1196)->text(), QStringLiteral("11500"));
    EXPECT_EQ(edit(1004)->text(), QStringLiteral("SPRXAB27GHKLMn*U!"));
    EXPECT_EQ(edit(1095)->text(), QStringLiteral("20"));
    EXPECT_EQ(edit(1026)->text(), QStringLiteral("-29"));
    EXPECT_EQ(list(1064)->currentText(), QStringLiteral("SFlash"));
    EXPECT_EQ(list(1065)->currentText(), QStringLiteral("All"));
}

TEST_F(MainPageTest, StoringUneditedControlsLeavesTheRecordAsItWas) {
    for (bool unusual : {false, true}) {
        if (unusual) {
            fillUnusualRecord(set);
        }
        const ParameterSet before = set;
        open().StoreValues();
        EXPECT_TRUE(changedBytes(before.record, set.record).empty()) << unusual;
        EXPECT_EQ(std::memcmp(before.firmwareVersion.text, set.firmwareVersion.text,
                              sizeof(set.firmwareVersion.text)),
                  0);
        // J5 keeps its sign: -29 (or -40) must never come back as its magnitude.
        EXPECT_EQ(readNumber(set, "J5"), unusual ? -40 : -29);
        EXPECT_TRUE(prompter.messages.empty());
    }
}

TEST_F(MainPageTest, StoresEditedControlsIntoTheirFieldsOnly) {
    const ParameterSet before = set;
    open();
    edit(1059)->setText(QStringLiteral("NEW-ID"));
    edit(1060)->setText(QStringLiteral("-43200"));
    edit(1057)->setText(QStringLiteral("65535"));
    edit(1062)->setText(QStringLiteral("4294967294"));
    edit(1094)->setText(QStringLiteral("1f"));
    edit(1095)->setText(QStringLiteral("1F"));
    edit(1196)->setText(QStringLiteral("12000"));
    edit(1189)->setText(QStringLiteral("4b"));
    edit(2005)->setText(QStringLiteral("99"));
    edit(2002)->setText(QStringLiteral("0123456789012345678"));
    edit(1004)->setText(QStringLiteral("ABC!"));
    list(1064)->setCurrentIndex(0);
    check(1023)->setChecked(true);
    check(1024)->setChecked(false);
    test::click(byId<QPushButton>(page.get(), CMainPage::kSubmit));

    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(readText(set, "O5"), "NEW-ID");
    EXPECT_EQ(readNumber(set, "O6"), -43200);
    EXPECT_EQ(readNumber(set, "O2"), 65535);
    EXPECT_EQ(readNumber(set, "OH"), 4294967294);
    EXPECT_EQ(readNumber(set, "J6"), 0x1f);
    EXPECT_EQ(readNumber(set, "OO"), 0x10);  // upper-case digits count as 0
    EXPECT_EQ(readNumber(set, "J9"), 12000);
    EXPECT_EQ(readText(set, "JA"), "4b");
    EXPECT_EQ(readText(set, "B0"), "99");
    EXPECT_EQ(readText(set, "B1"), "0123456789012345678");
    EXPECT_EQ(readText(set, "O3"), "ABC!");
    EXPECT_EQ(readNumber(set, "OB"), 1);
    EXPECT_EQ(readNumber(set, "O8"), 1);
    EXPECT_EQ(readNumber(set, "OG"), 0);
    // Little-endian bytes of O6 = -43200.
    const auto* bytes = reinterpret_cast<const unsigned char*>(&set.record);
    const unsigned char o6[] = {0x40, 0x57, 0xff, 0xff};
    EXPECT_EQ(std::memcmp(bytes + parameter("O6").offset, o6, 4), 0);
    const std::set<std::size_t> allowed =
        bytesOf({"O5", "O6", "O2", "OH", "J6", "OO", "J9", "JA", "B0", "B1", "O3", "OB", "O8"});
    for (std::size_t offset : changedBytes(before.record, set.record)) {
        EXPECT_TRUE(allowed.count(offset)) << "byte " << offset << " changed";
    }
}

TEST_F(MainPageTest, DebugLevelListMapsOneAndFour) {
    for (int value : {1, 4, 3}) {
        writeNumber(set, "OC", value);
        open();
        if (value == 3) {
            // A value without an item shows no item and is kept.
            EXPECT_EQ(list(1065)->currentIndex(), -1);
        } else {
            EXPECT_EQ(list(1065)->currentText(),
                      value == 1 ? QStringLiteral("All") : QStringLiteral("NMEA only"));
        }
        page->StoreValues();
        EXPECT_EQ(readNumber(set, "OC"), value);
    }
    open();
    list(1065)->setCurrentIndex(0);
    page->StoreValues();
    EXPECT_EQ(readNumber(set, "OC"), 1);
}

TEST_F(MainPageTest, AFieldThatIsNotANumberEndsTheStore) {
    open();
    edit(1059)->setText(QStringLiteral("BEFORE"));  // read before J9
    edit(1196)->setText(QString());
    edit(1057)->setText(QStringLiteral("77"));      // read after J9
    edit(1004)->setText(QStringLiteral("AFTER!"));  // read after J9
    check(1023)->setChecked(true);
    page->StoreValues();
    EXPECT_EQ(messages(), std::vector<std::string>{"Enter a positive integer."});
    EXPECT_EQ(readText(set, "O5"), "BEFORE");
    EXPECT_EQ(readNumber(set, "J9"), 11500);
    EXPECT_EQ(readNumber(set, "O2"), 0);
    EXPECT_EQ(readText(set, "O3"), "SPRXAB27GHKLMn*U!");
    EXPECT_EQ(readNumber(set, "O8"), 1);  // check boxes are not part of the exchange

    prompter.messages.clear();
    edit(1196)->setText(QStringLiteral("11000"));
    edit(1060)->setText(QStringLiteral("5-"));
    page->StoreValues();
    EXPECT_EQ(messages(), std::vector<std::string>{"Enter an integer."});
    EXPECT_EQ(readNumber(set, "O6"), 0);
    EXPECT_EQ(readNumber(set, "J9"), 11500);
}

struct TypingCase {
    int id;
    const char* keys;
    const char* text;     // the field's text afterwards
    const char* message;  // empty: none
};

class MainPageTyping : public MainPageTest, public ::testing::WithParamInterface<TypingCase> {};

TEST_P(MainPageTyping, BadKeystrokesAreUndoneWithTheFieldsMessage) {
    const TypingCase& c = GetParam();
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
    Fields, MainPageTyping,
    ::testing::Values(
        TypingCase{1057, "70000", "0", "(O2)Please enter an integer between 0 and 65535"},
        TypingCase{1057, "65535", "65535", ""},
        TypingCase{1057, "1a2", "12", ""},  // a numbers-only edit drops the letter
        TypingCase{1060, "-5", "-5", ""}, TypingCase{1060, "5-", "5-", ""},
        TypingCase{1060, "x", "0", "(O6)Please enter a positive integer."},
        TypingCase{1060, "46801", "0", "(O6)Please enter an integer between -43200 and 46800"},
        TypingCase{1060, "-43201", "0", "(O6)Please enter an integer between -43200 and 46800"},
        TypingCase{1062, "4294967295", "4294967295", ""},
        TypingCase{1062, "4294967296", "0", "(OH)Please enter an integer between 0 and 4294967295"},
        // Anything the tracker takes passes while typing; the page's own range is asked for on
        // leaving.
        TypingCase{1196, "12001", "12001", ""},
        TypingCase{1196, "65536", "11500", "(J9)Please enter an integer between 0 and 65535"},
        TypingCase{1196, "9000", "9000", ""}),
    [](const auto& info) { return typingCaseName(info.param); });

TEST_F(MainPageTest, PastedLettersAreRefusedLikeTyped) {
    openActive();
    edit(1057)->setFocus(Qt::TabFocusReason);
    edit(1057)->end(false);
    edit(1057)->insert(QStringLiteral("1b"));
    EXPECT_EQ(edit(1057)->text(), QStringLiteral("0"));
    EXPECT_EQ(messages(), std::vector<std::string>{"(O2)Please enter a positive integer."});
}

TEST_F(MainPageTest, LeavingTheBatteryThresholdChecksItsRange) {
    openActive();
    typeInto(1196, "9000");
    EXPECT_TRUE(prompter.messages.empty());
    // Window focus changes (a message box, another program) are not leaving the field.
    QFocusEvent away(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(edit(1196), &away);
    EXPECT_TRUE(prompter.messages.empty());

    edit(1059)->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(messages(),
              std::vector<std::string>{"(J9)Please enter an integer between 10000 and 12000"});
    EXPECT_EQ(edit(1196)->text(), QStringLiteral("11500"));

    prompter.messages.clear();
    typeInto(1196, "10000");
    edit(1059)->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(edit(1196)->text(), QStringLiteral("10000"));
}

TEST_F(MainPageTest, ReadOnlyFieldsCannotBeTyped) {
    writeText(set, "B2", "359710040000001");
    openActive();
    for (int id : {1061, 2003, 2004}) {
        EXPECT_TRUE(edit(id)->isReadOnly()) << id;
        const QString before = edit(id)->text();
        edit(id)->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(edit(id), QStringLiteral("99"));
        EXPECT_EQ(edit(id)->text(), before) << id;
    }
}

TEST_F(MainPageTest, MediaFieldsOpenTheMediaDialogOnFocusOnlyOnce) {
    openActive();
    choices.script = [](QDialog& dialog) {
        auto* media = qobject_cast<CMedia_Choice*>(&dialog);
        EXPECT_NE(media, nullptr);
        EXPECT_TRUE(byId<QCheckBox>(&dialog, CMedia_Choice::kSms)->isEnabled());
        EXPECT_TRUE(byId<QRadioButton>(&dialog, CMedia_Choice::kHttp)->isChecked());  // "10"
        test::click(byId<QRadioButton>(&dialog, CMedia_Choice::kUdp));
        test::click(byId<QPushButton>(&dialog, CMedia_Choice::kApply));
        return dialog.result();
    };
    edit(1094)->setFocus(Qt::MouseFocusReason);
    test::settle();
    ASSERT_EQ(choices.titles.size(), 1u);
    EXPECT_EQ(choices.titles[0], QStringLiteral("Choice Report Media"));
    EXPECT_EQ(edit(1094)->text(), QStringLiteral("04"));
    EXPECT_EQ(page->binder().choiceField(), 1094);

    // The focus coming back when the dialog closes does not open it again.
    QFocusEvent back(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(edit(1094), &back);
    test::settle();
    EXPECT_EQ(choices.titles.size(), 1u);

    // Entering the field again does; cancelling leaves its text.
    choices.script = nullptr;
    edit(1059)->setFocus(Qt::TabFocusReason);
    edit(1094)->setFocus(Qt::TabFocusReason);
    test::settle();
    EXPECT_EQ(choices.titles.size(), 2u);
    EXPECT_EQ(edit(1094)->text(), QStringLiteral("04"));
    // Nothing reaches the record before a store.
    EXPECT_EQ(readNumber(set, "J6"), 0x10);
}

TEST_F(MainPageTest, ConfigurationReportMediaCannotChangeSms) {
    writeNumber(set, "OO", 0x21);
    openActive();
    bool smsEnabled = true;
    choices.script = [&](QDialog& dialog) {
        smsEnabled = byId<QCheckBox>(&dialog, CMedia_Choice::kSms)->isEnabled();
        EXPECT_TRUE(byId<QCheckBox>(&dialog, CMedia_Choice::kSms)->isChecked());
        test::click(byId<QPushButton>(&dialog, CMedia_Choice::kApply));
        return dialog.result();
    };
    edit(1095)->setFocus(Qt::MouseFocusReason);
    test::settle();
    EXPECT_FALSE(smsEnabled);
    EXPECT_EQ(edit(1095)->text(), QStringLiteral("21"));
}

TEST_F(MainPageTest, ActionFieldsOpenTheActionDialog) {
    writeText(set, "JB", "84");
    openActive();
    choices.script = [](QDialog& dialog) {
        EXPECT_NE(qobject_cast<CAction*>(&dialog), nullptr);
        EXPECT_TRUE(byId<QRadioButton>(&dialog, 1139)->isChecked());  // slot 1 holds 84
        test::click(byId<QRadioButton>(&dialog, 1226));
        test::click(byId<QRadioButton>(&dialog, 1165));
        test::click(byId<QPushButton>(&dialog, CAction::kApply));
        return dialog.result();
    };
    edit(1190)->setFocus(Qt::MouseFocusReason);
    test::settle();
    ASSERT_EQ(choices.titles.size(), 1u);
    EXPECT_EQ(choices.titles[0], QStringLiteral("Choice Actions"));
    EXPECT_EQ(edit(1190)->text(), QStringLiteral("8445000000"));
    page->StoreValues();
    EXPECT_EQ(readText(set, "JB"), "8445000000");
}

TEST_F(MainPageTest, EveryControlHasItsIdAndLabel) {
    open();
    const struct {
        int id;
        const char* label;
    } controls[] = {
        {1059, "(O5) Device ID :"},
        {1061, "(O7) Firmware Version :"},
        {1060, "(O6) Time Zone Offset :"},
        {1057, "(O2) Datalogger interval :"},
        {1062, "(OH) Datalogger distance :"},
        {1094, "(J6) Battery alarm report Media :"},
        {1196, "(J9) Threshold of main battery low alarm :"},
        {1189, "(JA) Action for main battery disconnection alarm :"},
        {1190, "(JB) Action for main battery low alarm :"},
        {2005, "(B0) PIN code :"},
        {2002, "(B1) Phone number of SIM card :"},
        {2003, "(B2) IMEI number :"},
        {2004, "(B3) IMSI number :"},
        {1064, "(OB) Debug message output media :"},
        {1065, "(OC) Debug message level :"},
        {1004, "(O3) Report format 0 :"},
        {1005, "(ON) Report format 1 :"},
        {1095, "(OO) Report media for reading configuration :"},
        {2006, "(Oa) Password for simple command :"},
    };
    for (const auto& c : controls) {
        QWidget* control = byId<QWidget>(page.get(), c.id);
        ASSERT_NE(control, nullptr) << c.id;
        bool labelled = false;
        for (QLabel* label : page->findChildren<QLabel*>()) {
            labelled = labelled ||
                       (label->buddy() == control && label->text() == QString::fromUtf8(c.label));
        }
        EXPECT_TRUE(labelled) << c.label;
    }
    EXPECT_EQ(check(1023)->text(),
              QStringLiteral("(O8) Report \"cell ID\" if GPS mode is not fixed."));
    EXPECT_EQ(check(1024)->text(), QStringLiteral("(OG) Enable data buffer function."));
    EXPECT_EQ(edit(2005)->maxLength(), 7);
    EXPECT_EQ(edit(1059)->maxLength(), 15);
    EXPECT_EQ(edit(1004)->maxLength(), 31);
    EXPECT_EQ(byId<QPushButton>(page.get(), CMainPage::kSubmit)->text(), QStringLiteral("Submit"));
}

}  // namespace
}  // namespace qn470
