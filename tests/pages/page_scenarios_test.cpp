// SPDX-License-Identifier: Apache-2.0
// The scenarios every page shares; each page's file holds its table of rows and instantiates them,
// so a case reads "Main/Typing.Field/f1057_70000_typed".

#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <cstring>

#include "page_scenarios.h"

namespace qn470::test {

// Texts compared as Latin-1 bytes, so a failure prints them readably.
std::string latin1(const QString& text) {
    return text.toLatin1().toStdString();
}

// The bytes of `code` are the only ones that may differ.
void expectOnlyChanged(const ConfigRecord& before, const ConfigRecord& after, const char* code) {
    const std::set<std::size_t> allowed = bytesOf({code});
    for (std::size_t offset : changedBytes(before, after)) {
        EXPECT_TRUE(allowed.count(offset)) << "byte " << offset << " changed";
    }
}

TEST_P(LoadAndStore, Field) {
    const LoadRow& r = row();
    writeValue(set, r.code, r.value);
    const ParameterSet loaded = set;
    // A page that fills itself on opening does so whatever the record came from.
    const int sources = table().loadsWithoutSource ? 3 : 1;
    for (int source = 0; source < sources; ++source) {
        set = loaded;
        prompter.messages.clear();
        if (source > 0) {
            registry = PageRegistry{};
        }
        if (source == 2) {
            registry.setLoadedFromDevice();
        }
        open();
        ASSERT_NE(control(r.id), nullptr) << r.id;
        EXPECT_EQ(latin1(shown(control(r.id))), r.shown) << "source " << source;
        EXPECT_TRUE(messages().empty());
        page->StoreValues();
        EXPECT_TRUE(messages().empty());
        if (std::holds_alternative<std::monostate>(r.stored)) {
            EXPECT_TRUE(changedBytes(loaded.record, set.record).empty());
        } else {
            EXPECT_EQ(recordValue(set, r.code, r.stored), describe(r.stored));
            expectOnlyChanged(loaded.record, set.record, r.code);
        }
        EXPECT_EQ(std::memcmp(loaded.firmwareVersion.text, set.firmwareVersion.text,
                              sizeof(set.firmwareVersion.text)),
                  0);
    }
}

TEST_P(Store, Field) {
    const StoreRow& r = row();
    const ParameterSet before = set;
    open();
    ASSERT_NE(control(r.id), nullptr) << r.id;
    put(control(r.id), r.input);
    if (r.shownAfter != nullptr) {
        EXPECT_EQ(latin1(shown(control(r.id))), r.shownAfter);
    }
    EXPECT_TRUE(page->StoreValues().ok);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(recordValue(set, r.code, r.stored), describe(r.stored));
    expectOnlyChanged(before.record, set.record, r.code);
}

TEST_P(Typing, Field) {
    const TypingRow& r = row();
    preset();
    openActive();
    QLineEdit* field = edit(r.id);
    ASSERT_NE(field, nullptr) << r.id;
    const QString keys = QString::fromLatin1(r.keys);
    field->setFocus(Qt::TabFocusReason);
    if (r.how == Input::Appended) {
        field->end(false);
    } else {
        field->selectAll();
    }
    if (r.how == Input::Pasted || r.how == Input::Appended) {
        field->insert(keys);
    } else if (keys.isEmpty()) {
        QTest::keyClick(field, Qt::Key_Backspace);
    } else {
        QTest::keyClicks(field, keys);
    }
    if (r.how == Input::CheckedOnLeaving) {
        EXPECT_TRUE(prompter.messages.empty()) << r.keys;
    }
    if (r.how == Input::Left || r.how == Input::CheckedOnLeaving) {
        // A message box or another program taking the focus is not leaving the field.
        const std::size_t before = prompter.messages.size();
        QFocusEvent away(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QCoreApplication::sendEvent(field, &away);
        EXPECT_EQ(prompter.messages.size(), before);
        leave(r.id);
    }
    EXPECT_EQ(latin1(field->text()), r.text) << r.keys;
    EXPECT_EQ(messages(), oneMessage(r.message)) << r.keys;
}

TEST_P(Choice, Field) {
    const ChoiceRow& r = row();
    preset();
    openActive();
    choices.script = [&r](QDialog& dialog) {
        for (int id : r.clicks) {
            if (id != 0) {
                click(byId<QAbstractButton>(&dialog, id));
            }
        }
        click(byId<QAbstractButton>(&dialog, 1));  // Apply, or Save
        return dialog.result();
    };
    leave(r.id);
    choices.titles.clear();
    edit(r.id)->setFocus(Qt::MouseFocusReason);
    settle();
    ASSERT_EQ(choices.titles.size(), 1u);
    EXPECT_EQ(latin1(choices.titles[0]), r.title);
    if (r.text != nullptr) {
        EXPECT_EQ(latin1(text(r.id)), r.text);
    }
    EXPECT_EQ(page->binder().choiceField(), r.id);
}

TEST_P(Controls, Field) {
    const ControlRow& r = row();
    open();
    QWidget* widget = control(r.id);
    ASSERT_NE(widget, nullptr) << r.id;
    if (r.label != nullptr) {
        const QString label = QString::fromUtf8(r.label);
        EXPECT_EQ(widget->accessibleName().toStdString(), r.label);
        if (auto* box = qobject_cast<QCheckBox*>(widget)) {
            EXPECT_EQ(box->text().toStdString(), r.label);
        } else {
            bool labelled = false;
            for (QLabel* l : page->findChildren<QLabel*>()) {
                labelled = labelled || (l->buddy() == widget && l->text() == label);
            }
            EXPECT_TRUE(labelled);
        }
    }
    if (r.hint != nullptr) {
        EXPECT_EQ(latin1(widget->accessibleDescription()), r.hint);
    }
    if (r.group != nullptr) {
        auto* box = qobject_cast<QGroupBox*>(widget->parentWidget());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(latin1(box->title()), r.group);
    }
    if (r.maxLength != 0) {
        EXPECT_EQ(edit(r.id)->maxLength(), r.maxLength);
    }
}

TEST_P(Unloaded, ShownAndStoredOnClosing) {
    const UnloadedRow& r = row();
    registry = PageRegistry{};
    if (r.code != nullptr) {
        writeValue(set, r.code, r.before);
    }
    open();
    ASSERT_NE(control(r.id), nullptr) << r.id;
    EXPECT_EQ(latin1(shown(control(r.id))), r.shown);
    EXPECT_TRUE(messages().empty());
    if (r.code != nullptr) {
        page->closePage();
        EXPECT_TRUE(messages().empty());
        EXPECT_EQ(recordValue(set, r.code, r.stored), describe(r.stored));
    }
}

TEST_P(WholePage, FitsTheWindowAt1024By768) {
    expectFitsThePageBand(open());
}

}  // namespace qn470::test
