// SPDX-License-Identifier: Apache-2.0
#pragma once

// The scenarios every page shares, written once and driven by one table per page: a record value
// loads into its control and an untouched store gives it back; a control's text stores into its
// field and no other byte; typing, pasting and leaving a field; a choice field's dialog fills it;
// each control's label, hint, group and length; what a page shows before any load.
//
// A control's state is compared as text: a line edit's text, "[x]" or "[ ]" for a check box, a
// list's current item or "(none)" when no item is selected. Record values are compared as text too
// (a number in decimal, a text as it stands, raw bytes in hex), so a failure shows both.

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <array>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "page_fixture.h"
#include "pages/page.h"
#include "support/case_name.h"

namespace qn470::test {

inline constexpr const char* kChecked = "[x]";
inline constexpr const char* kUnchecked = "[ ]";
inline constexpr const char* kNoItem = "(none)";

// A field's bytes as stored, in hex ("40 57 ff ff"): where the byte order or the terminator
// matters.
struct Bytes {
    const char* hex;
};

// A record value: none (the default profile's, or "unchanged"), a number, a text, raw bytes.
using Value = std::variant<std::monostate, int64_t, const char*, Bytes>;

// A record value loads into its control; storing the untouched page gives back `stored`, or leaves
// the whole record as it was when `stored` is empty.
struct LoadRow {
    const char* code;
    Value value;
    int id;
    const char* shown;
    Value stored = {};
    const char* name = nullptr;  // where the code and the shown text would not do
};

// Putting `input` into a control (text, check state or list item) and storing writes `stored` into
// `code` and no byte outside it.
struct StoreRow {
    int id;
    const char* input;
    const char* code;
    Value stored;
    const char* shownAfter = nullptr;  // the control's text once `input` is in, where it differs
    const char* name = nullptr;
};

enum class Input {
    Typed,             // focus, select everything, type; text and message right after
    Pasted,            // focus, select everything, paste
    Appended,          // focus, paste after the text
    Left,              // typed, then the focus moves on: text and messages after that
    CheckedOnLeaving,  // as Left, and typing alone raised nothing
};

// An empty `keys` clears the field with Backspace.
struct TypingRow {
    int id;
    Input how;
    const char* keys;
    const char* text;     // the field's text afterwards
    const char* message;  // empty: none
};

// Entering a choice field opens its dialog titled `title`; clicking `clicks` and Apply leaves
// `text` in the field (nullptr: not checked).
struct ChoiceRow {
    int id;
    const char* title;
    const char* text;
    std::array<int, 3> clicks = {};
};

// A control's label (a check box's text), hint, group box and length; nullptr or 0: not checked, ""
// for the hint: none.
struct ControlRow {
    int id;
    const char* label;
    const char* hint = nullptr;
    const char* group = nullptr;
    int maxLength = 0;
};

// Before any load (the record holds `before`), the control shows `shown`; closing the page stores
// `stored` into `code`.
struct UnloadedRow {
    int id;
    const char* shown;
    const char* code = nullptr;
    Value stored = {};
    Value before = {};
};

struct PageTable {
    const char* name;
    std::unique_ptr<CPage> (*make)(const PageContext&);
    int neutral;                              // a plain field the focus can move to
    int neutralAlt;                           // where the focus moves from `neutral` itself
    void (*preset)(ParameterSet&) = nullptr;  // record values typing and choice rows start from
    bool loadsWithoutSource = false;          // opening fills the page whatever the registry says
};

template <typename Page>
std::unique_ptr<CPage> makePage(const PageContext& context) {
    return std::make_unique<Page>(context);
}

template <typename Row>
struct Case {
    const PageTable* page;
    const Row* row;
};

template <typename Row, std::size_t N>
std::vector<Case<Row>> cases(const PageTable& page, const Row (&rows)[N]) {
    std::vector<Case<Row>> out;
    for (const Row& row : rows) {
        out.push_back({&page, &row});
    }
    return out;
}

inline std::string describe(const Value& value) {
    if (const auto* number = std::get_if<int64_t>(&value)) {
        return std::to_string(*number);
    }
    if (const auto* text = std::get_if<const char*>(&value)) {
        return *text;
    }
    if (const auto* bytes = std::get_if<Bytes>(&value)) {
        return bytes->hex;
    }
    return "(none)";
}

// Compares texts, not pointers: equal literals need not share one address (they do not under
// the sanitizers).
inline bool sameText(const char* text, const char* other) {
    return text != nullptr && std::string_view(text) == other;
}

inline std::string shownName(const char* text) {
    if (sameText(text, kChecked)) {
        return "checked";
    }
    if (sameText(text, kUnchecked)) {
        return "unchecked";
    }
    if (sameText(text, kNoItem)) {
        return "no_item";
    }
    // Spaces and marks without a word of their own separate words ("NMEA only", "ABC!").
    std::string name;
    for (const char* c = text; *c != '\0'; ++c) {
        const auto byte = static_cast<unsigned char>(*c);
        const bool kept = (byte < 0x80 && std::isalnum(byte)) || std::strchr("-+.,/()$=*:;", *c);
        name += kept ? *c : '_';
    }
    return name;
}

inline std::string nameOf(const LoadRow& r) {
    if (r.name != nullptr) {
        return r.name;
    }
    if (std::holds_alternative<std::monostate>(r.value)) {
        return caseNames({r.code, "default", shownName(r.shown)});
    }
    // A number is named too where the control shows it otherwise ("Pn_2_checked", "OO_163_a3").
    const auto* number = std::get_if<int64_t>(&r.value);
    if (number != nullptr && std::to_string(*number) != r.shown) {
        return caseNames({r.code, std::to_string(*number), shownName(r.shown)});
    }
    return caseNames({r.code, shownName(r.shown)});
}
inline std::string nameOf(const StoreRow& r) {
    return r.name != nullptr ? std::string(r.name) : caseNames({r.code, shownName(r.input)});
}
inline std::string nameOf(const TypingRow& r) {
    static const char* const kHow[] = {"typed", "pasted", "appended", "left", "left"};
    return caseNames({"f" + std::to_string(r.id), r.keys, kHow[static_cast<int>(r.how)]});
}
inline std::string nameOf(const ChoiceRow& r) {
    return "f" + std::to_string(r.id);
}
inline std::string nameOf(const ControlRow& r) {
    return "f" + std::to_string(r.id);
}
inline std::string nameOf(const UnloadedRow& r) {
    return "f" + std::to_string(r.id);
}

// What a failure prints for a case, instead of its bytes.
template <typename Row>
void PrintTo(const Case<Row>& c, std::ostream* os) {
    *os << c.page->name << " " << nameOf(*c.row);
}
inline void PrintTo(const PageTable* page, std::ostream* os) {
    *os << page->name;
}

struct CaseName {
    template <typename Param>
    std::string operator()(const ::testing::TestParamInfo<Param>& info) const {
        return nameOf(*info.param.row);
    }
};

struct PageName {
    std::string operator()(const ::testing::TestParamInfo<const PageTable*>& info) const {
        return info.param->name;
    }
};

inline void writeValue(ParameterSet& set, const char* code, const Value& value) {
    if (const auto* number = std::get_if<int64_t>(&value)) {
        writeNumber(set, code, *number);
    } else if (const auto* text = std::get_if<const char*>(&value)) {
        writeText(set, code, *text);
    }
}

// The record's value of `code` in the form of `like`.
inline std::string recordValue(const ParameterSet& set, const char* code, const Value& like) {
    if (std::holds_alternative<int64_t>(like)) {
        return std::to_string(readNumber(set, code));
    }
    if (std::holds_alternative<Bytes>(like)) {
        std::string hex;
        for (unsigned char byte : fieldBytes(set, code)) {
            char two[4];
            std::snprintf(two, sizeof two, "%02x", byte);
            hex += hex.empty() ? "" : " ";
            hex += two;
        }
        return hex;
    }
    return readText(set, code);
}

inline QString shown(QWidget* control) {
    if (auto* box = qobject_cast<QCheckBox*>(control)) {
        return QString::fromLatin1(box->isChecked() ? kChecked : kUnchecked);
    }
    if (auto* list = qobject_cast<QComboBox*>(control)) {
        return list->currentIndex() < 0 ? QString::fromLatin1(kNoItem) : list->currentText();
    }
    return qobject_cast<QLineEdit*>(control)->text();
}

inline void put(QWidget* control, const char* text) {
    if (auto* box = qobject_cast<QCheckBox*>(control)) {
        box->setChecked(sameText(text, kChecked));
    } else if (auto* list = qobject_cast<QComboBox*>(control)) {
        list->setCurrentIndex(list->findText(QString::fromLatin1(text)));
    } else {
        qobject_cast<QLineEdit*>(control)->setText(QString::fromLatin1(text));
    }
}

// One shared fixture: the page comes from the case's table.
template <typename Row>
class PageScenario : public PageFixture<CPage>, public ::testing::WithParamInterface<Case<Row>> {
protected:
    std::unique_ptr<CPage> create(const PageContext& context) override {
        return table().make(context);
    }
    const PageTable& table() const { return *this->GetParam().page; }
    const Row& row() const { return *this->GetParam().row; }
    QWidget* control(int id) const { return byId<QWidget>(page.get(), id); }
    void preset() {
        if (table().preset != nullptr) {
            table().preset(set);
        }
    }
    void leave(int id) { leaveTo(id == table().neutral ? table().neutralAlt : table().neutral); }
};

class LoadAndStore : public PageScenario<LoadRow> {};
class Store : public PageScenario<StoreRow> {};
class Typing : public PageScenario<TypingRow> {};
class Choice : public PageScenario<ChoiceRow> {};
class Controls : public PageScenario<ControlRow> {};
class Unloaded : public PageScenario<UnloadedRow> {};

class WholePage : public PageFixture<CPage>,
                  public ::testing::WithParamInterface<const PageTable*> {
protected:
    std::unique_ptr<CPage> create(const PageContext& context) override {
        return GetParam()->make(context);
    }
};

}  // namespace qn470::test
