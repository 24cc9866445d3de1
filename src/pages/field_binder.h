// SPDX-License-Identifier: Apache-2.0
#pragma once

// Builds a page's controls from its binding table and does, once for every page, what the table
// says: loading the record into the controls, storing them back with the standard exchange
// prompts, the checks while a number is typed and when its field is left, numbers-only edits,
// and the choice dialogs that open when their field gets the focus.

#include <QObject>
#include <QPointer>
#include <QString>
#include <optional>
#include <vector>

#include "pages/field_binding.h"
#include "pages/page_context.h"
#include "session/page_hooks.h"

class QBoxLayout;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QWidget;

namespace qn470 {

// What a bound control shows: an edit's text, a check box's state or a list's item (-1: none).
struct FieldDisplay {
    QString text;
    bool checked = false;
    int listIndex = -1;

    friend bool operator==(const FieldDisplay&, const FieldDisplay&) = default;
};

class FieldBinder : public QObject {
    Q_OBJECT

public:
    FieldBinder(QWidget& page, const PageContext& context);

    // Creates the group boxes, columns and controls of a PageSpec inside the page.
    void build(const PageSpec& pageSpec);

    // Record -> controls for every row with a conversion.
    void load();

    // Controls -> record. Edits are read in table order; the first one whose text is not a
    // valid value shows its prompt and ends the reading, so it and every edit after it leave
    // their record fields as they were. Check boxes and lists are always stored. The result names
    // that edit's code.
    StoreResult store();

    // The same for the rows with these control ids only (in table order), for a page that
    // shows or keeps just part of its table.
    void loadFields(const std::vector<int>& ids);
    StoreResult storeFields(const std::vector<int>& ids);

    // After this, no check runs and no dialog opens (the page is going away).
    void close() { m_closed = true; }

    QWidget* control(int id) const;
    QLineEdit* edit(int id) const;
    QCheckBox* checkBox(int id) const;
    QComboBox* list(int id) const;
    QGroupBox* group(int index) const;
    const FieldBinding* binding(int id) const;

    // Adds a widget at the foot of a column, e.g. a page's own button.
    void addToColumn(int column, QWidget* widget, Qt::Alignment alignment = {});

    // Adds a widget as a full-width row at the foot of a group box, e.g. a page's own editor.
    void addToGroup(int group, QWidget* widget);

    // The field whose choice dialog is open or was opened last (0 when none yet).
    int choiceField() const { return m_choiceField; }

    // Every row of the table, in table order.
    std::vector<const FieldBinding*> bindings() const;

    // What the row's control would show after loading `set`, as load() fills it; nothing for a
    // row the framework does not load.
    static std::optional<FieldDisplay> display(const FieldBinding& b, const ParameterSet& set);
    // What the row's control shows now (also for a row the framework does not load).
    FieldDisplay shown(int id) const;
    // A display in words, as a list of values can show it: the text, the item, "on" / "off".
    static QString displayText(const FieldBinding& b, const FieldDisplay& display);
    // The row's label and hint as its page shows them, translated (empty when it has none).
    static QString shownLabel(const FieldBinding& b);
    static QString shownHint(const FieldBinding& b);

    // Marks a field as holding another value than the one it is compared with: the control and
    // its label get the dynamic property "changed", the label a colour, and the control's
    // accessible description says so.
    void setChanged(int id, bool changed);
    bool isChanged(int id) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Row {
        FieldBinding binding;
        QWidget* widget = nullptr;
        QLineEdit* edit = nullptr;
        QCheckBox* check = nullptr;
        QComboBox* list = nullptr;
        QLabel* label = nullptr;
        bool changed = false;
    };

    // Where the next field of a group box goes.
    struct GroupLayout {
        QGridLayout* grid = nullptr;
        int fieldColumns = 1;
        bool narrow = false;
        int labelChars = 0;
        int hintChars = 0;
        int firstRow = -1;
        int placed = 0;
        QBoxLayout* inner = nullptr;  // holds the columns of the groups inside this one
        std::vector<QBoxLayout*> innerColumns;
    };

    QWidget* createControl(Row& row);
    void addToGroupColumn(GroupLayout& parent, int column, QWidget* widget);
    void placeRow(Row& row, GroupLayout& layout, QWidget& groupBox);
    void loadRow(Row& row);
    StoreResult storeRows(const std::vector<int>* ids);
    bool storeRow(Row& row, bool& exchanging);
    void checkText(Row& row, const NumberRule& rule);
    void openChoice(int id);
    Row* rowOf(const QObject* widget);
    Row* rowById(int id);

    QWidget& m_page;
    PageContext m_context;
    std::vector<Row> m_rows;
    std::vector<QGroupBox*> m_groups;
    std::vector<QBoxLayout*> m_columns;
    std::vector<GroupLayout> m_groupLayouts;
    QString m_savedText;  // the text a checked edit had when it last got the focus
    int m_savedId = 0;    // ... and which edit that was
    bool m_resetting = false;
    bool m_choiceOpen = false;
    bool m_closed = false;
    int m_choiceField = 0;
    bool m_checkLoadedText = false;  // PageSpec::checkLoadedText
};

}  // namespace qn470
