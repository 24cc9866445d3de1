// SPDX-License-Identifier: Apache-2.0
// The Communication page: its table of shared scenarios (the hidden second host and OR included,
// ports and intervals checked when left), and what is its own: the GPRS mode list across reloads,
// the refused store, and the SMS template table across openings.

#include <QPushButton>
#include <cstring>

#include "page_scenarios.h"
#include "pages/communication_page.h"

namespace qn470 {
namespace {

using namespace test;

const PageTable kPage{"Communication", makePage<CCommunicationPage>, 2213, 2207};

const LoadRow kLoads[] = {
    {"D1", "internet.example", 2201, "internet.example"},
    {"D2", "user", 2202, "user"},
    {"D3", "pass\xe9", 2203, "pass\xe9", {}, "D3_latin1_text"},
    {"D4", "10.0.0.1", 2204, "10.0.0.1"},
    {"D5", "10.0.0.2", 2205, "10.0.0.2"},
    {"D8", 2, 1038, "TCP"},
    {"D8", 4, 1038, "UDP"},
    {"D8", 16, 1038, "HTTP"},
    // A value without an item shows none and survives a store.
    {"D8", 3, 1038, kNoItem},
    {"D8", 0, 1038, kNoItem, {}, "D8_0_no_item"},
    {"D8", 0x12, 1038, kNoItem, {}, "D8_18_no_item"},
    {"E0", "host-one.example", 2206, "host-one.example"},
    {"E1", 65535, 2207, "65535"},
    {"E2", "host-two.example", 2208, "host-two.example"},
    {"E3", 8080, 2209, "8080"},
    {"E4", 60, 2212, "60"},
    {"E5", 0, 2213, "0"},
    {"E6", 1, 1126, kChecked},
    {"E7", 2, 2214, "2"},
    {"EA", 255, 2215, "255"},
    {"F0", "+1234567890123456789", 2210, "+123456789012345678"},
    {"F2", 0, 1072, kUnchecked},
    {"A0", 0, 1067, kUnchecked},
    {"A1", 1, 1068, kChecked},
    {"A2", 1, 1012, "1"},
    {"A3", 1, 1069, kChecked},
    {"A4", 0, 1070, kUnchecked},
    {"A5", 0, 1071, kUnchecked},
    {"OR", 1, 1125, kChecked},
};

const StoreRow kStores[] = {
    {2201, "apn", "D1", "apn"},
    {2205, "8.8.8.8", "D5", "8.8.8.8"},
    {1038, "HTTP", "D8", Bytes{"10"}},
    {1038, "TCP", "D8", 2},
    {2206, "10.1.2.3", "E0", "10.1.2.3"},
    {2207, "1024", "E1", Bytes{"00 04"}},
    {2208, "backup", "E2", "backup"},
    {2209, "65535", "E3", Bytes{"ff ff"}},
    {2212, "3600", "E4", Bytes{"10 0e"}},
    {2215, "200", "EA", Bytes{"c8"}},
    {1012, "255", "A2", Bytes{"ff"}},
    {2210, "555", "F0", "555"},
    {1072, kUnchecked, "F2", Bytes{"00"}},
    {1126, kChecked, "E6", 1},
    {1068, kChecked, "A1", 1},
    {1125, kChecked, "OR", 1},
};

// A refused text goes back to the text before the focus.
const TypingRow kTyping[] = {
    {2207, Input::Left, "80", "80", ""},
    {2207, Input::Left, "0", "0", ""},
    {2207, Input::Left, "1024", "1024", ""},
    {2207, Input::Left, "65535", "65535", ""},
    {2207, Input::Left, "81", "80", "(E1)Please enter an integer between 1024 and 65535"},
    {2207, Input::Left, "1023", "80", "(E1)Please enter an integer between 1024 and 65535"},
    {2207, Input::Typed, "65536", "80", "(E1)Please enter an integer between 0 and 65535"},
    {2207, Input::Pasted, "8o", "80", "(E1)Please enter a positive integer."},
    {2212, Input::Left, "30", "0", "(E4)Please enter an integer between 60 and 65535"},
    {2212, Input::Left, "0", "0", ""},
    {2212, Input::Left, "60", "60", ""},
    {2212, Input::Typed, "65536", "0", "(E4)Please enter an integer between 60 and 65535"},
    {2213, Input::Typed, "65536", "60", "(E5)Please enter an integer between 0 and 65535"},
    {2213, Input::Left, "0", "0", ""},
    {2214, Input::Left, "1", "30", "(E7)Please enter an integer between 2 and 65535"},
    {2214, Input::Left, "0", "30", "(E7)Please enter an integer between 2 and 65535"},
    {2214, Input::Typed, "70000", "30", "(E7)Please enter an integer between 2 and 65535"},
    {2215, Input::Typed, "256", "2", "(EA)Please enter an integer between 2 and 255"},
    {2215, Input::Left, "1", "2", "(EA)Please enter an integer between 2 and 255"},
    {2215, Input::Left, "255", "255", ""},
    {1012, Input::Left, "0", "5", "(A2)Please enter an integer between 1 and 255"},
    {1012, Input::Typed, "256", "5", "(A2)Please enter an integer between 1 and 255"},
    {1012, Input::Left, "10", "10", ""},
};

const ControlRow kControls[] = {
    {2201, nullptr, nullptr, nullptr, 31}, {2202, nullptr, nullptr, nullptr, 31},
    {2203, nullptr, nullptr, nullptr, 31}, {2204, nullptr, nullptr, nullptr, 31},
    {2205, nullptr, nullptr, nullptr, 31}, {2206, nullptr, nullptr, nullptr, 31},
    {2208, nullptr, nullptr, nullptr, 31}, {2210, nullptr, nullptr, nullptr, 19},
};

INSTANTIATE_TEST_SUITE_P(Communication, LoadAndStore, ::testing::ValuesIn(cases(kPage, kLoads)),
                         CaseName{});
INSTANTIATE_TEST_SUITE_P(Communication, Store, ::testing::ValuesIn(cases(kPage, kStores)),
                         CaseName{});
INSTANTIATE_TEST_SUITE_P(Communication, Typing, ::testing::ValuesIn(cases(kPage, kTyping)),
                         CaseName{});
INSTANTIATE_TEST_SUITE_P(Communication, Controls, ::testing::ValuesIn(cases(kPage, kControls)),
                         CaseName{});
INSTANTIATE_TEST_SUITE_P(Communication, WholePage, ::testing::Values(&kPage), PageName{});

class CommunicationPageTest : public PageFixture<CCommunicationPage> {
protected:
    QComboBox* templates() const { return list(CCommunicationPage::kTemplateList); }
    QLineEdit* templateEdit() const { return edit(CCommunicationPage::kTemplateEdit); }
    void pressSet() { click(byId<QPushButton>(page.get(), CCommunicationPage::kSet)); }
    std::string eventText(int row) const { return set.eventTexts.row(row); }
};

TEST_F(CommunicationPageTest, TheSecondHostAndOrAreHidden) {
    open();
    for (int id : {2208, 2209, 1125}) {
        EXPECT_TRUE(byId<QWidget>(page.get(), id)->isHidden()) << id;
    }
}

TEST_F(CommunicationPageTest, AGprsModeWithoutAnItemSurvivesAReloadAfterAnother) {
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
    EXPECT_EQ(templateEdit()->text(), QStringLiteral("00Ping report$+IMEI:$S$+Time:$C$+GPS "
                                                     "$A$+$6,$1$+Speed:$IK/H$+IO:$Y"));
    templates()->setCurrentIndex(17);
    EXPECT_EQ(templateEdit()->text(), QStringLiteral("00Counter 0:$e$+IMEI:$S$+Time:$C$+GPS "
                                                     "$A$+$6,$1$+Speed:$IK/H$+IO:$Y"));
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
    EXPECT_EQ(eventText(1),
              "00\"Emergency\"!$S");  // shown only: the table is unchanged
    pressSet();
    EXPECT_EQ(eventText(1), "00Emergency!$S");
}

TEST_F(CommunicationPageTest, OpeningKeepsTheTemplatesTheRecordHolds) {
    // What a profile or the tracker brought before the page was ever opened stays.
    for (int row = 0; row < EventTexts::kCount; ++row) {
        std::strcpy(set.eventTexts.row(row), ("00Loaded " + std::to_string(row)).c_str());
    }
    open();
    EXPECT_EQ(templateEdit()->text(), QStringLiteral("00Loaded 0"));
    templates()->setCurrentIndex(17);
    templateEdit()->setText(QStringLiteral("00Counter zero"));
    pressSet();
    page->closePage();

    // A later opening keeps what "Set" wrote and what a load brought.
    std::strcpy(set.eventTexts.row(30), "00From the tracker");
    open();
    EXPECT_EQ(registry.openCount[kCommunicationPage], 2);
    for (int row = 0; row < EventTexts::kCount; ++row) {
        const std::string expected = row == 17   ? "00Counter zero"
                                     : row == 30 ? "00From the tracker"
                                                 : "00Loaded " + std::to_string(row);
        EXPECT_EQ(eventText(row), expected) << row;
    }
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

}  // namespace
}  // namespace qn470
