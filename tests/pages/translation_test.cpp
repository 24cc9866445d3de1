// SPDX-License-Identifier: Apache-2.0
// Every text the window shows goes through the translator. A translator that marks each text it
// translates is installed, the whole window is built, and every view, choice dialog and prompt it
// can open without a tracker is opened: each text shown must carry the mark, so a literal that
// bypasses tr() fails. The window must also still work with every shown text changed.

#include <gtest/gtest.h>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTranslator>
#include <algorithm>
#include <memory>
#include <set>

#include "app/command_window.h"
#include "app/config_tool_app.h"
#include "app/config_tool_view.h"
#include "app/main_frame.h"
#include "app/progress_dialog.h"
#include "app/views/changes_view.h"
#include "app/views/compare_view.h"
#include "app/views/parameter_index.h"
#include "app/views/window_changes.h"
#include "config/parameter_table.h"
#include "page_test_support.h"
#include "pages/action_dialog.h"
#include "pages/page.h"

namespace qn470 {
namespace {

using test::byId;

class MarkingTranslator : public QTranslator {
public:
    bool isEmpty() const override { return false; }
    QString translate(const char* /*context*/, const char* sourceText,
                      const char* /*disambiguation*/, int /*n*/) const override {
        if (sourceText == nullptr || *sourceText == '\0') {
            return {};
        }
        return QStringLiteral("[[") + QString::fromUtf8(sourceText) + QStringLiteral("]]");
    }
};

// Installed while it lives, so the next test sees the English texts again.
class InstalledTranslator {
public:
    InstalledTranslator() { QCoreApplication::installTranslator(&m_translator); }
    ~InstalledTranslator() { QCoreApplication::removeTranslator(&m_translator); }

private:
    MarkingTranslator m_translator;
};

// Every letter stands inside a mark. Data put into a translated template ("Link lost: %1 is
// gone.") stands inside the template's mark; digits and punctuation may stand anywhere.
bool cameThroughTranslator(QString text) {
    static const QRegularExpression innermost(QStringLiteral(R"(\[\[[^\[\]]*\]\])"));
    for (qsizetype length = -1; length != text.size();) {
        length = text.size();
        text.remove(innermost);
    }
    return std::none_of(text.cbegin(), text.cend(), [](QChar c) { return c.isLetter(); });
}

// A list of parameter codes (the SMS templates' list) shows data the tracker knows, not a text.
bool listsCodes(const QComboBox& list) {
    for (int i = 0; i < list.count(); ++i) {
        if (findParameter(list.itemText(i).toStdString()) == nullptr) {
            return false;
        }
    }
    return true;
}

QString nameOf(const QObject* object) {
    return QString::fromLatin1(object->metaObject()->className()) + QLatin1Char('#') +
           object->objectName();
}

// The texts a user sees on a widget, not counting what it holds as data (the contents of edits,
// logs and tables, editable lists such as the port list, lists of codes, lists of matches).
void collect(const QWidget& widget, std::vector<std::pair<QString, QString>>& texts) {
    const QString where = nameOf(&widget);
    const auto add = [&](const char* what, const QString& text) {
        if (!text.isEmpty()) {
            texts.emplace_back(where + QLatin1Char(' ') + QLatin1String(what), text);
        }
    };
    if (widget.isWindow()) {
        add("window title", widget.windowTitle());
    }
    add("tooltip", widget.toolTip());
    add("accessible name", widget.accessibleName());
    add("accessible description", widget.accessibleDescription());
    add("status tip", widget.statusTip());
    add("what's this", widget.whatsThis());
    if (const auto* label = qobject_cast<const QLabel*>(&widget)) {
        add("label", label->text());
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(&widget)) {
        add("button", button->text());
    }
    if (const auto* group = qobject_cast<const QGroupBox*>(&widget)) {
        add("group title", group->title());
    }
    if (const auto* edit = qobject_cast<const QLineEdit*>(&widget)) {
        add("placeholder", edit->placeholderText());
    }
    if (const auto* list = qobject_cast<const QComboBox*>(&widget);
        list && !list->isEditable() && !listsCodes(*list)) {
        for (int i = 0; i < list->count(); ++i) {
            add("list item", list->itemText(i));
        }
    }
    if (const auto* table = qobject_cast<const QTableWidget*>(&widget)) {
        for (int column = 0; column < table->columnCount(); ++column) {
            if (const QTableWidgetItem* header = table->horizontalHeaderItem(column)) {
                add("column title", header->text());
            }
        }
    }
    for (const QAction* action : widget.actions()) {
        add("action", action->text());
        add("action tooltip", action->toolTip());
    }
}

// Each untranslated text of `root` and the widgets and actions inside it, as "where: text".
std::vector<std::string> untranslatedTexts(const QWidget& root) {
    std::vector<std::pair<QString, QString>> texts;
    std::vector<const QWidget*> widgets{&root};
    for (const QWidget* child : root.findChildren<QWidget*>()) {
        widgets.push_back(child);
    }
    for (const QWidget* widget : widgets) {
        collect(*widget, texts);
    }
    for (const QAction* action : root.findChildren<QAction*>()) {
        texts.emplace_back(nameOf(action), action->text());
        texts.emplace_back(nameOf(action) + QStringLiteral(" tooltip"), action->toolTip());
    }
    std::vector<std::string> bad;
    for (const auto& [where, text] : texts) {
        if (!cameThroughTranslator(text)) {
            bad.push_back((where + QStringLiteral(": ") + text).toStdString());
        }
    }
    return bad;
}

// Also records the save dialogs' captions and filters, and answers them with savePath.
class RecordingPrompter : public test::ScriptedPrompter {
public:
    QString saveFileName(const QString& caption, const QString&, const QString& filter) override {
        saveDialogs.push_back({caption, filter});
        return savePath;
    }
    std::vector<QStringList> saveDialogs;
    QString savePath;
};

class TranslationTest : public ::testing::Test {
protected:
    TranslationTest()
        : settings(dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat),
          state(settings, prompter, choices) {
        app = std::make_unique<CconfigToolApp>(state, pageTabs(),
                                               DeviceOptions{PortSource{}, 0, false});
        EXPECT_TRUE(app->initInstance());
    }

    CconfigToolView& view() const { return *app->frame()->view(); }

    // The untranslated texts and captions of the prompts shown so far.
    std::vector<std::string> untranslatedPrompts() const {
        std::vector<std::string> bad;
        for (std::size_t i = 0; i < prompter.messages.size(); ++i) {
            for (const QString& text : {prompter.messages[i], prompter.captions[i]}) {
                if (!cameThroughTranslator(text)) {
                    bad.push_back(text.toStdString());
                }
            }
        }
        return bad;
    }

    InstalledTranslator translator;  // first made, last gone
    QTemporaryDir dir;
    QSettings settings;
    RecordingPrompter prompter;
    test::ScriptedChoices choices;
    AppState state;
    std::unique_ptr<CconfigToolApp> app;
};

TEST(TranslationCheck, TellsMarkedTextsFromLiterals) {
    EXPECT_TRUE(cameThroughTranslator(QStringLiteral("[[Apply]]")));
    EXPECT_TRUE(cameThroughTranslator(QStringLiteral("[[Link lost: pts/3 is gone.]]")));
    EXPECT_TRUE(cameThroughTranslator(QStringLiteral("[[[[Turn off]] (44)]]")));
    EXPECT_TRUE(cameThroughTranslator(QStringLiteral("[[Changes]] (3)")));
    EXPECT_TRUE(cameThroughTranslator(QStringLiteral("1")));
    EXPECT_FALSE(cameThroughTranslator(QStringLiteral("Apply")));
    EXPECT_FALSE(cameThroughTranslator(QStringLiteral("[[Item1:]] SMS")));
    EXPECT_FALSE(cameThroughTranslator(QStringLiteral("0 (8c)")));
    EXPECT_FALSE(cameThroughTranslator(QStringLiteral("[[Save")));

    const InstalledTranslator translator;
    QWidget window;
    window.setWindowTitle(QCoreApplication::translate("Test", "Title"));
    auto* label = new QLabel(QStringLiteral("Literal"), &window);
    label->setObjectName(QStringLiteral("literal"));
    EXPECT_EQ(untranslatedTexts(window), std::vector<std::string>{"QLabel#literal label: Literal"});
}

TEST_F(TranslationTest, TheWindowOnEveryTabAndItsViewsShowOnlyTranslatedTexts) {
    CMainFrame& frame = *app->frame();
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("[[%1]]").arg(QLatin1String(kCaption)));
    for (int tab = 0; tab < kPageCount; ++tab) {
        view().selectTab(tab);
        ASSERT_EQ(view().currentTab(), tab);
        EXPECT_EQ(untranslatedTexts(frame), std::vector<std::string>{}) << "tab " << tab;
    }

    // Start without a port sets the button's text again; the views show their notes for no
    // tracker and for the defaults.
    app->commandWindow()->startStop();
    WindowChanges& changes = app->changes();
    changes.showChanges();
    changes.showCompare();
    changes.compareView()->compareWithTracker();  // not connected
    EXPECT_FALSE(changes.compareView()->trackerNote().isEmpty());
    changes.compareView()->compareWithDefaults();
    EXPECT_FALSE(changes.compareView()->note().isEmpty());
    EXPECT_EQ(untranslatedTexts(*changes.changesView()), std::vector<std::string>{});
    EXPECT_EQ(untranslatedTexts(*changes.compareView()), std::vector<std::string>{});
    EXPECT_EQ(untranslatedTexts(frame), std::vector<std::string>{});

    CProgress progress(app->session(), DeviceSession::Operation::Load, &frame);
    EXPECT_EQ(untranslatedTexts(progress), std::vector<std::string>{});
}

TEST_F(TranslationTest, EveryChoiceDialogShowsOnlyTranslatedTexts) {
    // Each kind of dialog once, made as its field makes it.
    std::set<ChoiceFactory> opened;
    for (const IndexedParameter& p : view().parameterIndex().parameters()) {
        if (!p.binding || p.binding->choice == nullptr ||
            !opened.insert(p.binding->choice).second) {
            continue;
        }
        view().selectTab(p.tab);
        const QByteArray code = p.code.toLatin1();
        const std::unique_ptr<CChoiceDialog> dialog = p.binding->choice(
            view().currentPage(), state.pageContext(),
            ChoiceField{std::string_view(code.constData(), static_cast<std::size_t>(code.size())),
                        QString()});
        EXPECT_EQ(untranslatedTexts(*dialog), std::vector<std::string>{}) << p.code.toStdString();
    }
    // Media with and without SMS, actions, outputs, parking sources, weekdays.
    EXPECT_EQ(opened.size(), 6u);
}

TEST_F(TranslationTest, PromptsAndNoticesOfTheWindowAreTranslated) {
    // A code button still gives its code, whatever it shows; an unknown code is refused.
    CAction action(QStringLiteral("00"), prompter);
    test::click(byId<QAbstractButton>(&action, 1144));
    EXPECT_EQ(byId<QLineEdit>(&action, CAction::kSlotEditIds[0])->text(), QStringLiteral("8d"));
    byId<QLineEdit>(&action, CAction::kSlotEditIds[1])->setText(QStringLiteral("zz"));
    ASSERT_EQ(prompter.messages.size(), 1u);

    // A character a text may not hold.
    QLineEdit* deviceId = byId<QLineEdit>(view().currentPage(), 1059);
    ASSERT_NE(deviceId, nullptr);
    QTest::keyClicks(deviceId, QStringLiteral(","));
    EXPECT_EQ(prompter.messages.size(), 2u);

    // A number past its range while typed.
    QLineEdit* interval = byId<QLineEdit>(view().currentPage(), 1057);
    ASSERT_NE(interval, nullptr);
    interval->clear();
    QTest::keyClicks(interval, QStringLiteral("70000"));
    EXPECT_EQ(prompter.messages.size(), 3u);
    interval->setText(QStringLiteral("60"));

    // "Save log...": the file dialog and the notice after it.
    prompter.savePath = dir.filePath(QStringLiteral("session.log"));
    app->commandWindow()->saveLog();
    ASSERT_EQ(prompter.saveDialogs.size(), 1u);
    for (const QString& text : prompter.saveDialogs[0]) {
        EXPECT_TRUE(cameThroughTranslator(text)) << text.toStdString();
    }
    EXPECT_TRUE(QFile::exists(prompter.savePath));
    EXPECT_TRUE(cameThroughTranslator(app->session().statusText()))
        << app->session().statusText().toStdString();

    // Closing with unsaved changes; the save to a file it offers is cancelled, so the window
    // stays.
    QTest::keyClicks(deviceId, QStringLiteral("Z"));
    prompter.savePath.clear();
    EXPECT_FALSE(app->frame()->close());
    EXPECT_EQ(prompter.messages.size(), 4u);

    EXPECT_EQ(untranslatedPrompts(), std::vector<std::string>{});
}

}  // namespace
}  // namespace qn470
