// SPDX-License-Identifier: Apache-2.0
// The Serial Port page: its table of shared scenarios (the lists and their record values, stop bits
// kept as text), and what is its own: a baud rate refused only by the store.

#include <QRadioButton>

#include "page_scenarios.h"
#include "pages/media_choice_dialog.h"
#include "pages/serial_port_page.h"

namespace qn470 {
namespace {

using namespace test;

enum Id : int {
    kS0 = 1229,
    kS1 = 1226,
    kS2 = 1039,
    kS3 = CSerialPort::kStopBits,
    kS4 = 1230,
    kS5 = 1227,
    kS6 = 1228,
};

void preset(ParameterSet& set) {
    writeNumber(set, "S5", 0x21);
}

// S0 is the one plain field.
const PageTable kPage{"SerialPort", makePage<CSerialPort>, kS0, kS0, preset};

const LoadRow kLoads[] = {
    {"S0", 4294967295, kS0, "4294967295"},
    {"S1", 1, kS1, "9"},
    {"S2", 2, kS2, "Odd"},
    {"S4", 1, kS4, kChecked},
    {"S5", 0x05, kS5, "05"},
    {"S6", "84a1000000", kS6, "84a1000000"},
    // The defaults (S1 8, S3 "000") have no item and are kept as they are.
    {"S1", {}, kS1, kNoItem},
    {"S2", {}, kS2, "None"},
    {"S3", {}, kS3, kNoItem, {}, "S3_default_no_item"},
    // Stop bits: the record text selects an item and is stored back as it; without an item the text
    // the record had is kept.
    {"S3", "0.5", kS3, "1", "1", "S3_0_5"},
    {"S3", "1", kS3, "1", {}, "S3_1"},
    {"S3", "2", kS3, "2", {}, "S3_2"},
    {"S3", "1.5", kS3, kNoItem, {}, "S3_1_5"},
    {"S3", "000", kS3, kNoItem, {}, "S3_000"},
    {"S3", "", kS3, kNoItem, {}, "S3_empty"},
};

const StoreRow kStores[] = {
    {kS0, "9600", "S0", 9600},
    {kS1, "9", "S1", 1},
    {kS2, "Even", "S2", 1},
    {kS3, "2", "S3", Bytes{"32 00 00 00"}},
    {kS4, kChecked, "S4", 1},
    {kS5, "A3", "S5", 0x03, nullptr, "S5_upper_case_counts_as_0"},
    {kS6, "84a1a2a3a4a5a8", "S6", Bytes{"38 34 61 31 61 32 61 33 61 34 00"}, "84a1a2a3a4"},
};

const ChoiceRow kChoices[] = {
    {kS5, "Choice Report Media", "a1", {CMedia_Choice::kFormat1}},
    {kS6, "Choice Actions", "4b00000000", {1170}},  // "Device (4b)"
};

// Without a load: the first items and zero.
const UnloadedRow kUnloaded[] = {
    {kS0, "0"}, {kS1, "8"}, {kS2, "None"}, {kS3, "1"}, {kS5, ""},
};

INSTANTIATE_TEST_SUITE_P(SerialPort, LoadAndStore, ::testing::ValuesIn(cases(kPage, kLoads)),
                         CaseName{});
INSTANTIATE_TEST_SUITE_P(SerialPort, Store, ::testing::ValuesIn(cases(kPage, kStores)), CaseName{});
INSTANTIATE_TEST_SUITE_P(SerialPort, Choice, ::testing::ValuesIn(cases(kPage, kChoices)),
                         CaseName{});
INSTANTIATE_TEST_SUITE_P(SerialPort, Unloaded, ::testing::ValuesIn(cases(kPage, kUnloaded)),
                         CaseName{});
INSTANTIATE_TEST_SUITE_P(SerialPort, WholePage, ::testing::Values(&kPage), PageName{});

using SerialPortPageTest = PageFixture<CSerialPort>;

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
    EXPECT_EQ(readNumber(set, "S4"),
              1);                         // a check box always shows what it stores
    EXPECT_EQ(readText(set, "S3"), "2");  // so does the page's own list
}

TEST_F(SerialPortPageTest, TheMediaDialogStartsFromTheFieldsText) {
    writeNumber(set, "S5", 0x21);
    openActive();
    leaveTo(kS0);
    bool smsChecked = false;
    choices.script = [&](QDialog& dialog) {
        smsChecked = byId<QCheckBox>(&dialog, CMedia_Choice::kSms)->isChecked();
        return static_cast<int>(QDialog::Rejected);
    };
    edit(kS5)->setFocus(Qt::MouseFocusReason);
    settle();
    EXPECT_TRUE(smsChecked);
}

}  // namespace
}  // namespace qn470
