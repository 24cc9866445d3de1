// The Communication page through its real widgets: what it shows and stores (the hidden second
// host and OR included), the GPRS mode list, typing and leaving its fields, and the SMS template
// table across openings.

#include <QPushButton>
#include <cstring>

#include "page_fixture.h"
#include "pages/communication_page.h"
#include "support/case_name.h"

namespace qn470 {
namespace {

using test::byId;
using test::changedBytes;
using test::TypingCase;

class CommunicationPageTest : public test::PageFixture<CCommunicationPage> {
protected:
    QComboBox* templates() const { return list(CCommunicationPage::kTemplateList); }
    QLineEdit* templateEdit() const { return edit(CCommunicationPage::kTemplateEdit); }
    void pressSet() { test::click(byId<QPushButton>(page.get(), CCommunicationPage::kSet)); }
    std::string eventText(int row) const { return set.eventTexts.row(row); }
};

void fillUnusualRecord(ParameterSet& set) {
    writeText(set, "D1", "internet.example");
    writeText(set, "D2", "user");
    writeText(set, "D3", "pass\xe9");
    writeText(set, "D4", "10.0.0.1");
    writeText(set, "D5", "10.0.0.2");
    writeNumber(set, "D8", 4);
    writeText(set, "E0", "host-one.example");
    writeNumber(set, "E1", 65535);
    writeText(set, "E2", "host-two.example");
    writeNumber(set, "E3", 8080);
    writeNumber(set, "E4", 60);
    writeNumber(set, "E5", 0);
    writeNumber(set, "E6", 1);
    writeNumber(set, "E7", 2);
    writeNumber(set, "EA", 255);
    writeText(set, "F0", "+1234567890123456789");
    writeNumber(set, "F2", 0);
    writeNumber(set, "A0", 0);
    writeNumber(set, "A1", 1);
    writeNumber(set, "A2", 1);
    writeNumber(set, "A3", 1);
    writeNumber(set, "A4", 0);
    writeNumber(set, "A5", 0);
    writeNumber(set, "OR", 1);
}

TEST_F(CommunicationPageTest, ShowsTheRecordHiddenFieldsIncluded) {
    fillUnusualRecord(set);
    open();
    const struct {
        int id;
        const char* text;
    } edits[] = {
        {2201, "internet.example"},
        {2202, "user"},
        {2203, "pass\xe9"},
        {2204, "10.0.0.1"},
        {2205, "10.0.0.2"},
        {2206, "host-one.example"},
        {2207, "65535"},
        {2208, "host-two.example"},
        {2209, "8080"},
        {2212, "60"},
        {2213, "0"},
        {2214, "2"},
        {2215, "255"},
        {2210, "+123456789012345678"},
        {1012, "1"},
    };
    for (const auto& e : edits) {
        EXPECT_EQ(text(e.id), QString::fromLatin1(e.text)) << e.id;
    }
    EXPECT_EQ(list(1038)->currentText(), QStringLiteral("UDP"));
    const struct {
        int id;
        bool checked;
    } checks[] = {{1126, true}, {1072, false}, {1067, false}, {1068, true},
                  {1069, true}, {1070, false}, {1071, false}, {1125, true}};
    for (const auto& c : checks) {
        EXPECT_EQ(check(c.id)->isChecked(), c.checked) << c.id;
    }
    for (int id : {2208, 2209, 1125}) {
        EXPECT_TRUE(byId<QWidget>(page.get(), id)->isHidden()) << id;
    }
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(CommunicationPageTest, StoringUneditedControlsLeavesTheRecordAsItWas) {
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

TEST_F(CommunicationPageTest, StoresEditedControlsIntoTheirFieldsOnly) {
    const ParameterSet before = set;
    open();
    edit(2201)->setText(QStringLiteral("apn"));
    edit(2205)->setText(QStringLiteral("8.8.8.8"));
    list(1038)->setCurrentIndex(2);
    edit(2206)->setText(QStringLiteral("10.1.2.3"));
    edit(2207)->setText(QStringLiteral("1024"));
    edit(2208)->setText(QStringLiteral("backup"));
    edit(2209)->setText(QStringLiteral("65535"));
    edit(2212)->setText(QStringLiteral("3600"));
    edit(2215)->setText(QStringLiteral("200"));
    edit(1012)->setText(QStringLiteral("255"));
    edit(2210)->setText(QStringLiteral("555"));
    check(1126)->setChecked(true);
    check(1072)->setChecked(false);
    check(1068)->setChecked(true);
    check(1125)->setChecked(true);
    page->StoreValues();

    EXPECT_TRUE(prompter.messages.empty());
    using Bytes = std::vector<unsigned char>;
    EXPECT_EQ(readText(set, "D1"), "apn");
    EXPECT_EQ(readText(set, "D5"), "8.8.8.8");
    EXPECT_EQ(test::fieldBytes(set, "D8"), (Bytes{16}));
    EXPECT_EQ(readText(set, "E0"), "10.1.2.3");
    EXPECT_EQ(test::fieldBytes(set, "E1"), (Bytes{0x00, 0x04}));
    EXPECT_EQ(readText(set, "E2"), "backup");
    EXPECT_EQ(test::fieldBytes(set, "E3"), (Bytes{0xff, 0xff}));
    EXPECT_EQ(test::fieldBytes(set, "E4"), (Bytes{0x10, 0x0e}));
    EXPECT_EQ(test::fieldBytes(set, "EA"), (Bytes{200}));
    EXPECT_EQ(test::fieldBytes(set, "A2"), (Bytes{255}));
    EXPECT_EQ(readText(set, "F0"), "555");
    EXPECT_EQ(test::fieldBytes(set, "F2"), (Bytes{0}));
    const uint32_t flags = set.record.Flags;
    EXPECT_EQ(flags & (Flag::E6 | Flag::A1 | Flag::OR), Flag::E6 | Flag::A1 | Flag::OR);
    const auto allowed = test::bytesOf(
        {"D1", "D5", "D8", "E0", "E1", "E2", "E3", "E4", "EA", "A2", "F0", "F2", "E6"});
    for (std::size_t offset : changedBytes(before.record, set.record)) {
        EXPECT_TRUE(allowed.count(offset)) << "byte " << offset << " changed";
    }
}

TEST_F(CommunicationPageTest, GprsModeListMapsTwoFourAndSixteen) {
    const struct {
        int value;
        const char* shown;
    } cases[] = {{2, "TCP"}, {4, "UDP"}, {16, "HTTP"}};
    for (const auto& c : cases) {
        writeNumber(set, "D8", c.value);
        open();
        EXPECT_EQ(list(1038)->currentText(), QString::fromLatin1(c.shown));
        page->StoreValues();
        EXPECT_EQ(readNumber(set, "D8"), c.value);
    }
    // A value without an item shows none and survives a store, even after the list showed
    // another mode; choosing a mode writes it.
    for (int value : {3, 0, 0x12}) {
        writeNumber(set, "D8", 4);
        open();
        writeNumber(set, "D8", value);
        page->LoadValues();
        EXPECT_EQ(list(1038)->currentIndex(), -1) << value;
        page->StoreValues();
        EXPECT_EQ(readNumber(set, "D8"), value);
    }
    list(1038)->setCurrentIndex(0);
    page->StoreValues();
    EXPECT_EQ(readNumber(set, "D8"), 2);
}

TEST_F(CommunicationPageTest, AFieldThatIsNotANumberEndsTheStore) {
    open();
    edit(2201)->setText(QStringLiteral("BEFORE"));
    edit(2212)->setText(QString());
    edit(2215)->setText(QStringLiteral("9"));
    edit(2210)->setText(QStringLiteral("AFTER"));
    templates()->setCurrentIndex(3);
    templateEdit()->setText(QStringLiteral("being typed"));
    const StoreResult stored = page->StoreValues();
    EXPECT_FALSE(stored.ok);
    EXPECT_EQ(stored.field, QStringLiteral("E4"));
    EXPECT_EQ(messages(), std::vector<std::string>{"Enter a positive integer."});
    EXPECT_EQ(readText(set, "D1"), "BEFORE");
    EXPECT_EQ(readNumber(set, "E4"), 0);
    EXPECT_EQ(readNumber(set, "EA"), 2);
    EXPECT_EQ(readText(set, "F0"), "");
    // The user goes on editing: the template editor is not reset to the first template.
    EXPECT_EQ(templates()->currentIndex(), 3);
    EXPECT_EQ(templateEdit()->text(), QStringLiteral("being typed"));
}

class CommunicationPageTyping : public CommunicationPageTest,
                                public ::testing::WithParamInterface<TypingCase> {};

TEST_P(CommunicationPageTyping, RefusedTextGoesBackToTheTextBeforeTheFocus) {
    const TypingCase& c = GetParam();
    openActive();
    typeInto(c.id, QString::fromLatin1(c.keys));
    if (c.leave) {
        leaveTo(c.id == 2213 ? 2207 : 2213);
    }
    EXPECT_EQ(text(c.id), QString::fromLatin1(c.text)) << c.keys;
    EXPECT_EQ(messages(), test::oneMessage(c.message)) << c.keys;
}

INSTANTIATE_TEST_SUITE_P(
    Fields, CommunicationPageTyping,
    ::testing::Values(
        TypingCase{2207, "80", "80", "", true}, TypingCase{2207, "0", "0", "", true},
        TypingCase{2207, "1024", "1024", "", true}, TypingCase{2207, "65535", "65535", "", true},
        TypingCase{2207, "81", "80", "(E1)Please enter an integer between 1024 and 65535", true},
        TypingCase{2207, "1023", "80", "(E1)Please enter an integer between 1024 and 65535", true},
        TypingCase{2207, "65536", "80", "(E1)Please enter an integer between 0 and 65535"},
        TypingCase{2212, "30", "0", "(E4)Please enter an integer between 60 and 65535", true},
        TypingCase{2212, "0", "0", "", true}, TypingCase{2212, "60", "60", "", true},
        TypingCase{2212, "65536", "0", "(E4)Please enter an integer between 60 and 65535"},
        TypingCase{2213, "65536", "60", "(E5)Please enter an integer between 0 and 65535"},
        TypingCase{2213, "0", "0", "", true},
        TypingCase{2214, "1", "30", "(E7)Please enter an integer between 2 and 65535", true},
        TypingCase{2214, "0", "30", "(E7)Please enter an integer between 2 and 65535", true},
        TypingCase{2214, "70000", "30", "(E7)Please enter an integer between 2 and 65535"},
        TypingCase{2215, "256", "2", "(EA)Please enter an integer between 2 and 255"},
        TypingCase{2215, "1", "2", "(EA)Please enter an integer between 2 and 255", true},
        TypingCase{2215, "255", "255", "", true},
        TypingCase{1012, "0", "5", "(A2)Please enter an integer between 1 and 255", true},
        TypingCase{1012, "256", "5", "(A2)Please enter an integer between 1 and 255"},
        TypingCase{1012, "10", "10", "", true}),
    [](const auto& info) { return typingCaseName(info.param); });

TEST_F(CommunicationPageTest, PastedLettersAreRefusedLikeTyped) {
    openActive();
    edit(2207)->setFocus(Qt::TabFocusReason);
    edit(2207)->insert(QStringLiteral("8o"));
    EXPECT_EQ(text(2207), QStringLiteral("80"));
    EXPECT_EQ(messages(), std::vector<std::string>{"(E1)Please enter a positive integer."});
}

TEST_F(CommunicationPageTest, TextFieldsHoldTheirLengths) {
    open();
    const struct {
        int id;
        int length;
    } fields[] = {{2201, 31}, {2202, 31}, {2203, 31}, {2204, 31},
                  {2205, 31}, {2206, 31}, {2208, 31}, {2210, 19}};
    for (const auto& f : fields) {
        EXPECT_EQ(edit(f.id)->maxLength(), f.length) << f.id;
    }
}

TEST_F(CommunicationPageTest, TheListNamesEveryTemplateAndShowsTheSelectedOne) {
    open();
    ASSERT_EQ(templates()->count(), 36);
    EXPECT_EQ(templates()->itemText(0), QStringLiteral("BA"));
    EXPECT_EQ(templates()->itemText(16), QStringLiteral("BQ"));
    EXPECT_EQ(templates()->itemText(17), QStringLiteral("BR"));
    EXPECT_EQ(templates()->itemText(24), QStringLiteral("BY"));
    EXPECT_EQ(templates()->itemText(25), QStringLiteral("Ba"));
    EXPECT_EQ(templates()->itemText(35), QStringLiteral("Bk"));
    EXPECT_EQ(templates()->currentIndex(), 0);
    EXPECT_EQ(templateEdit()->text(),
              QStringLiteral("00Ping report$+IMEI:$S$+Time:$C$+GPS $A$+$6,$1$+Speed:$IK/H$+IO:$Y"));
    templates()->setCurrentIndex(17);
    EXPECT_EQ(
        templateEdit()->text(),
        QStringLiteral("00Counter 0:$e$+IMEI:$S$+Time:$C$+GPS $A$+$6,$1$+Speed:$IK/H$+IO:$Y"));
    templates()->setCurrentIndex(35);
    EXPECT_EQ(templateEdit()->text().left(15), QStringLiteral("00Parking alarm"));
}

TEST_F(CommunicationPageTest, SetWritesOnlyTheSelectedTemplate) {
    openActive();
    const EventTexts before = set.eventTexts;
    const QString long120 = QString(60, QLatin1Char('x')) + QString(60, QLatin1Char('y'));
    const struct {
        int index;
        QString typed;
        std::string stored;
    } cases[] = {
        {17, QStringLiteral("00Counter!$S"), "00Counter!$S"},
        {3, long120, std::string(60, 'x') + std::string(35, 'y')},
        {35, QStringLiteral("say \"hi\" \"now\""), "say hi now"},
        {25, QString(), ""},
        {24, QStringLiteral("caf\u00e9"), "caf\xe9"},
    };
    for (const auto& c : cases) {
        templates()->setCurrentIndex(c.index);
        templateEdit()->setText(c.typed);
        pressSet();
        EXPECT_EQ(eventText(c.index), c.stored) << c.index;
    }
    for (int row = 0; row < EventTexts::kCount; ++row) {
        if (row != 17 && row != 3 && row != 35 && row != 25 && row != 24) {
            EXPECT_STREQ(set.eventTexts.row(row), before.row(row)) << row;
        }
    }
    // StoreValues leaves the table alone and shows the first template again.
    templates()->setCurrentIndex(3);
    templateEdit()->setText(QStringLiteral("not set"));
    page->StoreValues();
    EXPECT_EQ(eventText(3), std::string(60, 'x') + std::string(35, 'y'));
    EXPECT_EQ(templates()->currentIndex(), 0);
    EXPECT_EQ(templateEdit()->text().toStdString(), eventText(0));
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(CommunicationPageTest, TemplatesAreShownWithoutDoubleQuotes) {
    open();
    std::strcpy(set.eventTexts.row(1), "00\"Emergency\"!$S");
    templates()->setCurrentIndex(1);
    EXPECT_EQ(templateEdit()->text(), QStringLiteral("00Emergency!$S"));
    EXPECT_EQ(eventText(1), "00\"Emergency\"!$S");  // shown only: the table is unchanged
    pressSet();
    EXPECT_EQ(eventText(1), "00Emergency!$S");
}

TEST_F(CommunicationPageTest, DefaultsFillTheTableOnTheFirstOpeningOnly) {
    for (int row = 0; row < EventTexts::kCount; ++row) {
        std::strcpy(set.eventTexts.row(row), "loaded");
    }
    // First opening in the run: the built-in templates.
    open();
    for (int row = 0; row < EventTexts::kCount; ++row) {
        EXPECT_EQ(eventText(row), std::string(defaultEventText(row))) << row;
    }
    templates()->setCurrentIndex(17);
    templateEdit()->setText(QStringLiteral("00Counter zero"));
    pressSet();
    page->closePage();

    // A later opening keeps what "Set" wrote and what a load brought.
    std::strcpy(set.eventTexts.row(30), "00From the tracker");
    open();
    EXPECT_EQ(registry.openCount[kCommunicationPage], 2);
    EXPECT_EQ(eventText(17), "00Counter zero");
    EXPECT_EQ(eventText(30), "00From the tracker");
    EXPECT_EQ(eventText(0), std::string(defaultEventText(0)));
    templates()->setCurrentIndex(17);
    EXPECT_EQ(templateEdit()->text(), QStringLiteral("00Counter zero"));
}

TEST_F(CommunicationPageTest, ALoadShowsTheFirstTemplateOfTheNewTable) {
    open();
    templates()->setCurrentIndex(5);
    std::strcpy(set.eventTexts.row(0), "00Reloaded");
    page->LoadValues();
    EXPECT_EQ(templates()->currentIndex(), 0);
    EXPECT_EQ(templateEdit()->text(), QStringLiteral("00Reloaded"));
}

TEST_F(CommunicationPageTest, FitsTheWindowAt1024By768) {
    test::expectFitsThePageBand(open());
}

}  // namespace
}  // namespace qn470
