// SPDX-License-Identifier: Apache-2.0
#pragma once

// A fixture for driving one page through its real widgets: a parameter set filled with the
// defaults, a registry that says it came from a profile, scripted prompts and choice dialogs,
// typing and leaving a field as a user does, and the record bytes a store changed.

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <initializer_list>
#include <memory>
#include <set>
#include <string>
#include <type_traits>
#include <vector>

#include "config/default_profile.h"
#include "config/parameter_value.h"
#include "page_test_support.h"
#include "pages/page_context.h"

namespace qn470::test {

// One typed edit of a table-driven typing test.
struct TypingCase {
    int id;
    const char* keys;
    const char* text;     // the field's text afterwards
    const char* message;  // empty: none
    bool leave = false;   // the focus moves on afterwards
};

template <typename Page>
class PageFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(loadDefaultProfile(set).ok);
        registry.setLoadedFromProfile();
    }

    Page& open() {
        page.reset();
        page = create(PageContext{set, registry, prompter, choices});
        page->openPage();
        return *page;
    }
    // Builds the page; a fixture over the base class says which page it builds.
    virtual std::unique_ptr<Page> create(const PageContext& context) {
        if constexpr (std::is_constructible_v<Page, const PageContext&>) {
            return std::make_unique<Page>(context);
        } else {
            return nullptr;
        }
    }
    Page& openActive() {
        open();
        EXPECT_TRUE(showActive(*page));
        return *page;
    }

    QLineEdit* edit(int id) const { return byId<QLineEdit>(page.get(), id); }
    QCheckBox* check(int id) const { return byId<QCheckBox>(page.get(), id); }
    QComboBox* list(int id) const { return byId<QComboBox>(page.get(), id); }
    QString text(int id) const { return edit(id)->text(); }

    // Focus, select everything, type: what a user does to replace a field's text.
    void typeInto(int id, const QString& keys) {
        QLineEdit* field = edit(id);
        field->setFocus(Qt::TabFocusReason);
        field->selectAll();
        QTest::keyClicks(field, keys);
    }
    // Moves the focus to another field, as the Tab key does.
    void leaveTo(int id) { edit(id)->setFocus(Qt::TabFocusReason); }

    std::vector<std::string> messages() const {
        std::vector<std::string> out;
        for (const QString& m : prompter.messages) {
            out.push_back(m.toStdString());
        }
        return out;
    }

    ParameterSet set;
    PageRegistry registry;
    ScriptedPrompter prompter;
    ScriptedChoices choices;
    std::unique_ptr<Page> page;
};

inline std::vector<std::string> oneMessage(const char* message) {
    return *message == '\0' ? std::vector<std::string>{} : std::vector<std::string>{message};
}

// The record offsets whose bytes differ between two records.
inline std::set<std::size_t> changedBytes(const ConfigRecord& a, const ConfigRecord& b) {
    std::set<std::size_t> out;
    const auto* pa = reinterpret_cast<const unsigned char*>(&a);
    const auto* pb = reinterpret_cast<const unsigned char*>(&b);
    for (std::size_t i = 0; i < sizeof(ConfigRecord); ++i) {
        if (pa[i] != pb[i]) {
            out.insert(i);
        }
    }
    return out;
}

// The record offsets of some parameters (a flag names the whole Flags word).
inline std::set<std::size_t> bytesOf(std::initializer_list<const char*> codes) {
    std::set<std::size_t> out;
    for (const char* code : codes) {
        const Parameter& p = parameter(code);
        for (std::size_t i = 0; i < p.size; ++i) {
            out.insert(p.offset + i);
        }
    }
    return out;
}

// The bytes of one record field, as stored.
inline std::vector<unsigned char> fieldBytes(const ParameterSet& set, const char* code) {
    const Parameter& p = parameter(code);
    const auto* bytes = reinterpret_cast<const unsigned char*>(&set.record) + p.offset;
    return {bytes, bytes + p.size};
}

// The band a page gets in the window at 1024 by 768: below the two rows of tabs, above the
// command window at y = 468.
inline constexpr QSize kPageBand{1024, 468 - 66};

// Lays a page out in that band and checks that it needs no more room and that no label or
// check box text is cut.
inline void expectFitsThePageBand(QWidget& page) {
    page.resize(kPageBand);
    page.show();
    page.layout()->activate();
    EXPECT_LE(page.minimumSizeHint().width(), kPageBand.width());
    const int height = page.layout()->hasHeightForWidth()
                           ? page.layout()->totalHeightForWidth(kPageBand.width())
                           : page.minimumSizeHint().height();
    EXPECT_LE(height, kPageBand.height());
    const QRect band(QPoint(), kPageBand);
    for (QLabel* label : page.findChildren<QLabel*>()) {
        if (!label->isVisibleTo(&page)) {
            continue;
        }
        EXPECT_TRUE(band.contains(QRect(label->mapTo(&page, QPoint()), label->size())))
            << label->text().toStdString();
        if (label->wordWrap()) {
            EXPECT_GE(label->height(), label->heightForWidth(label->width()))
                << label->text().toStdString();
        } else {
            EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
        }
    }
    for (QCheckBox* box : page.findChildren<QCheckBox*>()) {
        if (box->isVisibleTo(&page)) {
            EXPECT_GE(box->width(), box->sizeHint().width()) << box->text().toStdString();
            EXPECT_TRUE(band.contains(QRect(box->mapTo(&page, QPoint()), box->size())));
        }
    }
}

}  // namespace qn470::test
