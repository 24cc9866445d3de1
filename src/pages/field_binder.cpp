// SPDX-License-Identifier: Apache-2.0
#include "pages/field_binder.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <algorithm>
#include <functional>
#include <optional>

#include "config/hex_text.h"
#include "config/parameter_value.h"
#include "pages/text_guard.h"

namespace qn470 {
namespace {

// Widths of edits in digits, by what they hold.
constexpr int kNumberChars = 11;
constexpr int kHexChars = 4;
constexpr int kMaxTextChars = 24;

std::string latin1(const QString& text) {
    return text.toLatin1().toStdString();
}

// A group inside another; its parent must come earlier in the list, else it sits in a page
// column like any other.
bool isNested(std::span<const GroupSpec> groups, int index) {
    const int parent = groups[static_cast<std::size_t>(index)].parent;
    return parent >= 0 && parent < index;
}

// Lets a label wider than `chars` average characters wrap onto more lines at that width.
void wrapBeyond(QLabel& label, int chars) {
    if (chars <= 0) {
        return;
    }
    const int width = label.fontMetrics().averageCharWidth() * chars;
    if (label.sizeHint().width() > width) {
        label.setWordWrap(true);
        label.setFixedWidth(width);
    }
}

// Every text a page shows goes through the translator with its English text as the key: the
// parameter texts in one context (they name the same parameter wherever it is shown), what a page
// states itself (group titles, list items, a control without a code) in another. Nothing reads a
// shown text back, so a translation cannot change what is stored.
QString parameterText(const char* text) {
    return QCoreApplication::translate("Parameter", text);
}
QString pageText(const char* text) {
    return QCoreApplication::translate("Page", text);
}

QLabel* hintLabel(const QString& hint, QWidget& groupBox, int chars) {
    auto* label = new QLabel(hint, &groupBox);
    wrapBeyond(*label, chars);
    return label;
}

bool isCheckedEdit(const FieldBinding& b) {
    return b.control == Control::Edit && (b.typing != nullptr || b.leaving != nullptr);
}

// Focus that comes back or goes away with the window (a message box, a closed dialog, switching
// programs) is not the user entering or leaving a field.
bool isWindowFocusChange(Qt::FocusReason reason) {
    return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
}

}  // namespace

FieldBinder::FieldBinder(QWidget& page, const PageContext& context)
    : m_page(page), m_context(context) {}

void FieldBinder::build(const PageSpec& pageSpec) {
    m_checkLoadedText = pageSpec.checkLoadedText;
    int columns = 0;
    for (int g = 0; g < static_cast<int>(pageSpec.groups.size()); ++g) {
        if (!isNested(pageSpec.groups, g)) {
            columns = std::max(columns, pageSpec.groups[g].column + 1);
        }
    }
    auto* top = new QHBoxLayout(&m_page);
    top->setContentsMargins(4, 2, 4, 2);
    top->setSpacing(6);
    for (int c = 0; c < columns; ++c) {
        auto* column = new QVBoxLayout;
        column->setSpacing(4);
        column->addStretch(1);
        top->addLayout(column);
        m_columns.push_back(column);
    }
    top->addStretch(1);
    m_groupLayouts.reserve(pageSpec.groups.size());
    for (const GroupSpec& g : pageSpec.groups) {
        auto* box = new QGroupBox(pageText(g.title), &m_page);
        box->setObjectName(QString::fromUtf8(g.title));
        auto* grid = new QGridLayout(box);
        const bool nested = isNested(pageSpec.groups, static_cast<int>(m_groupLayouts.size()));
        // A group inside another is already framed; it keeps its rows tighter.
        if (nested) {
            grid->setContentsMargins(6, 1, 4, 2);
        } else {
            grid->setContentsMargins(6, 2, 4, 4);
        }
        grid->setHorizontalSpacing(6);
        grid->setVerticalSpacing(2);
        GroupLayout layout;
        layout.grid = grid;
        layout.fieldColumns = std::max(1, g.fieldColumns);
        layout.narrow = g.narrow;
        layout.labelChars = g.labelChars;
        layout.hintChars = g.hintChars;
        for (int c = 0; c < layout.fieldColumns; ++c) {
            grid->setColumnStretch(2 * c + (g.narrow ? 0 : 1), 1);
        }
        if (nested) {
            addToGroupColumn(m_groupLayouts[static_cast<std::size_t>(g.parent)], g.column, box);
        } else {
            addToColumn(g.column, box);
        }
        m_groups.push_back(box);
        m_groupLayouts.push_back(layout);
    }
    m_rows.reserve(pageSpec.fields.size());
    for (const FieldBinding& b : pageSpec.fields) {
        Row row;
        row.binding = b;
        if (row.binding.control == Control::Edit && row.binding.maxLength == 0 &&
            row.binding.conversion == Conversion::Text && !row.binding.code.empty()) {
            row.binding.maxLength = parameter(row.binding.code).maxTextLength();
        }
        row.widget = createControl(row);
        m_rows.push_back(row);
        if (b.group == kHidden || b.group >= static_cast<int>(m_groupLayouts.size())) {
            row.widget->hide();
        } else {
            placeRow(m_rows.back(), m_groupLayouts[static_cast<std::size_t>(b.group)],
                     *m_groups[static_cast<std::size_t>(b.group)]);
        }
    }
    // The Tab key goes down each column, group by group, whatever the table order; through a
    // group's inner groups column by column before the group's own fields.
    QWidget* previous = nullptr;
    const int groupCount = static_cast<int>(pageSpec.groups.size());
    std::function<void(int)> visit = [&](int g) {
        int innerColumns = 0;
        for (int child = g + 1; child < groupCount; ++child) {
            if (pageSpec.groups[child].parent == g) {
                innerColumns = std::max(innerColumns, pageSpec.groups[child].column + 1);
            }
        }
        for (int c = 0; c < innerColumns; ++c) {
            for (int child = g + 1; child < groupCount; ++child) {
                if (pageSpec.groups[child].parent == g && pageSpec.groups[child].column == c) {
                    visit(child);
                }
            }
        }
        for (const Row& row : m_rows) {
            if (row.binding.group != g) {
                continue;
            }
            if (previous != nullptr) {
                QWidget::setTabOrder(previous, row.widget);
            }
            previous = row.widget;
        }
    };
    for (int c = 0; c < columns; ++c) {
        for (int g = 0; g < groupCount; ++g) {
            if (!isNested(pageSpec.groups, g) && pageSpec.groups[g].column == c) {
                visit(g);
            }
        }
    }
}

QWidget* FieldBinder::createControl(Row& row) {
    const FieldBinding& b = row.binding;
    const QString label = shownLabel(b);
    QWidget* widget = nullptr;
    switch (b.control) {
        case Control::Edit: {
            auto* edit = new QLineEdit(&m_page);
            if (b.maxLength > 0) {
                edit->setMaxLength(b.maxLength);
            }
            edit->setReadOnly(b.readOnly);
            if (b.conversion == Conversion::Decimal) {
                // A number shows 0 until something is loaded, so an unloaded page stores zeros.
                edit->setText(QStringLiteral("0"));
            }
            int chars = kMaxTextChars;
            if (b.conversion == Conversion::Decimal) {
                chars = kNumberChars;
            } else if (b.conversion == Conversion::HexByte || b.conversion == Conversion::HexWord) {
                chars = kHexChars;
            } else if (b.maxLength > 0) {
                chars = std::min(kMaxTextChars, b.maxLength + 1);
            }
            edit->setFixedWidth(
                edit->fontMetrics().horizontalAdvance(QString(chars, QLatin1Char('0'))) + 14);
            edit->installEventFilter(this);
            connect(edit, &QLineEdit::textChanged, this, [this, edit] {
                Row* r = rowOf(edit);
                if (r != nullptr && r->binding.typing != nullptr) {
                    checkText(*r, *r->binding.typing);
                }
            });
            if (b.conversion == Conversion::Text && !b.code.empty() && parameter(b.code).isText()) {
                const Parameter* p = &parameter(b.code);
                guardTextCharacters(*edit, m_context.prompter,
                                    [this, p] { return m_closed ? nullptr : p; });
            }
            row.edit = edit;
            widget = edit;
            break;
        }
        case Control::CheckBox:
            row.check = new QCheckBox(label, &m_page);
            widget = row.check;
            break;
        case Control::List: {
            row.list = new QComboBox(&m_page);
            for (const ListItem& item : b.items) {
                row.list->addItem(pageText(item.text), QVariant::fromValue(item.value));
            }
            row.list->setCurrentIndex(b.items.empty() ? -1 : 0);
            widget = row.list;
            break;
        }
    }
    widget->setObjectName(QString::number(b.id));
    if (!label.isEmpty()) {
        widget->setAccessibleName(label);
    }
    if (b.hint != nullptr) {
        widget->setAccessibleDescription(shownHint(b));
    }
    return widget;
}

void FieldBinder::addToGroupColumn(GroupLayout& parent, int column, QWidget* widget) {
    if (parent.inner == nullptr) {
        parent.inner = new QHBoxLayout;
        parent.inner->setSpacing(6);
        parent.grid->addLayout(parent.inner, 0, 0, 1, 2 * parent.fieldColumns);
    }
    while (static_cast<int>(parent.innerColumns.size()) <= column) {
        auto* columnLayout = new QVBoxLayout;
        columnLayout->setSpacing(2);
        columnLayout->addStretch(1);
        parent.inner->addLayout(columnLayout);
        parent.innerColumns.push_back(columnLayout);
    }
    QBoxLayout* layout = parent.innerColumns[static_cast<std::size_t>(column)];
    layout->insertWidget(layout->count() - 1, widget);
}

void FieldBinder::placeRow(Row& row, GroupLayout& layout, QWidget& groupBox) {
    const FieldBinding& b = row.binding;
    QGridLayout& grid = *layout.grid;
    int line = grid.rowCount();
    int column = 0;
    if (layout.fieldColumns > 1) {
        if (layout.firstRow < 0) {
            layout.firstRow = grid.rowCount();
        }
        line = layout.firstRow + layout.placed / layout.fieldColumns;
        column = 2 * (layout.placed % layout.fieldColumns);
    }
    ++layout.placed;
    row.widget->setParent(&groupBox);
    if (b.control == Control::CheckBox) {
        grid.addWidget(row.widget, line, column, 1, 2);
        return;
    }
    QLabel* label = nullptr;
    if (b.label != nullptr) {
        label = new QLabel(shownLabel(b), &groupBox);
        label->setBuddy(row.widget);
        row.label = label;
        wrapBeyond(*label, layout.labelChars);
    }
    if (layout.narrow) {
        auto* cell = new QHBoxLayout;
        cell->setSpacing(6);
        if (label != nullptr) {
            cell->addWidget(label);
        }
        cell->addStretch(1);
        cell->addWidget(row.widget);
        grid.addLayout(cell, line, column);
        if (b.hint != nullptr) {
            grid.addWidget(hintLabel(shownHint(b), groupBox, layout.hintChars), line, column + 1);
        }
        return;
    }
    if (label != nullptr) {
        grid.addWidget(label, line, column);
    }
    // The hint follows its control closely; spare width goes to the right.
    auto* cell = new QHBoxLayout;
    cell->setSpacing(6);
    cell->addWidget(row.widget);
    if (b.hint != nullptr) {
        cell->addWidget(hintLabel(shownHint(b), groupBox, layout.hintChars));
    }
    cell->addStretch(1);
    grid.addLayout(cell, line, column + 1);
}

void FieldBinder::addToColumn(int column, QWidget* widget, Qt::Alignment alignment) {
    QBoxLayout* layout = m_columns.at(static_cast<std::size_t>(column));
    layout->insertWidget(layout->count() - 1, widget, 0, alignment);  // above the closing stretch
}

void FieldBinder::load() {
    for (Row& row : m_rows) {
        loadRow(row);
        const FieldBinding& b = row.binding;
        if (m_checkLoadedText && row.edit != nullptr && b.typing != nullptr &&
            b.conversion != Conversion::None && !b.code.empty()) {
            checkText(row, *b.typing);
        }
    }
}

void FieldBinder::loadRow(Row& row) {
    const std::optional<FieldDisplay> shown = display(row.binding, m_context.parameters);
    if (!shown) {
        return;
    }
    switch (row.binding.conversion) {
        case Conversion::Text:
        case Conversion::Decimal:
        case Conversion::HexByte:
        case Conversion::HexWord:
            row.edit->setText(shown->text);
            break;
        case Conversion::Check:
            row.check->setChecked(shown->checked);
            break;
        case Conversion::ListValue:
            if (shown->listIndex >= 0 || row.binding.unknown == UnknownValue::ClearSelection) {
                row.list->setCurrentIndex(shown->listIndex);
            }
            break;
        case Conversion::None:
            break;
    }
}

std::optional<FieldDisplay> FieldBinder::display(const FieldBinding& b, const ParameterSet& set) {
    if (b.conversion == Conversion::None || b.code.empty()) {
        return std::nullopt;
    }
    const Parameter& p = parameter(b.code);
    FieldDisplay shown;
    switch (b.conversion) {
        case Conversion::Text:
            shown.text = QString::fromLatin1(readText(set, p));
            break;
        case Conversion::Decimal:
            shown.text = QString::number(readNumber(set, p));
            break;
        case Conversion::HexByte:
            shown.text =
                QString::fromLatin1(formatHexByte(static_cast<uint8_t>(readNumber(set, p))));
            break;
        case Conversion::HexWord:
            shown.text =
                QString::fromLatin1(formatHexWord(static_cast<uint16_t>(readNumber(set, p))));
            break;
        case Conversion::Check:
            shown.checked = readNumber(set, p) != 0;
            break;
        case Conversion::ListValue: {
            // The list holds the table's items in order, so the item's position is its index.
            const int64_t value = readNumber(set, p);
            const auto item = std::find_if(b.items.begin(), b.items.end(),
                                           [value](const ListItem& i) { return i.value == value; });
            shown.listIndex = item == b.items.end() ? -1 : static_cast<int>(item - b.items.begin());
            break;
        }
        case Conversion::None:
            break;
    }
    return shown;
}

FieldDisplay FieldBinder::shown(int id) const {
    FieldDisplay shown;
    for (const Row& row : m_rows) {
        if (row.binding.id != id) {
            continue;
        }
        if (row.edit != nullptr) {
            shown.text = row.edit->text();
        } else if (row.check != nullptr) {
            shown.checked = row.check->isChecked();
        } else if (row.list != nullptr) {
            shown.listIndex = row.list->currentIndex();
        }
        break;
    }
    return shown;
}

QString FieldBinder::shownLabel(const FieldBinding& b) {
    if (b.label == nullptr) {
        return {};
    }
    return b.code.empty() ? pageText(b.label) : parameterText(b.label);
}

QString FieldBinder::shownHint(const FieldBinding& b) {
    if (b.hint == nullptr) {
        return {};
    }
    return b.code.empty() ? pageText(b.hint) : parameterText(b.hint);
}

QString FieldBinder::displayText(const FieldBinding& b, const FieldDisplay& display) {
    switch (b.control) {
        case Control::CheckBox:
            return display.checked ? tr("on") : tr("off");
        case Control::List:
            if (display.listIndex >= 0 && display.listIndex < static_cast<int>(b.items.size())) {
                return pageText(b.items[static_cast<std::size_t>(display.listIndex)].text);
            }
            return tr("(no item)");
        case Control::Edit:
            break;
    }
    return display.text;
}

std::vector<const FieldBinding*> FieldBinder::bindings() const {
    std::vector<const FieldBinding*> all;
    all.reserve(m_rows.size());
    for (const Row& row : m_rows) {
        all.push_back(&row.binding);
    }
    return all;
}

void FieldBinder::setChanged(int id, bool changed) {
    Row* row = rowById(id);
    if (row == nullptr || row->changed == changed) {
        return;
    }
    row->changed = changed;
    // A colour only: a bolder label would be wider and could wrap or push the layout.
    static const QString kChangedStyle = QStringLiteral("color: #b34700;");
    QWidget* marked = row->label != nullptr ? static_cast<QWidget*>(row->label) : row->check;
    if (marked != nullptr) {
        marked->setStyleSheet(changed ? kChangedStyle : QString());
        marked->setProperty("changed", changed);
    }
    row->widget->setProperty("changed", changed);
    const QString hint = shownHint(row->binding);
    const QString note = tr("changed");
    row->widget->setAccessibleDescription(!changed         ? hint
                                          : hint.isEmpty() ? note
                                                           : hint + QStringLiteral("; ") + note);
}

bool FieldBinder::isChanged(int id) const {
    for (const Row& row : m_rows) {
        if (row.binding.id == id) {
            return row.changed;
        }
    }
    return false;
}

StoreResult FieldBinder::store() {
    return storeRows(nullptr);
}

void FieldBinder::loadFields(const std::vector<int>& ids) {
    for (Row& row : m_rows) {
        if (std::find(ids.begin(), ids.end(), row.binding.id) != ids.end()) {
            loadRow(row);
        }
    }
}

StoreResult FieldBinder::storeFields(const std::vector<int>& ids) {
    return storeRows(&ids);
}

StoreResult FieldBinder::storeRows(const std::vector<int>* ids) {
    StoreResult result;
    bool exchanging = true;
    for (Row& row : m_rows) {
        if (ids != nullptr && std::find(ids->begin(), ids->end(), row.binding.id) == ids->end()) {
            continue;
        }
        storeRow(row, exchanging);
        // The row that ends the exchange is the refused one; later rows only follow it.
        if (!exchanging && result.ok) {
            const std::string_view code = row.binding.code;
            result = StoreResult::refused(
                QString::fromLatin1(code.data(), static_cast<qsizetype>(code.size())));
        }
    }
    return result;
}

void FieldBinder::addToGroup(int group, QWidget* widget) {
    QGroupBox* box = m_groups.at(static_cast<std::size_t>(group));
    auto* grid = qobject_cast<QGridLayout*>(box->layout());
    widget->setParent(box);
    grid->addWidget(widget, grid->rowCount(), 0, 1, std::max(2, grid->columnCount()));
}

bool FieldBinder::storeRow(Row& row, bool& exchanging) {
    const FieldBinding& b = row.binding;
    if (b.conversion == Conversion::None || b.code.empty() || b.loadOnly) {
        return true;
    }
    const Parameter& p = parameter(b.code);
    ParameterSet& set = m_context.parameters;
    auto refuse = [&](const std::string& message) {
        exchanging = false;
        m_context.prompter.message(QString::fromStdString(message), {}, Prompter::Buttons::Ok,
                                   Prompter::Icon::None);
        return false;
    };
    switch (b.conversion) {
        case Conversion::Text:
        case Conversion::HexByte:
        case Conversion::HexWord: {
            if (!exchanging) {
                return false;
            }
            const QString text = row.edit->text();
            if (b.maxLength > 0 && text.size() > b.maxLength) {
                return refuse(tooLongMessage(b.maxLength));
            }
            if (b.conversion == Conversion::Text) {
                writeText(set, p, latin1(text));
            } else if (b.conversion == Conversion::HexByte) {
                writeNumber(set, p, parseHexByte(latin1(text)));
            } else {
                writeNumber(set, p, parseHexWord(latin1(text)));
            }
            return true;
        }
        case Conversion::Decimal: {
            if (!exchanging) {
                return false;
            }
            const std::optional<int64_t> value =
                parseExchangedNumber(latin1(row.edit->text()), b.exchange);
            if (!value) {
                return refuse(exchangeMessage(b.exchange));
            }
            writeNumber(set, p, *value);
            return true;
        }
        case Conversion::Check:
            writeNumber(set, p, row.check->isChecked() ? 1 : 0);
            return true;
        case Conversion::ListValue:
            // A list showing no item leaves the record's value alone.
            if (row.list->currentIndex() >= 0) {
                writeNumber(set, p, row.list->currentData().toLongLong());
            }
            return true;
        case Conversion::None:
            break;
    }
    return true;
}

void FieldBinder::checkText(Row& row, const NumberRule& rule) {
    if (m_closed || m_resetting) {
        return;
    }
    const CheckResult result = checkNumberText(latin1(row.edit->text()), rule);
    if (result == CheckResult::Ok) {
        return;
    }
    // The reset text is set without checking it again: one failure, one message.
    // Only the edit's own saved text goes back into it: a value loaded into an edit that never
    // had the focus must not take another field's text.
    const QString saved = m_savedId == row.binding.id ? m_savedText : QString();
    m_resetting = true;
    row.edit->setText(rule.reset == ResetTo::SavedText
                          ? saved
                          : QString::fromUtf8(rule.resetText.data(), rule.resetText.size()));
    m_resetting = false;
    m_context.prompter.message(QString::fromStdString(checkMessage(rule, result)), {},
                               Prompter::Buttons::Ok, Prompter::Icon::None);
}

bool FieldBinder::eventFilter(QObject* watched, QEvent* event) {
    if (m_closed) {
        return false;
    }
    Row* row = rowOf(watched);
    if (row == nullptr || row->edit == nullptr) {
        return false;
    }
    const FieldBinding& b = row->binding;
    switch (event->type()) {
        case QEvent::KeyPress: {
            if (!b.digitsOnly || row->edit->isReadOnly()) {
                return false;
            }
            const QString text = static_cast<QKeyEvent*>(event)->text();
            // Printable characters other than digits never reach the edit; control keys do.
            return !text.isEmpty() && text.at(0).isPrint() && !text.at(0).isDigit();
        }
        case QEvent::FocusIn: {
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            if (isCheckedEdit(b)) {
                m_savedText = row->edit->text();
                m_savedId = b.id;
            }
            if (b.choice != nullptr && !m_choiceOpen && !isWindowFocusChange(reason)) {
                // Opened from the event loop, not inside the focus change itself.
                const int id = b.id;
                QMetaObject::invokeMethod(
                    this, [this, id] { openChoice(id); }, Qt::QueuedConnection);
            }
            return false;
        }
        case QEvent::FocusOut: {
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            if (b.leaving != nullptr && !isWindowFocusChange(reason)) {
                checkText(*row, *b.leaving);
            }
            return false;
        }
        default:
            return false;
    }
}

void FieldBinder::openChoice(int id) {
    Row* row = rowById(id);
    if (m_closed || m_choiceOpen || row == nullptr || row->binding.choice == nullptr) {
        return;
    }
    m_choiceOpen = true;
    m_choiceField = id;
    QPointer<QLineEdit> edit = row->edit;
    const std::unique_ptr<CChoiceDialog> dialog =
        row->binding.choice(&m_page, m_context, ChoiceField{row->binding.code, edit->text()});
    const int result = m_context.choices.run(*dialog);
    if (result == QDialog::Accepted && edit) {
        edit->setText(dialog->resultText());
    }
    m_choiceOpen = false;
}

FieldBinder::Row* FieldBinder::rowOf(const QObject* widget) {
    for (Row& row : m_rows) {
        if (row.widget == widget) {
            return &row;
        }
    }
    return nullptr;
}

FieldBinder::Row* FieldBinder::rowById(int id) {
    for (Row& row : m_rows) {
        if (row.binding.id == id) {
            return &row;
        }
    }
    return nullptr;
}

QWidget* FieldBinder::control(int id) const {
    for (const Row& row : m_rows) {
        if (row.binding.id == id) {
            return row.widget;
        }
    }
    return nullptr;
}

QLineEdit* FieldBinder::edit(int id) const {
    return qobject_cast<QLineEdit*>(control(id));
}

QCheckBox* FieldBinder::checkBox(int id) const {
    return qobject_cast<QCheckBox*>(control(id));
}

QComboBox* FieldBinder::list(int id) const {
    return qobject_cast<QComboBox*>(control(id));
}

QGroupBox* FieldBinder::group(int index) const {
    return m_groups.at(static_cast<std::size_t>(index));
}

const FieldBinding* FieldBinder::binding(int id) const {
    for (const Row& row : m_rows) {
        if (row.binding.id == id) {
            return &row.binding;
        }
    }
    return nullptr;
}

}  // namespace qn470
