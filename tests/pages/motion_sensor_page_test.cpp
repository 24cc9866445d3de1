// SPDX-License-Identifier: Apache-2.0
// The Motion Sensor page: its table of shared scenarios (32-bit and 16-bit fields, 0 allowed where
// a least value is asked for when the field is left), and the refused store.

#include "pages/motion_sensor_page.h"
#include "page_scenarios.h"
#include "pages/media_choice_dialog.h"

namespace qn470 {
namespace {

using namespace test;

const PageTable kPage{"MotionSensor", makePage<CSensor>, 1056, 1160};

const LoadRow kLoads[] = {
    {"Ra", 4294967294, 1160, "4294967294"},
    {"Ri", 3, 1159, "3"},
    {"Ro", 50, 1164, "50"},
    {"Rp", 65535, 1102, "65535"},
    {"Rw", 30, 1051, "30"},
    {"Rx", 3, 1049, "3"},
    {"Ry", 0, 1052, "0"},
    {"Rz", 1, 1056, "1"},
    {"Rb", 0x00, 1156, "00"},
    {"Rj", 0x0f, 1161, "0f"},
    {"Rs", 0xa2, 1157, "a2"},
    {"Rt", 0xff, 1158, "ff"},
    {"Rc", "84", 1148, "84"},
    {"Rk", "8c8d8e8f00", 1145, "8c8d8e8f00"},
    {"Ru", "", 1162, ""},
    {"Rv", "4b", 1163, "4b"},
    {"Rd", 1, 1198, kChecked},
    {"Re", 1, 1074, kChecked},
    {"Rf", 1, 1075, kChecked},
    {"Rl", 0, 1197, kUnchecked},
    {"Rn", 1, 1076, kChecked},
    // The tracker's top, though typing stops below it.
    {"Ri", 4294967295, 1159, "4294967295"},
};

// Full 32-bit and low 16-bit values, little-endian.
const StoreRow kStores[] = {
    {1160, "4294967294", "Ra", Bytes{"fe ff ff ff"}},
    {1164, "65536", "Ro", Bytes{"00 00 01 00"}},
    {1102, "65535", "Rp", Bytes{"ff ff"}},
    {1056, "258", "Rz", Bytes{"02 01"}},
    {1056, "10", "Rz", 10},
    {1157, "9z", "Rs", Bytes{"90"}},  // z counts as 0
    {1163, "a8a9", "Rv", "a8a9"},
    {1156, "02", "Rb", 0x02},
    {1148, "4000000000", "Rc", "4000000000"},
    {1198, kChecked, "Rd", 1},
    {1197, kUnchecked, "Rl", 0},
};

// A refused text goes back to the text before the focus.
const TypingRow kTyping[] = {
    {1160, Input::Left, "0", "0", ""},
    {1160, Input::Left, "3", "3", ""},
    {1160, Input::Left, "2", "3600", "(Ra)Please enter an integer between 3 and 4294967295"},
    {1160, Input::Left, "4294967294", "4294967294", ""},
    {1160, Input::Typed, "4294967296", "3600",
     "(Ra)Please enter an integer between 3 and 4294967295"},
    {1160, Input::Typed, "00000000001", "3600",
     "(Ra)Please enter an integer between 3 and 4294967295"},
    {1159, Input::Left, "1", "30", "(Ri)Please enter an integer between 3 and 4294967295"},
    {1159, Input::Typed, "9999999999", "30",
     "(Ri)Please enter an integer between 3 and 4294967295"},
    {1164, Input::Typed, "4294967296", "0",
     "(Ro)Please enter an integer between 50 and 4294967295"},
    {1164, Input::Left, "4294967294", "4294967294", ""},
    {1164, Input::Left, "49", "0", "(Ro)Please enter an integer between 50 and 4294967295"},
    {1102, Input::Left, "49", "0", "(Rp)Please enter an integer between 50 and 65535"},
    {1102, Input::Left, "0", "0", ""},
    {1102, Input::Left, "50", "50", ""},
    {1102, Input::Typed, "65536", "0", "(Rp)Please enter an integer between 50 and 65535"},
    {1051, Input::Left, "29", "0", "(Rw)Please enter an integer between 30 and 65535"},
    {1051, Input::Left, "30", "30", ""},
    {1049, Input::Left, "2", "0", "(Rx)Please enter an integer between 3 and 65535"},
    {1049, Input::Left, "65535", "65535", ""},
    {1052, Input::Left, "1", "0", "(Ry)Please enter an integer between 3 and 65535"},
    {1052, Input::Left, "0", "0", ""},
    {1056, Input::Typed, "65536", "5", "(Rz)Please enter an integer between 0 and 65535"},
    {1056, Input::Left, "0", "0", ""},
    {1056, Input::Left, "65535", "65535", ""},
};

constexpr std::array<int, 3> kTcp = {CMedia_Choice::kTcp};
constexpr std::array<int, 3> kClear = {1162};  // "Clear (40)"
const ChoiceRow kChoices[] = {
    {1156, "Choice Report Media", "02", kTcp},      {1161, "Choice Report Media", "02", kTcp},
    {1157, "Choice Report Media", "02", kTcp},      {1158, "Choice Report Media", "02", kTcp},
    {1148, "Choice Actions", "4000000000", kClear}, {1145, "Choice Actions", "4000000000", kClear},
    {1162, "Choice Actions", "4000000000", kClear}, {1163, "Choice Actions", "4000000000", kClear},
};

const ControlRow kControls[] = {
    {1148, nullptr, nullptr, nullptr, 10},
    {1145, nullptr, nullptr, nullptr, 10},
    {1162, nullptr, nullptr, nullptr, 10},
    {1163, nullptr, nullptr, nullptr, 10},
};

INSTANTIATE_TEST_SUITE_P(MotionSensor, LoadAndStore, ::testing::ValuesIn(cases(kPage, kLoads)),
                         CaseName{});
INSTANTIATE_TEST_SUITE_P(MotionSensor, Store, ::testing::ValuesIn(cases(kPage, kStores)),
                         CaseName{});
INSTANTIATE_TEST_SUITE_P(MotionSensor, Typing, ::testing::ValuesIn(cases(kPage, kTyping)),
                         CaseName{});
INSTANTIATE_TEST_SUITE_P(MotionSensor, Choice, ::testing::ValuesIn(cases(kPage, kChoices)),
                         CaseName{});
INSTANTIATE_TEST_SUITE_P(MotionSensor, Controls, ::testing::ValuesIn(cases(kPage, kControls)),
                         CaseName{});
INSTANTIATE_TEST_SUITE_P(MotionSensor, WholePage, ::testing::Values(&kPage), PageName{});

using MotionSensorPageTest = PageFixture<CSensor>;

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

}  // namespace
}  // namespace qn470
