// The Serial Port page through its real widgets: the lists and their record values (stop bits
// kept as text), what it stores, and the media and action dialogs of its choice fields.

#include <gtest/gtest.h>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include "page_fixture.h"
#include "pages/action_dialog.h"
#include "pages/media_choice_dialog.h"
#include "pages/serial_port_page.h"
#include "support/case_name.h"

namespace qn470 {
namespace {

using test::byId;

enum Id : int {
    kS0 = 1229,
    kS1 = 1226,
    kS2 = 1039,
    kS3 = CSerialPort::kStopBits,
    kS4 = 1230,
    kS5 = 1227,
    kS6 = 1228,
};

using SerialPortPageTest = test::PageFixture<CSerialPort>;

TEST_F(SerialPortPageTest, ShowsTheRecordInItsControls) {
    writeNumber(set, "S0", 4294967295);
    writeNumber(set, "S1", 1);
    writeNumber(set, "S2", 2);
    writeText(set, "S3", "2");
    writeNumber(set, "S4", 1);
    writeNumber(set, "S5", 0x05);
    writeText(set, "S6", "84a1000000");
    open();
    EXPECT_EQ(text(kS0), QStringLiteral("4294967295"));
    EXPECT_EQ(list(kS1)->currentText(), QStringLiteral("9"));
    EXPECT_EQ(list(kS2)->currentText(), QStringLiteral("Odd"));
    EXPECT_EQ(list(kS3)->currentText(), QStringLiteral("2"));
    EXPECT_TRUE(check(kS4)->isChecked());
    EXPECT_EQ(text(kS5), QStringLiteral("05"));
    EXPECT_EQ(text(kS6), QStringLiteral("84a1000000"));
}

struct StopBitsCase {
    const char* record;
    const char* shown;   // empty: no item
    const char* stored;  // the record text after storing the page unchanged
};

class SerialPortStopBits : public SerialPortPageTest,
                           public ::testing::WithParamInterface<StopBitsCase> {};

TEST_P(SerialPortStopBits, TheRecordTextSelectsAnItemAndIsStoredBackAsIt) {
    const StopBitsCase& c = GetParam();
    writeText(set, "S3", c.record);
    open();
    EXPECT_EQ(list(kS3)->currentText(), QString::fromLatin1(c.shown)) << c.record;
    EXPECT_EQ(list(kS3)->currentIndex() < 0, *c.shown == '\0');
    page->StoreValues();
    EXPECT_EQ(readText(set, "S3"), c.stored) << c.record;
}

INSTANTIATE_TEST_SUITE_P(Texts, SerialPortStopBits,
                         ::testing::Values(StopBitsCase{"0.5", "1", "1"},
                                           StopBitsCase{"1", "1", "1"}, StopBitsCase{"2", "2", "2"},
                                           // No item: the text the record had is kept.
                                           StopBitsCase{"1.5", "", "1.5"},
                                           StopBitsCase{"000", "", "000"},
                                           StopBitsCase{"", "", ""}),
                         [](const auto& info) {
                             return caseNames({"record", info.param.record});
                         });

TEST_F(SerialPortPageTest, ListsStoreTheChosenItem) {
    open();
    // The defaults (S1 8, S3 "000") have no item and are kept as they are.
    EXPECT_EQ(list(kS1)->currentIndex(), -1);
    EXPECT_EQ(list(kS2)->currentText(), QStringLiteral("None"));
    page->StoreValues();
    EXPECT_EQ(readNumber(set, "S1"), 8);
    EXPECT_EQ(readText(set, "S3"), "000");

    writeNumber(set, "S2", 2);
    open();
    list(kS1)->setCurrentIndex(1);
    list(kS2)->setCurrentIndex(0);
    list(kS3)->setCurrentIndex(1);
    page->StoreValues();
    EXPECT_EQ(readNumber(set, "S1"), 1);
    EXPECT_EQ(readNumber(set, "S2"), 0);
    EXPECT_EQ(test::fieldBytes(set, "S3"), (std::vector<unsigned char>{'2', 0, 0, 0}));
}

TEST_F(SerialPortPageTest, StoresEditedControlsIntoTheirFieldsOnly) {
    const ParameterSet before = set;
    open();
    edit(kS0)->setText(QStringLiteral("9600"));
    check(kS4)->setChecked(true);
    edit(kS5)->setText(QStringLiteral("A3"));  // upper-case digits count as 0
    edit(kS6)->setText(QStringLiteral("84a1a2a3a4a5a8"));
    page->StoreValues();
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(readNumber(set, "S0"), 9600);
    EXPECT_EQ(readNumber(set, "S4"), 1);
    EXPECT_EQ(readNumber(set, "S5"), 0x03);
    EXPECT_EQ(test::fieldBytes(set, "S6"),
              (std::vector<unsigned char>{'8', '4', 'a', '1', 'a', '2', 'a', '3', 'a', '4', 0}));
    for (std::size_t offset : test::changedBytes(before.record, set.record)) {
        EXPECT_TRUE(test::bytesOf({"S0", "S4", "S5", "S6"}).count(offset)) << offset;
    }
}

TEST_F(SerialPortPageTest, ABaudRateThatIsNotANumberIsRefusedOnStore) {
    openActive();
    // The page has no typing checks: letters are dropped, a paste is kept until the store.
    typeInto(kS0, QStringLiteral("96x00"));
    EXPECT_EQ(text(kS0), QStringLiteral("9600"));
    edit(kS0)->insert(QStringLiteral("b"));
    EXPECT_TRUE(prompter.messages.empty());
    check(kS4)->setChecked(true);
    edit(kS5)->setText(QStringLiteral("01"));
    list(kS3)->setCurrentIndex(1);
    const StoreResult stored = page->StoreValues();
    EXPECT_FALSE(stored.ok);
    EXPECT_EQ(stored.field, QStringLiteral("S0"));
    EXPECT_EQ(messages(), std::vector<std::string>{"Enter a positive integer."});
    EXPECT_EQ(readNumber(set, "S0"), 115200);
    EXPECT_EQ(readNumber(set, "S5"), 0x10);  // read after S0
    EXPECT_EQ(readNumber(set, "S4"), 1);     // a check box always shows what it stores
    EXPECT_EQ(readText(set, "S3"), "2");     // so does the page's own list
}

TEST_F(SerialPortPageTest, WithoutALoadItShowsTheFirstItemsAndZero) {
    registry = PageRegistry{};
    open();
    EXPECT_EQ(text(kS0), QStringLiteral("0"));
    for (int id : {kS1, kS2, kS3}) {
        EXPECT_EQ(list(id)->currentIndex(), 0) << id;
    }
    EXPECT_TRUE(text(kS5).isEmpty());
}

TEST_F(SerialPortPageTest, MediaAndActionFieldsOpenTheirDialogs) {
    writeNumber(set, "S5", 0x21);
    openActive();
    leaveTo(kS0);
    bool smsChecked = false;
    choices.script = [&](QDialog& dialog) {
        if (qobject_cast<CMedia_Choice*>(&dialog) != nullptr) {
            smsChecked = byId<QCheckBox>(&dialog, CMedia_Choice::kSms)->isChecked();
            test::click(byId<QRadioButton>(&dialog, CMedia_Choice::kFormat1));
            test::click(byId<QPushButton>(&dialog, CMedia_Choice::kApply));
        } else {
            test::click(byId<QRadioButton>(&dialog, 1170));  // "Device (4b)"
            test::click(byId<QPushButton>(&dialog, CAction::kApply));
        }
        return dialog.result();
    };
    edit(kS5)->setFocus(Qt::MouseFocusReason);
    test::settle();
    leaveTo(kS0);
    edit(kS6)->setFocus(Qt::MouseFocusReason);
    test::settle();
    EXPECT_EQ(choices.titles, (std::vector<QString>{QStringLiteral("Choice Report Media"),
                                                    QStringLiteral("Choice Actions")}));
    EXPECT_TRUE(smsChecked);
    EXPECT_EQ(text(kS5), QStringLiteral("a1"));
    EXPECT_EQ(text(kS6), QStringLiteral("4b00000000"));
}

TEST_F(SerialPortPageTest, FitsTheWindowAt1024By768) {
    test::expectFitsThePageBand(open());
}

}  // namespace
}  // namespace qn470
