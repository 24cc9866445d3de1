// SPDX-License-Identifier: Apache-2.0
// Finding a parameter from the search field, going to it, and the tab strip as assistive
// technology sees it; on the real window.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>

#include "app/config_tool_app.h"
#include "app/config_tool_view.h"
#include "app/main_frame.h"
#include "app/tab_strip.h"
#include "app/views/field_highlight.h"
#include "app/views/parameter_index.h"
#include "app/views/search_box.h"
#include "config/profile.h"
#include "page_test_support.h"
#include "support/case_name.h"

namespace qn470 {
namespace {

class SearchWindow {
public:
    SearchWindow()
        : settings(dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat),
          state(settings, prompter, choices),
          app(state) {
        app.initInstance();
    }

    CconfigToolView& view() const { return *app.frame()->view(); }
    CSearchBox& search() const { return *view().searchBox(); }
    QWidget* control(int id) const { return test::byId<QWidget>(view().currentPage(), id); }
    bool framed(int id) const {
        const QWidget* frame =
            control(id)->parentWidget()->findChild<QWidget*>(QLatin1String(kHighlightName));
        return frame != nullptr && frame->geometry().contains(control(id)->geometry());
    }

    QTemporaryDir dir;
    QSettings settings;
    test::ScriptedPrompter prompter;
    test::ScriptedChoices choices;
    AppState state;
    CconfigToolApp app;
};

struct QueryCase {
    const char* name;
    const char* query;
    const char* firstCode;  // nullptr: nothing found
    int tab;
    int listItem;
};

class SearchQuery : public ::testing::TestWithParam<QueryCase> {};

TEST_P(SearchQuery, RanksTheExpectedParameterFirst) {
    const QueryCase& c = GetParam();
    SearchWindow window;
    const std::vector<const IndexedParameter*> hits =
        window.view().parameterIndex().search(QString::fromUtf8(c.query));
    if (c.firstCode == nullptr) {
        EXPECT_TRUE(hits.empty()) << hits.front()->code.toStdString();
        return;
    }
    ASSERT_FALSE(hits.empty());
    EXPECT_EQ(hits.front()->code, QString::fromUtf8(c.firstCode));
    EXPECT_EQ(hits.front()->tab, c.tab);
    EXPECT_EQ(hits.front()->listItem, c.listItem);
}

INSTANTIATE_TEST_SUITE_P(
    ParameterIndex, SearchQuery,
    ::testing::Values(
        QueryCase{"code", "E1", "E1", kCommunicationPage, -1},
        QueryCase{"code_lower_case", "e1", "E1", kCommunicationPage, -1},
        // "Pa" and "PA" are two codes: the spelling typed comes first.
        QueryCase{"code_spelling_decides", "BA", "BA", kCommunicationPage, 0},
        QueryCase{"code_prefix_before_label", "j9", "J9", kMainPage, -1},
        QueryCase{"label_words_in_any_order", "port host", "E1", kCommunicationPage, -1},
        QueryCase{"label_word_prefix", "thresh battery", "J9", kMainPage, -1},
        QueryCase{"server_finds_host", "server", "E0", kCommunicationPage, -1},
        QueryCase{"sms_template_by_text", "Main Bat. lost", "BM", kCommunicationPage, 12},
        QueryCase{"sms_template_by_code", "Bk", "Bk", kCommunicationPage, 35},
        QueryCase{"group_title", "timer 2 start", "Y0", kTimerPage, -1},
        QueryCase{"every_word_must_match", "host zebra", nullptr, 0, -1},
        QueryCase{"blank", "  ", nullptr, 0, -1}),
    [](const ::testing::TestParamInfo<QueryCase>& info) { return caseName(info.param.name); });

TEST(ParameterIndexTest, ATabNameFindsEveryParameterOfThatTab) {
    SearchWindow window;
    const ParameterIndex& index = window.view().parameterIndex();
    for (const char* tab : {"Counter", "Motion Sensor", "Serial Port"}) {
        const std::vector<const IndexedParameter*> hits = index.search(QString::fromUtf8(tab));
        for (const IndexedParameter& p : index.parameters()) {
            if (p.tabLabel == QString::fromUtf8(tab)) {
                EXPECT_NE(std::find(hits.begin(), hits.end(), &p), hits.end())
                    << tab << ": " << p.code.toStdString();
            }
        }
    }
}

// Every entry leads somewhere real: its tab opens, its control is framed and, unless it opens a
// choice dialog on focus, focused; no dialog or message pops up, and the index was made without
// the record or the registry noticing.
TEST(ParameterIndexTest, EveryEntryLeadsToItsControlWithoutSideEffects) {
    SearchWindow window;
    ASSERT_TRUE(test::showActive(*window.app.frame()));
    const std::string recordBefore = profileText(window.state.parameters);
    const auto openCountBefore = window.state.pages.openCount;
    const ParameterIndex& index = window.view().parameterIndex();
    ASSERT_GT(index.parameters().size(), 200u);
    EXPECT_EQ(profileText(window.state.parameters), recordBefore);
    EXPECT_EQ(window.state.pages.openCount, openCountBefore);
    EXPECT_EQ(window.state.pages.currentPage(), window.view().currentPage());

    for (const IndexedParameter& p : index.parameters()) {
        SCOPED_TRACE(p.code.toStdString());
        EXPECT_EQ(index.find(p.code)->code, p.code);
        EXPECT_FALSE(p.label.isEmpty());
        window.view().focusParameter(p);
        test::settle();
        ASSERT_EQ(window.view().currentTab(), p.tab);
        QWidget* control = window.control(p.controlId);
        ASSERT_NE(control, nullptr);
        EXPECT_TRUE(window.framed(p.controlId));
        const FieldBinding* binding = window.view().currentPage()->binder().binding(p.controlId);
        const bool opensDialog = binding != nullptr && binding->choice != nullptr;
        if (opensDialog || !control->isEnabled()) {
            EXPECT_NE(QApplication::focusWidget(), control);
        } else {
            EXPECT_EQ(QApplication::focusWidget(), control);
        }
        if (p.listItem >= 0) {
            EXPECT_EQ(qobject_cast<QComboBox*>(control)->currentIndex(), p.listItem);
        }
    }
    EXPECT_TRUE(window.choices.titles.empty());
    EXPECT_TRUE(window.prompter.messages.empty()) << window.prompter.messages[0].toStdString();
}

struct KeyboardCase {
    const char* name;
    const char* typed;
    int downs;
    int tab;
    int controlId;
    bool focused;  // false: a field with a choice dialog, only framed
};

class SearchKeyboard : public ::testing::TestWithParam<KeyboardCase> {};

TEST_P(SearchKeyboard, CtrlFTypeAndEnterGoToTheField) {
    const KeyboardCase& c = GetParam();
    SearchWindow window;
    ASSERT_TRUE(test::showActive(*window.app.frame()));
    QWidget* start = window.control(1059);
    start->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(start, Qt::Key_F, Qt::ControlModifier);
    ASSERT_EQ(QApplication::focusWidget(), &window.search());

    QTest::keyClicks(&window.search(), QString::fromUtf8(c.typed));
    QListWidget* list = window.search().matchList();
    ASSERT_TRUE(list->isVisible());
    for (int i = 0; i < c.downs; ++i) {
        QTest::keyClick(&window.search(), Qt::Key_Down);
    }
    const QString chosen = list->currentItem()->text();
    QTest::keyClick(&window.search(), Qt::Key_Return);
    test::settle();

    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(window.view().currentTab(), c.tab) << chosen.toStdString();
    ASSERT_NE(window.control(c.controlId), nullptr);
    EXPECT_EQ(QApplication::focusWidget() == window.control(c.controlId), c.focused);
    EXPECT_TRUE(window.framed(c.controlId));
    EXPECT_TRUE(window.choices.titles.empty());
}

INSTANTIATE_TEST_SUITE_P(
    SearchBox, SearchKeyboard,
    ::testing::Values(KeyboardCase{"code", "E1", 0, kCommunicationPage, 2207, true},
                      KeyboardCase{"third_match", "E", 2, kCommunicationPage, 2212, true},
                      KeyboardCase{"sms_template", "BM", 0, kCommunicationPage, 1129, true},
                      KeyboardCase{"choice_field", "J6", 0, kMainPage, 1094, false}),
    [](const ::testing::TestParamInfo<KeyboardCase>& info) { return caseName(info.param.name); });

TEST(SearchBoxTest, EscapeClosesTheListAndGivesTheFocusBack) {
    SearchWindow window;
    ASSERT_TRUE(test::showActive(*window.app.frame()));
    QWidget* start = window.control(1059);
    start->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(start, Qt::Key_F, Qt::ControlModifier);
    QTest::keyClicks(&window.search(), QStringLiteral("gps"));
    ASSERT_TRUE(window.search().matchList()->isVisible());
    QTest::keyClick(&window.search(), Qt::Key_Escape);
    EXPECT_FALSE(window.search().matchList()->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), start);
    EXPECT_EQ(window.view().currentTab(), kMainPage);
}

TEST(SearchBoxTest, NewControlsAreNamedAndSitRightOfTheLastTab) {
    SearchWindow window;
    CSearchBox& search = window.search();
    EXPECT_EQ(search.accessibleName(), QStringLiteral("Search"));
    EXPECT_EQ(search.placeholderText(), QStringLiteral("Search"));
    EXPECT_FALSE(search.matchList()->accessibleName().isEmpty());
    // In the strip's last row, clear of every tab, inside the window.
    const CTabStrip& strip = *window.view().tabStrip();
    const QRect box = search.geometry();
    for (int i = 0; i < strip.count(); ++i) {
        const QRect tab(strip.tabButton(i)->mapTo(&window.view(), QPoint(0, 0)),
                        strip.tabButton(i)->size());
        EXPECT_FALSE(box.intersects(tab)) << i;
    }
    EXPECT_TRUE(QRect(strip.pos(), strip.size()).contains(box));
}

TEST(TabStripAccessibilityTest, ReadsAsPageTabsWithTheCurrentOneSelected) {
    SearchWindow window;
    CTabStrip& strip = *window.view().tabStrip();
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(&strip);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->role(), QAccessible::PageTabList);
    const auto expectSelected = [&](int current) {
        ASSERT_EQ(list->childCount(), strip.count());
        for (int i = 0; i < strip.count(); ++i) {
            QAccessibleInterface* tab = list->child(i);
            EXPECT_EQ(tab->role(), QAccessible::PageTab) << i;
            EXPECT_EQ(tab->text(QAccessible::Name), strip.tabText(i));
            EXPECT_EQ(tab->state().selected, i == current) << i;
            EXPECT_FALSE(tab->state().checkable) << i;
        }
    };
    expectSelected(kMainPage);

    // Keys on a focused tab, wrapping at both ends.
    ASSERT_TRUE(test::showActive(*window.app.frame()));
    strip.tabButton(kMainPage)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    EXPECT_EQ(strip.currentIndex(), kSerialPortPage);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    EXPECT_EQ(strip.currentIndex(), kGpsPage);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(strip.currentIndex(), kCommunicationPage);
    EXPECT_EQ(QApplication::focusWidget(), strip.tabButton(kCommunicationPage));
    EXPECT_EQ(window.view().currentTab(), kCommunicationPage);
    expectSelected(kCommunicationPage);

    // A mark count is said, not written into the label.
    strip.setMarkCount(kGpsPage, 3);
    EXPECT_EQ(strip.tabText(kGpsPage), QStringLiteral("GPS"));
    EXPECT_EQ(list->child(kGpsPage)->text(QAccessible::Description), QStringLiteral("3 changed"));
    strip.setMarkCount(kGpsPage, 0);
    EXPECT_TRUE(list->child(kGpsPage)->text(QAccessible::Description).isEmpty());
}

}  // namespace
}  // namespace qn470
