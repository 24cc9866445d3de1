// SPDX-License-Identifier: Apache-2.0
#pragma once

// A page is a table of field bindings: one row per control, naming its control id, the
// parameter code behind it, how the record's value is shown, how the typed text is checked and
// read back, and which choice dialog (if any) fills it. Label and hint come from the parameter
// texts by code; a page states them only for a control without a code. The binder builds the
// widgets from the rows and does all loading, storing and checking.
//
//   const NumberRule kO2Typing = trackerRule("O2");
//   const FieldBinding kFields[] = {
//       textField(1059, "O5", kDevice),
//       numberField(1057, "O2", kDatalogger, Exchange::Unsigned, &kO2Typing),
//       mediaField(1094, "J6", kBattery),
//       ...
//   };

#include <cstdint>
#include <span>
#include <string_view>

#include "config/parameter_texts.h"
#include "pages/choice_dialog.h"
#include "pages/field_rules.h"

namespace qn470 {

enum class Control : uint8_t { Edit, CheckBox, List };

// How the record's value appears in the control, and goes back.
enum class Conversion : uint8_t {
    None,       // the framework neither loads nor stores it (a page hook may)
    Text,       // the record's text as it stands
    Decimal,    // the record's number in decimal, with a sign for signed fields
    HexByte,    // two lower-case hex digits; read back from the first two characters
    HexWord,    // four lower-case hex digits; read back from the first four characters
    Check,      // checked when non-zero; stores 1 or 0 (or the flag bit)
    ListValue,  // the list item whose value equals the record's number
};

struct ListItem {
    const char* text;
    int64_t value;
};

// What loading does with a record value that no list item has.
enum class UnknownValue : uint8_t { ClearSelection, KeepSelection };

inline constexpr int kHidden = -1;  // group of a control that is created but never shown

struct FieldBinding {
    int id = 0;             // control id; also the widget's objectName
    std::string_view code;  // parameter code; empty for a control without one
    int group = kHidden;    // index into the page's group list
    Control control = Control::Edit;
    Conversion conversion = Conversion::Text;
    const char* label = nullptr;
    const char* hint = nullptr;  // shown beside the control, e.g. "(0 ~ 65535 sec, 0=disable)"
    Exchange exchange = Exchange::Text;
    int maxLength = 0;        // text fields: 0 takes the record field's length
    bool digitsOnly = false;  // typed characters other than digits are dropped
    bool readOnly = false;
    bool loadOnly = false;                // shown but never stored
    const NumberRule* typing = nullptr;   // checked on every change of the text
    const NumberRule* leaving = nullptr;  // checked when the field loses the focus
    ChoiceFactory choice = nullptr;       // opens when the field gets the focus
    std::span<const ListItem> items{};
    UnknownValue unknown = UnknownValue::ClearSelection;
};

// Row builders for the common kinds; adjust a row's members for anything special. Label and hint
// are the code's parameter texts (none for a code no page labels, e.g. a hidden field).
inline FieldBinding textField(int id, std::string_view code, int group, int maxLength = 0) {
    const auto shown = [](std::string_view text) { return text.empty() ? nullptr : text.data(); };
    FieldBinding f;
    f.id = id;
    f.code = code;
    f.group = group;
    if (const ParameterText* texts = findParameterText(code)) {
        f.label = shown(texts->label);
        f.hint = shown(texts->hint);
    }
    f.maxLength = maxLength;
    return f;
}

inline FieldBinding numberField(int id, std::string_view code, int group, Exchange exchange,
                                const NumberRule* typing = nullptr,
                                const NumberRule* leaving = nullptr, bool digitsOnly = true) {
    FieldBinding f = textField(id, code, group);
    f.conversion = Conversion::Decimal;
    f.exchange = exchange;
    f.typing = typing;
    f.leaving = leaving;
    f.digitsOnly = digitsOnly;
    return f;
}

inline FieldBinding checkField(int id, std::string_view code, int group) {
    FieldBinding f = textField(id, code, group);
    f.control = Control::CheckBox;
    f.conversion = Conversion::Check;
    return f;
}

inline FieldBinding listField(int id, std::string_view code, int group,
                              std::span<const ListItem> items) {
    FieldBinding f = textField(id, code, group);
    f.control = Control::List;
    f.conversion = Conversion::ListValue;
    f.items = items;
    return f;
}

inline FieldBinding choiceField(int id, std::string_view code, int group, Conversion conversion,
                                ChoiceFactory choice) {
    FieldBinding f = textField(id, code, group);
    f.conversion = conversion;
    f.choice = choice;
    return f;
}

// The label a page gives a control of its own, one without a parameter code.
constexpr FieldBinding labelled(FieldBinding f, const char* label) {
    f.label = label;
    return f;
}

constexpr FieldBinding hiddenField(FieldBinding f) {
    f.group = kHidden;
    return f;
}

inline constexpr int kNoParent = -1;

// A group box of the page and the column it sits in (columns are filled left to right). A group
// may sit inside an earlier group instead: `column` is then a column inside that group's box,
// above the parent's own fields. A group's fields fill `fieldColumns` label/control pairs side
// by side, row by row in table order.
struct GroupSpec {
    const char* title;
    int column;
    int parent = kNoParent;
    int fieldColumns = 1;
    // Narrow rows: the control sits right after its label's column space, pushed against a
    // column of hints, instead of a column of labels beside a column of controls. Saves width
    // when the longest labels and the widest controls are in different rows.
    bool narrow = false;
    // Labels and hints wider than this many average characters wrap onto more lines at that
    // width (0: they stay on one line). Keeps groups with long labels inside the window.
    int labelChars = 0;
    int hintChars = 0;
};

struct PageSpec {
    std::span<const GroupSpec> groups;
    std::span<const FieldBinding> fields;
    // LoadValues does nothing until the record was filled from a profile or the tracker.
    bool loadNeedsSource = true;
    // Each loaded edit is checked by its typing rule right after it is filled, as if the text
    // had been typed, even when the loaded text equals what the edit showed before.
    bool checkLoadedText = false;
};

}  // namespace qn470
