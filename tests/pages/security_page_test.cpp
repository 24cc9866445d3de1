// The Security page through its real widgets: filled at opening whatever the load flags say,
// what it shows and stores, the byte exchange of H3, typing and leaving its fields, and the
// report media dialog.

#include <QPushButton>
#include <QRadioButton>

#include "page_fixture.h"
#include "pages/media_choice_dialog.h"
#include "pages/security_page.h"
#include "support/case_name.h"

namespace qn470 {
namespace {

using test::byId;
using test::changedBytes;
using test::TypingCase;

class SecurityPageTest : public test::PageFixture<CSecurityPage> {};

void fillUnusualRecord(ParameterSet& set) {
    writeText(set, "G0", "+1111111111111111111");  // 20 characters: the field keeps 19
    writeText(set, "G1", "222");
    writeText(set, "G5", "666\xe9");
    writeNumber(set, "H0", 0x0a);
    writeNumber(set, "H1", 65535);
    writeNumber(set, "H2", 3);
    writeNumber(set, "H3", 255);
    writeNumber(set, "V0", 1);
    writeText(set, "V4", "444");
    writeText(set, "V8", "888");
    writeText(set, "V9", "999");
    writeNumber(set, "V5", 10);
    writeNumber(set, "V6", 1);
}

TEST_F(SecurityPageTest, OpeningShowsTheRecordWhateverItCameFrom) {
    for (bool loaded : {true, false}) {
        fillUnusualRecord(set);
        registry = PageRegistry{};
        if (loaded) {
            registry.setLoadedFromDevice();
        }
        open();
        const struct {
            int id;
            const char* text;
        } edits[] = {
            {2301, "+111111111111111111"},
            {2302, "222"},
            {2303, ""},
            {2306, "666\xe9"},
            {1097, "0a"},
            {2308, "65535"},
            {2309, "3"},
            {1191, "255"},
            {2311, "444"},
            {2313, "888"},
            {2314, "999"},
            {2312, "10"},
        };
        for (const auto& e : edits) {
            EXPECT_EQ(text(e.id), QString::fromLatin1(e.text)) << e.id << " loaded " << loaded;
        }
        EXPECT_TRUE(check(1023)->isChecked());
        EXPECT_TRUE(check(1115)->isChecked());
        EXPECT_TRUE(prompter.messages.empty());
    }
}

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

TEST_F(SecurityPageTest, StoringUneditedControlsLeavesTheRecordAsItWas) {
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

TEST_F(SecurityPageTest, StoresEditedControlsIntoTheirFieldsOnly) {
    const ParameterSet before = set;
    open();
    edit(2301)->setText(QStringLiteral("0123456789012345678"));
    edit(2305)->setText(QStringLiteral("55"));
    edit(1097)->setText(QStringLiteral("81"));
    edit(2308)->setText(QStringLiteral("258"));
    edit(2309)->setText(QStringLiteral("65535"));
    edit(1191)->setText(QStringLiteral("200"));
    check(1023)->setChecked(true);
    edit(2313)->setText(QStringLiteral("+4400"));
    edit(2312)->setText(QStringLiteral("600"));
    check(1115)->setChecked(true);
    page->StoreValues();

    EXPECT_TRUE(prompter.messages.empty());
    using Bytes = std::vector<unsigned char>;
    EXPECT_EQ(readText(set, "G0"), "0123456789012345678");
    EXPECT_EQ(readText(set, "G4"), "55");
    EXPECT_EQ(test::fieldBytes(set, "H0"), (Bytes{0x81}));
    EXPECT_EQ(test::fieldBytes(set, "H1"), (Bytes{0x02, 0x01}));
    EXPECT_EQ(test::fieldBytes(set, "H2"), (Bytes{0xff, 0xff}));
    EXPECT_EQ(test::fieldBytes(set, "H3"), (Bytes{200}));
    EXPECT_EQ(readText(set, "V8"), "+4400");
    EXPECT_EQ(test::fieldBytes(set, "V5"), (Bytes{0x58, 0x02}));
    const uint32_t flags = set.record.Flags;
    EXPECT_EQ(flags & (Flag::V0 | Flag::V6), Flag::V0 | Flag::V6);
    const auto allowed = test::bytesOf({"G0", "G4", "H0", "H1", "H2", "H3", "V8", "V5", "V0"});
    for (std::size_t offset : changedBytes(before.record, set.record)) {
        EXPECT_TRUE(allowed.count(offset)) << "byte " << offset << " changed";
    }
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

class SecurityPageTyping : public SecurityPageTest,
                           public ::testing::WithParamInterface<TypingCase> {};

TEST_P(SecurityPageTyping, RefusedTextGoesBackToTheTextBeforeTheFocus) {
    const TypingCase& c = GetParam();
    openActive();
    typeInto(c.id, QString::fromLatin1(c.keys));
    if (c.leave) {
        leaveTo(c.id == 2308 ? 2309 : 2308);
    }
    EXPECT_EQ(text(c.id), QString::fromLatin1(c.text)) << c.keys;
    EXPECT_EQ(messages(), test::oneMessage(c.message)) << c.keys;
}

INSTANTIATE_TEST_SUITE_P(
    Fields, SecurityPageTyping,
    ::testing::Values(
        TypingCase{2308, "0", "1", "(H1)Please enter an integer between 1 and 65535", true},
        TypingCase{2308, "65536", "1", "(H1)Please enter an integer between 1 and 65535"},
        TypingCase{2308, "65535", "65535", "", true},
        TypingCase{2309, "2", "30", "(H2)Please enter an integer between 3 and 65535", true},
        TypingCase{2309, "3", "3", "", true},
        TypingCase{2309, "65536", "30", "(H2)Please enter an integer between 3 and 65535"},
        TypingCase{1191, "255", "255", "", true},
        TypingCase{1191, "256", "0", "(H3)Please enter an integer between 0 and 255"},
        TypingCase{2312, "9", "120", "(V5)Please enter an integer between 10 and 65535", true},
        TypingCase{2312, "10", "10", "", true},
        TypingCase{2312, "65536", "120", "(V5)Please enter an integer between 10 and 65535"},
        TypingCase{2301, "+12345678901234567890", "+123456789012345678", ""},
        TypingCase{2311, "12345678901234567890", "1234567890123456789", ""}),
    [](const auto& info) { return typingCaseName(info.param); });

TEST_F(SecurityPageTest, ReportMediaOpensTheMediaDialog) {
    openActive();
    choices.script = [](QDialog& dialog) {
        EXPECT_NE(qobject_cast<CMedia_Choice*>(&dialog), nullptr);
        // 11: SMS and HTTP.
        EXPECT_TRUE(byId<QCheckBox>(&dialog, CMedia_Choice::kSms)->isChecked());
        EXPECT_TRUE(byId<QRadioButton>(&dialog, CMedia_Choice::kHttp)->isChecked());
        test::click(byId<QRadioButton>(&dialog, CMedia_Choice::kComPort));
        test::click(byId<QRadioButton>(&dialog, CMedia_Choice::kFormat1));
        test::click(byId<QPushButton>(&dialog, CMedia_Choice::kApply));
        return dialog.result();
    };
    edit(1097)->setFocus(Qt::MouseFocusReason);
    test::settle();
    ASSERT_EQ(choices.titles.size(), 1u);
    EXPECT_EQ(text(1097), QStringLiteral("a1"));
    page->StoreValues();
    EXPECT_EQ(readNumber(set, "H0"), 0xa1);
}

TEST_F(SecurityPageTest, FitsTheWindowAt1024By768) {
    test::expectFitsThePageBand(open());
}

}  // namespace
}  // namespace qn470
