// SPDX-License-Identifier: Apache-2.0
// The "Dout all" dialog through its real radio buttons: what an output status text opens it
// with, how All and None follow the single outputs, and the mask "Apply" gives.

#include <gtest/gtest.h>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <optional>
#include <string>
#include <vector>

#include "page_test_support.h"
#include "pages/dout_dialog.h"
#include "support/case_name.h"

namespace qn470 {
namespace {

using test::byId;

// The dialog's radios as four characters: per output "A" (Activate), "I" (Inactive) or "-"
// (neither), then "L" for All, "N" for None or "-".
std::string state(const CDout& dialog) {
    auto checked = [&](int id) { return byId<QRadioButton>(&dialog, id)->isChecked(); };
    const int pairs[3][2] = {{CDout::kOutput1Activate, CDout::kOutput1Inactive},
                             {CDout::kOutput2Activate, CDout::kOutput2Inactive},
                             {CDout::kOutput3Activate, CDout::kOutput3Inactive}};
    std::string out;
    for (const auto& pair : pairs) {
        out += checked(pair[0]) ? 'A' : checked(pair[1]) ? 'I' : '-';
    }
    out += checked(CDout::kAll) ? 'L' : checked(CDout::kNone) ? 'N' : '-';
    return out;
}

void click(CDout& dialog, int id) {
    QAbstractButton* button = byId<QAbstractButton>(&dialog, id);
    ASSERT_NE(button, nullptr) << id;
    test::click(button);
}

struct OpeningCase {
    const char* text;
    const char* state;
};

class DoutOpening : public ::testing::TestWithParam<OpeningCase> {};

TEST_P(DoutOpening, ShowsTheOutputTextAndAppliesWhatItShows) {
    const OpeningCase& c = GetParam();
    CDout dialog(QString::fromLatin1(c.text));
    EXPECT_EQ(state(dialog), c.state) << c.text;
    click(dialog, CDout::kApply);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    // Bits the dialog cannot show are not given back.
    const bool shown = std::string(c.state).find('A') != std::string::npos;
    const QString expected = shown ? QString::fromLatin1(c.text).left(2) : QStringLiteral("00");
    EXPECT_EQ(dialog.resultText(), expected) << c.text;
}

INSTANTIATE_TEST_SUITE_P(Masks, DoutOpening,
                         ::testing::Values(OpeningCase{"0e", "AAAL"}, OpeningCase{"06", "AAI-"},
                                           OpeningCase{"00", "IIIN"}, OpeningCase{"01", "III-"},
                                           OpeningCase{"0f", "III-"}, OpeningCase{"02", "AII-"},
                                           OpeningCase{"04", "IAI-"}, OpeningCase{"08", "IIA-"},
                                           OpeningCase{"0a", "AIA-"}, OpeningCase{"0c", "IAA-"},
                                           OpeningCase{"8e", "III-"}, OpeningCase{"0E", "IIIN"},
                                           OpeningCase{"", "IIIN"}, OpeningCase{"e", "III-"},
                                           OpeningCase{"0e99", "AAAL"}),
                         [](const auto& info) {
                             return caseNames({"text", info.param.text});
                         });

TEST(DoutDialog, OpenedWithoutAnOutputTextShowsNothingChecked) {
    CDout dialog(std::nullopt);
    EXPECT_EQ(state(dialog), "----");
    click(dialog, CDout::kOutput2Activate);
    EXPECT_EQ(state(dialog), "-A--");
    click(dialog, CDout::kApply);
    EXPECT_EQ(dialog.resultText(), QStringLiteral("04"));
}

TEST(DoutDialog, OutputThreeAloneGivesEight) {
    CDout dialog(QStringLiteral("00"));
    click(dialog, CDout::kOutput3Activate);
    EXPECT_EQ(state(dialog), "IIA-");
    click(dialog, CDout::kApply);
    EXPECT_EQ(dialog.resultText(), QStringLiteral("08"));
}

struct ClickCase {
    const char* text;
    std::vector<int> clicks;
    const char* state;
    const char* applied;
};

class DoutClicks : public ::testing::TestWithParam<ClickCase> {};

TEST_P(DoutClicks, AllAndNoneFollowTheOutputs) {
    const ClickCase& c = GetParam();
    CDout dialog(QString::fromLatin1(c.text));
    for (int id : c.clicks) {
        click(dialog, id);
    }
    EXPECT_EQ(state(dialog), c.state);
    click(dialog, CDout::kApply);
    EXPECT_EQ(dialog.resultText(), QString::fromLatin1(c.applied));
}

INSTANTIATE_TEST_SUITE_P(
    Clicks, DoutClicks,
    ::testing::Values(
        ClickCase{"00", {CDout::kAll}, "AAAL", "0e"}, ClickCase{"0e", {CDout::kNone}, "IIIN", "00"},
        ClickCase{"06", {CDout::kOutput3Activate}, "AAAL", "0e"},
        ClickCase{"0e", {CDout::kOutput2Inactive}, "AIA-", "0a"},
        ClickCase{"0e",
                  {CDout::kOutput1Inactive, CDout::kOutput2Inactive, CDout::kOutput3Inactive},
                  "IIIN",
                  "00"},
        ClickCase{"00", {CDout::kOutput1Activate}, "AII-", "02"},
        // Clicking what is already checked changes nothing.
        ClickCase{"0e", {CDout::kOutput1Activate}, "AAAL", "0e"},
        ClickCase{"00", {CDout::kOutput2Inactive}, "IIIN", "00"},
        ClickCase{"0f", {CDout::kAll, CDout::kOutput1Inactive}, "IAA-", "0c"}),
    [](const auto& info) { return caseNameWith(info.param.text, "click", info.param.clicks); });

TEST(DoutDialog, CancelGivesNothing) {
    CDout dialog(QStringLiteral("00"));
    click(dialog, CDout::kAll);
    click(dialog, CDout::kCancel);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(dialog.resultText().isEmpty());
}

TEST(DoutDialog, CaptionFrameAndButtons) {
    CDout dialog(QStringLiteral("00"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Dout all"));
    const struct {
        int id;
        const char* text;
    } buttons[] = {
        {CDout::kOutput1Activate, "Activate"},
        {CDout::kOutput1Inactive, "Inactive"},
        {CDout::kOutput2Activate, "Activate"},
        {CDout::kOutput2Inactive, "Inactive"},
        {CDout::kOutput3Activate, "Activate"},
        {CDout::kOutput3Inactive, "Inactive"},
        {CDout::kAll, "All"},
        {CDout::kNone, "None"},
        {CDout::kApply, "Apply"},
        {CDout::kCancel, "Cancel"},
    };
    for (const auto& b : buttons) {
        QAbstractButton* button = byId<QAbstractButton>(&dialog, b.id);
        ASSERT_NE(button, nullptr) << b.id;
        EXPECT_EQ(button->text(), QString::fromLatin1(b.text)) << b.id;
    }
    EXPECT_TRUE(byId<QPushButton>(&dialog, CDout::kApply)->isDefault());
    std::vector<QString> labels;
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        labels.push_back(label->text());
    }
    EXPECT_EQ(labels,
              (std::vector<QString>{QStringLiteral("Output 1 :"), QStringLiteral("Output 2 :"),
                                    QStringLiteral("Output 3 :")}));
    ASSERT_NE(dialog.findChild<QGroupBox*>(), nullptr);
    EXPECT_EQ(dialog.findChild<QGroupBox*>()->title(), QStringLiteral("Digital Output status"));
}

}  // namespace
}  // namespace qn470
