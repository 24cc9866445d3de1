// SPDX-License-Identifier: Apache-2.0
// The media and action choice dialogs, driven through their real widgets.

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <set>

#include "page_test_support.h"
#include "pages/action_dialog.h"
#include "pages/media_choice_dialog.h"
#include "support/case_name.h"

namespace qn470 {
namespace {

using test::byId;

void click(QDialog& dialog, int id) {
    QAbstractButton* button = byId<QAbstractButton>(&dialog, id);
    ASSERT_NE(button, nullptr) << id;
    test::click(button);
}

struct MediaCase {
    const char* field;
    bool sms;
    int transport;
    int format;
    const char* applied;
};

class MediaOpening : public ::testing::TestWithParam<MediaCase> {};

TEST_P(MediaOpening, ShowsTheFieldsByteAndAppliesWhatItShows) {
    const MediaCase& c = GetParam();
    CMedia_Choice dialog(QString::fromLatin1(c.field), true);
    EXPECT_EQ(byId<QCheckBox>(&dialog, CMedia_Choice::kSms)->isChecked(), c.sms);
    EXPECT_TRUE(byId<QRadioButton>(&dialog, c.transport)->isChecked());
    EXPECT_TRUE(byId<QRadioButton>(&dialog, c.format)->isChecked());
    click(dialog, CMedia_Choice::kApply);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.resultText(), QString::fromLatin1(c.applied));
}

INSTANTIATE_TEST_SUITE_P(
    Fields, MediaOpening,
    ::testing::Values(MediaCase{"23", true, CMedia_Choice::kTcp, CMedia_Choice::kFormat0, "03"},
                      MediaCase{"40", false, CMedia_Choice::kNone, CMedia_Choice::kFormat0, "00"},
                      MediaCase{"08", false, CMedia_Choice::kNone, CMedia_Choice::kFormat0, "00"},
                      MediaCase{"a4", false, CMedia_Choice::kUdp, CMedia_Choice::kFormat1, "84"},
                      MediaCase{"1F", false, CMedia_Choice::kHttp, CMedia_Choice::kFormat0, "10"},
                      MediaCase{"21", true, CMedia_Choice::kComPort, CMedia_Choice::kFormat0, "21"},
                      MediaCase{"", false, CMedia_Choice::kNone, CMedia_Choice::kFormat0, "00"},
                      MediaCase{"zz", false, CMedia_Choice::kNone, CMedia_Choice::kFormat0, "00"}),
    [](const auto& info) {
        return caseNames({"field", info.param.field});
    });

TEST(MediaChoiceDialog, BuildsTheByteFromTheClickedChoices) {
    CMedia_Choice dialog(QStringLiteral("00"), true);
    click(dialog, CMedia_Choice::kSms);
    click(dialog, CMedia_Choice::kUdp);
    click(dialog, CMedia_Choice::kFormat1);
    EXPECT_EQ(dialog.value(), 0x85);
    click(dialog, CMedia_Choice::kComPort);
    click(dialog, CMedia_Choice::kApply);
    EXPECT_EQ(dialog.resultText(), QStringLiteral("a1"));
}

TEST(MediaChoiceDialog, EmailCannotBeChosenAndCancelGivesNothing) {
    CMedia_Choice dialog(QStringLiteral("02"), true);
    EXPECT_FALSE(byId<QRadioButton>(&dialog, CMedia_Choice::kEmail)->isEnabled());
    click(dialog, CMedia_Choice::kEmail);
    EXPECT_TRUE(byId<QRadioButton>(&dialog, CMedia_Choice::kTcp)->isChecked());
    click(dialog, CMedia_Choice::kCancel);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(dialog.resultText().isEmpty());
}

TEST(MediaChoiceDialog, SmsIsFixedForConfigurationReports) {
    test::ScriptedPrompter prompter;
    test::ScriptedChoices choices;
    ParameterSet set;
    PageRegistry registry;
    const PageContext context{set, registry, prompter, choices};
    for (const char* field : {"21", "20"}) {
        const auto dialog = CMedia_Choice::createWithoutSms(
            nullptr, context, ChoiceField{"K4", QString::fromLatin1(field)});
        QCheckBox* sms = byId<QCheckBox>(dialog.get(), CMedia_Choice::kSms);
        const bool before = sms->isChecked();
        EXPECT_FALSE(sms->isEnabled());
        test::click(sms);
        EXPECT_EQ(sms->isChecked(), before);
        click(*dialog, CMedia_Choice::kApply);
        EXPECT_EQ(dialog->resultText(), QString::fromLatin1(field));
    }
}

class ActionDialogTest : public ::testing::Test {
protected:
    std::unique_ptr<CAction> open(const char* field) {
        return std::make_unique<CAction>(QString::fromLatin1(field), prompter);
    }
    static QString slotText(CAction& dialog, int slot) {
        return byId<QLineEdit>(&dialog, CAction::kSlotEditIds[static_cast<std::size_t>(slot)])
            ->text();
    }
    static QAbstractButton* checkedCode(CAction& dialog) {
        for (QRadioButton* radio : dialog.findChildren<QRadioButton*>()) {
            const int id = radio->objectName().toInt();
            const bool slotRadio = id >= 1225 && id <= 1229;
            if (!slotRadio && radio->isChecked()) {
                return radio;
            }
        }
        return nullptr;
    }
    QString apply(CAction& dialog) {
        click(dialog, CAction::kApply);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        return dialog.resultText();
    }

    test::ScriptedPrompter prompter;
};

TEST_F(ActionDialogTest, OpensWithTheFieldsPairsAndTheFirstSlotsCode) {
    struct {
        const char* field;
        const char* pairs[5];
        int code;  // radio of slot 1's code
        const char* applied;
    } const cases[] = {
        {"", {"00", "00", "00", "00", "00"}, 1186, "0000000000"},
        {"84a1", {"84", "a1", "00", "00", "00"}, 1139, "84a1000000"},
        {"4b45", {"4b", "45", "00", "00", "00"}, 1170, "4b45000000"},
        {"84858687a0a1", {"84", "85", "86", "87", "a0"}, 1139, "84858687a0"},
        {"845", {"84", "00", "00", "00", "00"}, 1139, "8400000000"},
    };
    for (const auto& c : cases) {
        auto dialog = open(c.field);
        for (int k = 0; k < kActionSlots; ++k) {
            EXPECT_EQ(slotText(*dialog, k), QString::fromLatin1(c.pairs[k])) << c.field << k;
        }
        EXPECT_TRUE(byId<QRadioButton>(dialog.get(), 1225)->isChecked());
        EXPECT_EQ(dialog->currentSlot(), 0);
        ASSERT_NE(checkedCode(*dialog), nullptr) << c.field;
        EXPECT_EQ(checkedCode(*dialog)->objectName().toInt(), c.code) << c.field;
        EXPECT_EQ(apply(*dialog), QString::fromLatin1(c.applied)) << c.field;
    }
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(ActionDialogTest, AnUnknownPairInTheFieldIsReportedAndLeftEmpty) {
    auto dialog = open("zz84");
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0], QStringLiteral("Invalid Value!"));
    EXPECT_EQ(slotText(*dialog, 0), QStringLiteral("00"));
    EXPECT_EQ(slotText(*dialog, 1), QStringLiteral("84"));
    EXPECT_EQ(apply(*dialog), QStringLiteral("0084000000"));
}

TEST_F(ActionDialogTest, TypedCodesAreCheckedCaseSensitively) {
    auto dialog = open("84");
    QLineEdit* slot3 = byId<QLineEdit>(dialog.get(), CAction::kSlotEditIds[2]);
    slot3->selectAll();
    QTest::keyClicks(slot3, "8A");
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0], QStringLiteral("Invalid Value!"));
    EXPECT_EQ(slot3->text(), QStringLiteral("00"));

    slot3->selectAll();
    QTest::keyClicks(slot3, "8c");
    EXPECT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(slot3->text(), QStringLiteral("8c"));
    // A half-typed slot changes nothing.
    QLineEdit* slot4 = byId<QLineEdit>(dialog.get(), CAction::kSlotEditIds[3]);
    slot4->clear();
    QTest::keyClicks(slot4, "4");
    EXPECT_EQ(apply(*dialog), QStringLiteral("84008c0000"));
}

TEST_F(ActionDialogTest, ClickedCodesGoIntoTheCurrentSlot) {
    auto dialog = open("84a1");
    click(*dialog, 1226);  // slot 2
    EXPECT_EQ(dialog->currentSlot(), 1);
    EXPECT_EQ(checkedCode(*dialog)->objectName().toInt(), 1148);  // "1 (a1)"
    click(*dialog, 1165);                                         // "Turn on (45)"
    EXPECT_EQ(slotText(*dialog, 1), QStringLiteral("45"));
    click(*dialog, 1229);  // slot 5
    click(*dialog, 1160);  // "3 (cb)"
    EXPECT_EQ(slotText(*dialog, 4), QStringLiteral("cb"));
    EXPECT_EQ(apply(*dialog), QStringLiteral("84450000cb"));
}

TEST_F(ActionDialogTest, ASlotWithoutACodeShowsNoCode) {
    auto dialog = open("84a1");
    QLineEdit* slot2 = byId<QLineEdit>(dialog.get(), CAction::kSlotEditIds[1]);
    slot2->setText(QStringLiteral("a"));
    click(*dialog, 1226);
    EXPECT_EQ(checkedCode(*dialog), nullptr);
    // The slot keeps the code it had.
    EXPECT_EQ(apply(*dialog), QStringLiteral("84a1000000"));
}

TEST_F(ActionDialogTest, CancelGivesNothing) {
    auto dialog = open("84");
    click(*dialog, 1165);
    click(*dialog, CAction::kCancel);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_TRUE(dialog->resultText().isEmpty());
}

TEST(ActionCodes, EveryCodeHasItsRadio) {
    test::ScriptedPrompter prompter;
    CAction dialog(QString(), prompter);
    std::set<int> ids;
    for (std::string_view code : kActionCodes) {
        const int id = CAction::codeRadioId(QString::fromLatin1(code.data(), 2));
        ASSERT_NE(id, 0) << code;
        ids.insert(id);
        QRadioButton* radio = byId<QRadioButton>(&dialog, id);
        ASSERT_NE(radio, nullptr) << code;
        EXPECT_TRUE(radio->text().endsWith(QStringLiteral("(%1)").arg(QLatin1String(code))));
    }
    EXPECT_EQ(ids.size(), kActionCodes.size());
    EXPECT_EQ(CAction::codeRadioId(QStringLiteral("8C")), 0);
}

}  // namespace
}  // namespace qn470
