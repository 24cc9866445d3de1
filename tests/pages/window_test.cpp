// SPDX-License-Identifier: Apache-2.0
// The window shell: start-up, tab switching and the page close rule, closing, caption, layout
// under resizing, and the recent-files settings.

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QScrollArea>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolBar>

#include "app/config_tool_app.h"
#include "app/config_tool_view.h"
#include "app/main_frame.h"
#include "app/tab_strip.h"
#include "config/parameter_value.h"
#include "page_test_support.h"
#include "pages/gps_page.h"
#include "pages/main_page.h"
#include "support/case_name.h"

namespace qn470 {
namespace {

using test::byId;

// A page that only writes down what is done to it.
class SpyPage : public CPage {
public:
    SpyPage(const PageContext& context, int index, std::vector<std::string>& journal,
            QWidget* parent)
        : CPage(context, index, parent), m_journal(journal) {
        build(PageSpec{{}, {}, true});
        note("create");
    }
    ~SpyPage() override { note("delete"); }
    void LoadValues() override { note("load"); }
    StoreResult StoreValues() override {
        note("store");
        return {};
    }

private:
    void note(const char* what) {
        m_journal.push_back(std::string(what) + " " + std::to_string(pageIndex()));
    }
    std::vector<std::string>& m_journal;
};

std::vector<PageTab> spyTabs(std::vector<std::string>& journal) {
    std::vector<PageTab> tabs;
    for (int i = 0; i < kPageCount; ++i) {
        tabs.push_back({QStringLiteral("T%1").arg(i),
                        [i, &journal](const PageContext& context, QWidget* parent) {
                            return static_cast<CPage*>(new SpyPage(context, i, journal, parent));
                        }});
    }
    return tabs;
}

class WindowTest : public ::testing::Test {
protected:
    WindowTest()
        : settings(dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat),
          state(settings, prompter, choices) {}

    CMainFrame& start(std::vector<PageTab> tabs = pageTabs()) {
        app = std::make_unique<CconfigToolApp>(state, std::move(tabs));
        EXPECT_TRUE(app->initInstance());
        return *app->frame();
    }
    CconfigToolView& view() const { return *app->frame()->view(); }
    QLineEdit* edit(int id) const { return byId<QLineEdit>(view().currentPage(), id); }
    void clickTab(int index) {
        QTest::mouseClick(view().tabStrip()->tabButton(index), Qt::LeftButton);
    }

    QTemporaryDir dir;
    QSettings settings;
    test::ScriptedPrompter prompter;
    test::ScriptedChoices choices;
    AppState state;
    std::unique_ptr<CconfigToolApp> app;
};

TEST_F(WindowTest, StartUpOpensCommunicationOnceWithoutStoringThenMain) {
    std::vector<std::string> journal;
    start(spyTabs(journal));
    EXPECT_EQ(journal,
              (std::vector<std::string>{"create 2", "load 2", "delete 2", "create 0", "load 0"}));
    EXPECT_EQ(view().currentTab(), kMainPage);
    EXPECT_TRUE(state.pages.loadedFromProfile);
    EXPECT_FALSE(state.pages.loadedFromDevice);
    EXPECT_TRUE(state.pages.lastClosed[kCommunicationPage]);
    EXPECT_EQ(state.pages.openCount[kCommunicationPage], 1);
    EXPECT_EQ(state.pages.currentPage(), view().currentPage());
    EXPECT_EQ(state.pages.pages[kCommunicationPage], nullptr);

    // Every later tab change stores the page left; closing stores nothing.
    journal.clear();
    clickTab(kGpsPage);
    EXPECT_EQ(journal, (std::vector<std::string>{"store 0", "delete 0", "create 1", "load 1"}));
    journal.clear();
    clickTab(kGpsPage);  // the selected tab again changes nothing
    EXPECT_TRUE(journal.empty());
    app.reset();
    EXPECT_EQ(journal, (std::vector<std::string>{"delete 1"}));
    EXPECT_TRUE(state.pages.shuttingDown);
}

TEST_F(WindowTest, StartUpShowsTheMainPageFilledFromTheDefaults) {
    start();
    auto* page = qobject_cast<CMainPage*>(view().currentPage());
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(edit(1196)->text(), QStringLiteral("11500"));
    EXPECT_EQ(edit(1004)->text(), QStringLiteral("SPRXAB27GHKLMn*U!"));
    EXPECT_EQ(edit(1189)->text(), QStringLiteral("0000000000"));
    // The SMS templates too: they come with the defaults, not from opening their page.
    for (int row = 0; row < EventTexts::kCount; ++row) {
        EXPECT_EQ(readText(app->session().parameters(), eventParameter(row)), defaultEventText(row))
            << row;
    }
    EXPECT_TRUE(view().tabStrip()->tabButton(kMainPage)->isChecked());
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(WindowTest, FrameHasTheCaptionSizeAndNoBars) {
    CMainFrame& frame = start();
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Ardeno - QN-470 ConfigTool DEV V3.0 (1111161)"));
    EXPECT_EQ(frame.size(), QSize(1024, 768));
    EXPECT_EQ(frame.menuWidget(), nullptr);
    EXPECT_EQ(frame.findChild<QStatusBar*>(), nullptr);
    EXPECT_EQ(frame.findChild<QToolBar*>(), nullptr);
    QTest::keyClick(&frame, Qt::Key_N, Qt::ControlModifier);
    QTest::keyClick(&frame, Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Ardeno - QN-470 ConfigTool DEV V3.0 (1111161)"));
    const char* labels[] = {"Main",           "GPS",           "Communication", "Security",
                            "Function",       "Timer",         "Stopwatch",     "Counter",
                            "Input / Output", "Motion Sensor", "Serial Port"};
    ASSERT_EQ(view().tabStrip()->count(), kPageCount);
    for (int i = 0; i < kPageCount; ++i) {
        EXPECT_EQ(view().tabStrip()->tabText(i), QString::fromUtf8(labels[i]));
    }
}

TEST_F(WindowTest, SwitchingTabsStoresThePageLeftAndReloadsThePageEntered) {
    start();
    edit(1059)->setText(QStringLiteral("SWITCHED"));
    clickTab(kGpsPage);
    EXPECT_NE(qobject_cast<CGPSPage*>(view().currentPage()), nullptr);
    EXPECT_EQ(readText(state.parameters, "O5"), "SWITCHED");

    writeNumber(state.parameters, "J9", 10001);  // changed while another page is open
    clickTab(kMainPage);
    EXPECT_EQ(edit(1059)->text(), QStringLiteral("SWITCHED"));
    EXPECT_EQ(edit(1196)->text(), QStringLiteral("10001"));
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(WindowTest, ALoadSetsItsSourceAndReloadsTheCurrentPage) {
    start();
    edit(1059)->setText(QStringLiteral("EDITED"));
    writeText(state.parameters, "O5", "FROM-DEVICE");
    view().recordLoaded(CconfigToolView::LoadSource::Device);
    EXPECT_TRUE(state.pages.loadedFromDevice);
    EXPECT_FALSE(state.pages.loadedFromProfile);
    EXPECT_EQ(edit(1059)->text(), QStringLiteral("FROM-DEVICE"));
    view().recordLoaded(CconfigToolView::LoadSource::Profile);
    EXPECT_FALSE(state.pages.loadedFromDevice);
    EXPECT_TRUE(state.pages.loadedFromProfile);

    edit(1059)->setText(QStringLiteral("TO-SAVE"));
    view().storeCurrentPage();
    EXPECT_EQ(readText(state.parameters, "O5"), "TO-SAVE");
}

TEST_F(WindowTest, AnEmptyNumberStillLetsTheNewTabOpen) {
    start();
    edit(1059)->setText(QStringLiteral("KEPT"));
    edit(1196)->setText(QString());
    edit(1057)->setText(QStringLiteral("5"));
    clickTab(kSecurityPage);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0], QStringLiteral("Enter a positive integer."));
    EXPECT_EQ(view().currentTab(), kSecurityPage);
    EXPECT_EQ(readText(state.parameters, "O5"), "KEPT");
    EXPECT_EQ(readNumber(state.parameters, "J9"), 11500);
    EXPECT_EQ(readNumber(state.parameters, "O2"), 0);
}

TEST_F(WindowTest, LeavingAFieldByClickingATabChecksItBeforeTheStore) {
    CMainFrame& frame = start();
    ASSERT_TRUE(test::showActive(frame));
    edit(1196)->setFocus(Qt::TabFocusReason);
    edit(1196)->selectAll();
    QTest::keyClicks(edit(1196), QStringLiteral("9500"));
    clickTab(kGpsPage);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0],
              QStringLiteral("(J9)Please enter an integer between 10000 and 12000"));
    EXPECT_EQ(view().currentTab(), kGpsPage);
    EXPECT_EQ(readNumber(state.parameters, "J9"), 11500);
}

TEST_F(WindowTest, ClosingDoesNotStoreTheOpenPage) {
    start();
    edit(1059)->setText(QStringLiteral("UNSAVED"));
    app.reset();
    EXPECT_EQ(readText(state.parameters, "O5"), "");
}

TEST_F(WindowTest, LayoutKeepsThePageBandAboveTheCommandWindow) {
    CMainFrame& frame = start();
    ASSERT_TRUE(test::showActive(frame));
    auto* commandWindow = new QWidget;
    view().installCommandWindow(commandWindow);
    EXPECT_EQ(view().findChild<QWidget*>(QStringLiteral("commandWindowSlot")), nullptr);
    const struct {
        int width;
        int height;
        int strip;  // rows of 111-pixel tabs: 2 + 30 per row + 2 between rows + 2
    } sizes[] = {
        {1024, 768, 66}, {1280, 1024, 34}, {800, 600, 66}, {500, 400, 98}, {300, 300, 194}};
    for (const auto& s : sizes) {
        frame.resize(s.width, s.height);
        for (int i = 0; i < 100 && view().size() != QSize(s.width, s.height); ++i) {
            QTest::qWait(5);
        }
        ASSERT_EQ(view().size(), QSize(s.width, s.height));
        EXPECT_EQ(view().tabStrip()->geometry(), QRect(0, 0, s.width, s.strip)) << s.width;
        EXPECT_EQ(view().pageArea()->geometry(), QRect(0, s.strip, s.width, 468 - s.strip))
            << s.width;
        EXPECT_EQ(commandWindow->geometry(), QRect(0, 468, s.width, std::max(0, s.height - 468)))
            << s.width;
    }
}

TEST_F(WindowTest, MainPageFitsItsBandAt1024By768) {
    CMainFrame& frame = start();
    ASSERT_TRUE(test::showActive(frame));
    auto* area = qobject_cast<QScrollArea*>(view().pageArea());
    ASSERT_NE(area, nullptr);
    const QSize needed = view().currentPage()->minimumSizeHint();
    EXPECT_LE(needed.width(), area->viewport()->width());
    EXPECT_LE(needed.height(), area->viewport()->height());
}

struct CloseCase {
    bool loaded;
    bool otherClosedLast;
    bool selfClosedLast;
    bool shuttingDown;
    bool stores;
};

std::string closeName(const CloseCase& c) {
    std::string name = c.loaded ? "loaded" : "not_loaded";
    if (c.otherClosedLast)
        name += "_other_closed_last";
    if (c.selfClosedLast)
        name += "_self_closed_last";
    if (c.shuttingDown)
        name += "_shutting_down";
    return name;
}

class CloseRule : public ::testing::TestWithParam<CloseCase> {};

TEST_P(CloseRule, StoresUnlessFirstAfterALoadOrShuttingDown) {
    const CloseCase& c = GetParam();
    ParameterSet set;
    PageRegistry registry;
    test::ScriptedPrompter prompter;
    test::ScriptedChoices choices;
    if (c.loaded) {
        registry.setLoadedFromDevice();
    }
    registry.lastClosed[kGpsPage] = c.otherClosedLast;
    registry.lastClosed[kTimerPage] = c.selfClosedLast;
    registry.shuttingDown = c.shuttingDown;
    std::vector<std::string> journal;
    {
        SpyPage page(PageContext{set, registry, prompter, choices}, kTimerPage, journal, nullptr);
        page.openPage();
        journal.clear();
        page.closePage();
        page.closePage();  // once only
    }
    EXPECT_EQ(journal.front() == "store 5", c.stores);
    if (c.loaded) {
        for (int i = 0; i < kPageCount; ++i) {
            EXPECT_EQ(registry.lastClosed[i], i == kTimerPage) << i;
        }
    }
    EXPECT_EQ(registry.pages[kTimerPage], nullptr);
}

INSTANTIATE_TEST_SUITE_P(Cases, CloseRule,
                         ::testing::Values(CloseCase{false, false, false, false, true},
                                           CloseCase{false, false, false, true, false},
                                           CloseCase{true, false, false, false, false},
                                           CloseCase{true, false, true, false, false},
                                           CloseCase{true, true, false, false, true},
                                           CloseCase{true, true, false, true, false}),
                         [](const auto& info) { return closeName(info.param); });

TEST(RecentFiles, KeepsFourNewestFirstAcrossRuns) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("settings.ini"));
    {
        QSettings settings(path, QSettings::IniFormat);
        RecentFiles files(settings);
        EXPECT_TRUE(files.files().isEmpty());
        for (const char* name : {"a.pro", "b.pro", "c.pro", "d.pro", "e.pro", "c.pro"}) {
            files.add(QString::fromLatin1(name));
        }
        EXPECT_EQ(files.files(), (QStringList{"c.pro", "e.pro", "d.pro", "b.pro"}));
    }
    QSettings settings(path, QSettings::IniFormat);
    EXPECT_EQ(settings.value(QStringLiteral("Recent File List/File1")).toString(),
              QStringLiteral("c.pro"));
    RecentFiles again(settings);
    EXPECT_EQ(again.files(), (QStringList{"c.pro", "e.pro", "d.pro", "b.pro"}));
    again.remove(QStringLiteral("e.pro"));
    EXPECT_EQ(again.files(), (QStringList{"c.pro", "d.pro", "b.pro"}));
    EXPECT_FALSE(settings.contains(QStringLiteral("Recent File List/File4")));
}

}  // namespace
}  // namespace qn470
