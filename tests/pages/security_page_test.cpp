// SPDX-License-Identifier: Apache-2.0
// The Security page: its table of shared scenarios (filled at opening whatever the load flags say),
// and what is its own: later loads, the store refused with each field's own message, the report
// media dialog.

#include <QRadioButton>

#include "page_scenarios.h"
#include "pages/media_choice_dialog.h"
#include "pages/security_page.h"

namespace qn470 {
namespace {

using namespace test;

const PageTable kPage{"Security", makePage<CSecurityPage>, 2308, 2309, nullptr, true};

const LoadRow kLoads[] = {
    {"G0", "+1111111111111111111", 2301, "+111111111111111111"},  // the field keeps 19
    {"G1", "222", 2302, "222"},
    {"G2", {}, 2303, ""},
    {"G5", "666\xe9", 2306, "666\xe9", {}, "G5_latin1_text"},
    {"H0", 0x0a, 1097, "0a"},
    {"H1", 65535, 2308, "65535"},
    {"H2", 3, 2309, "3"},
    {"H3", 255, 1191, "255"},
    {"V0", 1, 1023, kChecked},
    {"V4", "444", 2311, "444"},
    {"V8", "888", 2313, "888"},
    {"V9", "999", 2314, "999"},
    {"V5", 10, 2312, "10"},
    {"V6", 1, 1115, kChecked},
};

const StoreRow kStores[] = {
    {2301, "0123456789012345678", "G0", "0123456789012345678"},
    {2305, "55", "G4", "55"},
    {1097, "81", "H0", Bytes{"81"}},
    {1097, "a1", "H0", 0xa1},
    {2308, "258", "H1", Bytes{"02 01"}},
    {2309, "65535", "H2", Bytes{"ff ff"}},
    {1191, "200", "H3", Bytes{"c8"}},
    {1023, kChecked, "V0", 1},
    {2313, "+4400", "V8", "+4400"},
    {2312, "600", "V5", Bytes{"58 02"}},
    {1115, kChecked, "V6", 1},
};

// A refused text goes back to the text before the focus.
const TypingRow kTyping[] = {
    {2308, Input::Left, "0", "1", "(H1)Please enter an integer between 1 and 65535"},
    {2308, Input::Typed, "65536", "1", "(H1)Please enter an integer between 1 and 65535"},
    {2308, Input::Left, "65535", "65535", ""},
    {2309, Input::Left, "2", "30", "(H2)Please enter an integer between 3 and 65535"},
    {2309, Input::Left, "3", "3", ""},
    {2309, Input::Typed, "65536", "30", "(H2)Please enter an integer between 3 and 65535"},
    {1191, Input::Left, "255", "255", ""},
    {1191, Input::Typed, "256", "0", "(H3)Please enter an integer between 0 and 255"},
    {2312, Input::Left, "9", "120", "(V5)Please enter an integer between 10 and 65535"},
    {2312, Input::Left, "10", "10", ""},
    {2312, Input::Typed, "65536", "120", "(V5)Please enter an integer between 10 and 65535"},
    {2301, Input::Typed, "+12345678901234567890", "+123456789012345678", ""},
    {2311, Input::Typed, "12345678901234567890", "1234567890123456789", ""},
};

const ChoiceRow kChoices[] = {
    {1097, "Choice Report Media", "a1", {CMedia_Choice::kComPort, CMedia_Choice::kFormat1}},
};

INSTANTIATE_TEST_SUITE_P(Security, LoadAndStore, ::testing::ValuesIn(cases(kPage, kLoads)),
                         CaseName{});
INSTANTIATE_TEST_SUITE_P(Security, Store, ::testing::ValuesIn(cases(kPage, kStores)), CaseName{});
INSTANTIATE_TEST_SUITE_P(Security, Typing, ::testing::ValuesIn(cases(kPage, kTyping)), CaseName{});
INSTANTIATE_TEST_SUITE_P(Security, Choice, ::testing::ValuesIn(cases(kPage, kChoices)), CaseName{});
INSTANTIATE_TEST_SUITE_P(Security, WholePage, ::testing::Values(&kPage), PageName{});

using SecurityPageTest = PageFixture<CSecurityPage>;

TEST_F(SecurityPageTest, LaterLoadsFollowTheLoadFlags) {
    registry = PageRegistry{};
    open();
    writeText(set, "G0", "NEW");
    page->LoadValues();
    EXPECT_EQ(text(2301), QString());
    registry.setLoadedFromProfile();
    page->LoadValues();
    EXPECT_EQ(text(2301), QStringLiteral("NEW"));
}

TEST_F(SecurityPageTest, AFieldThatIsNotANumberEndsTheStoreWithItsStandardMessage) {
    const struct {
        int id;
        const char* text;
        const char* message;
    } cases[] = {
        {1191, "", "Enter an integer between 0 and 255."},
        {1191, "256", "Enter an integer between 0 and 255."},
        {2308, "", "Enter a positive integer."},
        {2309, " ", "Enter a positive integer."},
    };
    for (const auto& c : cases) {
        writeNumber(set, "H3", 7);
        writeNumber(set, "V5", 120);
        writeText(set, "V4", "");
        open();
        prompter.messages.clear();
        edit(2301)->setText(QStringLiteral("BEFORE"));
        {
            const QSignalBlocker quiet(edit(c.id));  // a text typing could not give
            edit(c.id)->setText(QString::fromLatin1(c.text));
        }
        edit(2311)->setText(QStringLiteral("AFTER"));
        page->StoreValues();
        EXPECT_EQ(messages(), std::vector<std::string>{c.message}) << c.id << c.text;
        EXPECT_EQ(readText(set, "G0"), "BEFORE");
        EXPECT_EQ(readNumber(set, "H3"), 7);
        EXPECT_EQ(readText(set, "V4"), "");
        EXPECT_EQ(readNumber(set, "V5"), 120);
    }
}

TEST_F(SecurityPageTest, TheMediaDialogStartsFromTheFieldsText) {
    openActive();
    bool sms = false;
    bool http = false;
    choices.script = [&](QDialog& dialog) {
        EXPECT_NE(qobject_cast<CMedia_Choice*>(&dialog), nullptr);
        sms = byId<QCheckBox>(&dialog, CMedia_Choice::kSms)->isChecked();
        http = byId<QRadioButton>(&dialog, CMedia_Choice::kHttp)->isChecked();
        return static_cast<int>(QDialog::Rejected);
    };
    edit(1097)->setFocus(Qt::MouseFocusReason);
    settle();
    EXPECT_TRUE(sms);  // 11: SMS and HTTP
    EXPECT_TRUE(http);
}

}  // namespace
}  // namespace qn470
