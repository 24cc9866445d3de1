// SPDX-License-Identifier: Apache-2.0
#include "pages/action_dialog.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <string_view>

#include "pages/dialog_buttons.h"

namespace qn470 {
namespace {

struct CodeButton {
    int id;
    const char* name;  // what the button shows before its code
    const char* code;  // the two characters it puts into the slot
};

struct CodeRow {
    const char* frame;  // the frame the row sits in
    const char* label;  // the row's label, may be empty
    std::array<CodeButton, 4> buttons;
    int count;
};

// Numbered buttons show their number, the others a word; every one shows its code after it.
constexpr CodeRow kRows[] = {
    {QT_TRANSLATE_NOOP("qn470::CAction", "Stopwatch"),
     QT_TRANSLATE_NOOP("qn470::CAction", "Disable"),
     {{{1139, "0", "84"}, {1140, "1", "85"}, {1141, "2", "86"}, {1142, "3", "87"}}},
     4},
    {QT_TRANSLATE_NOOP("qn470::CAction", "Stopwatch"),
     QT_TRANSLATE_NOOP("qn470::CAction", "Enable"),
     {{{1143, "0", "8c"}, {1144, "1", "8d"}, {1145, "2", "8e"}, {1146, "3", "8f"}}},
     4},
    {QT_TRANSLATE_NOOP("qn470::CAction", "Counter"),
     QT_TRANSLATE_NOOP("qn470::CAction", "Clear"),
     {{{1147, "0", "a0"}, {1148, "1", "a1"}, {1149, "2", "a2"}, {1150, "3", "a3"}}},
     4},
    {QT_TRANSLATE_NOOP("qn470::CAction", "Counter"),
     QT_TRANSLATE_NOOP("qn470::CAction", "Increment"),
     {{{1151, "0", "a8"}, {1152, "1", "a9"}, {1153, "2", "aa"}, {1154, "3", "ab"}}},
     4},
    {QT_TRANSLATE_NOOP("qn470::CAction", "Digital Output"),
     QT_TRANSLATE_NOOP("qn470::CAction", "Inactive"),
     {{{1155, "1", "c1"}, {1156, "2", "c2"}, {1157, "3", "c3"}, {}}},
     3},
    {QT_TRANSLATE_NOOP("qn470::CAction", "Digital Output"),
     QT_TRANSLATE_NOOP("qn470::CAction", "Activate"),
     {{{1158, "1", "c9"}, {1159, "2", "ca"}, {1160, "3", "cb"}, {}}},
     3},
    {QT_TRANSLATE_NOOP("qn470::CAction", "Distance Accumulator"),
     "",
     {{{1162, QT_TRANSLATE_NOOP("qn470::CAction", "Clear"), "40"},
       {1163, QT_TRANSLATE_NOOP("qn470::CAction", "Disable"), "42"},
       {1164, QT_TRANSLATE_NOOP("qn470::CAction", "Enable"), "43"},
       {}}},
     3},
    {QT_TRANSLATE_NOOP("qn470::CAction", "Device"),
     "",
     {{{1166, QT_TRANSLATE_NOOP("qn470::CAction", "Turn off"), "44"},
       {1165, QT_TRANSLATE_NOOP("qn470::CAction", "Turn on"), "45"},
       {},
       {}}},
     2},
    {QT_TRANSLATE_NOOP("qn470::CAction", "Autonomous Geofence"),
     "",
     {{{1167, QT_TRANSLATE_NOOP("qn470::CAction", "Disable"), "48"},
       {1168, QT_TRANSLATE_NOOP("qn470::CAction", "Enable"), "49"},
       {},
       {}}},
     2},
    {QT_TRANSLATE_NOOP("qn470::CAction", "Reset"),
     "",
     {{{1169, QT_TRANSLATE_NOOP("qn470::CAction", "GSM"), "4a"},
       {1170, QT_TRANSLATE_NOOP("qn470::CAction", "Device"), "4b"},
       {},
       {}}},
     2},
};
constexpr CodeButton kNoneButton = {1186, QT_TRANSLATE_NOOP("qn470::CAction", "None"), "00"};

}  // namespace

CAction::CAction(const QString& fieldText, Prompter& prompter, QWidget* parent)
    : CChoiceDialog(parent), m_prompter(prompter) {
    setWindowTitle(tr("Choice Actions"));
    m_codes = new QButtonGroup(this);
    auto* layout = new QVBoxLayout(this);
    auto* frames = new QGridLayout;
    layout->addLayout(frames);

    auto addCode = [this](const CodeButton& b, QWidget* parent) {
        //: A code button: its number or word, then its code, as "Turn off (44)".
        auto* button =
            new QRadioButton(tr("%1 (%2)").arg(tr(b.name), QString::fromLatin1(b.code)), parent);
        button->setObjectName(QString::number(b.id));
        m_codes->addButton(button, b.id);
        return button;
    };

    // Frames with their rows, in two columns: the four-row frames left, the small ones right.
    QGroupBox* frame = nullptr;
    QGridLayout* grid = nullptr;
    int frameCount = 0;
    const char* frameName = nullptr;
    for (const CodeRow& row : kRows) {
        // Rows of one frame follow each other in the table.
        if (frameName == nullptr || std::string_view(frameName) != row.frame) {
            frameName = row.frame;
            frame = new QGroupBox(tr(row.frame), this);
            grid = new QGridLayout(frame);
            grid->setVerticalSpacing(2);
            const int column = frameCount < 3 ? 0 : 1;
            const int line = frameCount < 3 ? frameCount : frameCount - 3;
            frames->addWidget(frame, line, column);
            ++frameCount;
        }
        const int line = grid->rowCount();
        const bool labelled = *row.label != '\0';
        if (labelled) {
            grid->addWidget(new QLabel(tr(row.label), frame), line, 0);
        }
        for (int i = 0; i < row.count; ++i) {
            grid->addWidget(addCode(row.buttons[static_cast<std::size_t>(i)], frame), line,
                            i + (labelled ? 1 : 0));
        }
        grid->setColumnStretch(5, 1);
    }
    auto* none = addCode(kNoneButton, this);
    frames->addWidget(none, 4, 1);

    // The five slots: a radio to make a slot current, an edit holding its code.
    auto* slotBox = new QGridLayout;
    slotBox->addWidget(new QLabel(tr("Action"), this), 0, 0, 1, kActionSlots);
    m_slots = new QButtonGroup(this);
    for (int k = 0; k < kActionSlots; ++k) {
        auto* radio = new QRadioButton(QString::number(k + 1), this);
        radio->setObjectName(QString::number(kSlotRadioIds[static_cast<std::size_t>(k)]));
        m_slots->addButton(radio, k);
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::number(kSlotEditIds[static_cast<std::size_t>(k)]));
        edit->setAccessibleName(tr("Action %1").arg(k + 1));
        edit->setMaxLength(2);
        edit->setFixedWidth(edit->fontMetrics().averageCharWidth() * 4 + 12);
        m_edits[static_cast<std::size_t>(k)] = edit;
        slotBox->addWidget(radio, 1, k);
        slotBox->addWidget(edit, 2, k);
        connect(edit, &QLineEdit::textChanged, this, [this, k] { slotEdited(k); });
    }
    connect(m_slots, &QButtonGroup::idClicked, this, &CAction::selectSlot);
    connect(m_codes, &QButtonGroup::buttonClicked, this, &CAction::codeClicked);

    auto* bottom = new QHBoxLayout;
    bottom->addLayout(slotBox);
    addApplyCancel(*bottom, *this, kApply, kCancel, [this] { apply(); });
    layout->addLayout(bottom);

    // Every slot starts empty; each edit then takes its pair of the field's text through the
    // edit rule, so an unknown pair is reported and leaves "00".
    m_stored.fill(std::string(kNoActionCode));
    const auto pairs = splitActionText(fieldText.toLatin1().toStdString());
    for (int k = 0; k < kActionSlots; ++k) {
        m_edits[static_cast<std::size_t>(k)]->setText(
            QString::fromLatin1(pairs[static_cast<std::size_t>(k)]));
    }
    m_slots->button(0)->setChecked(true);
    selectSlot(0);
}

int CAction::codeRadioId(const QString& code) {
    for (const CodeRow& row : kRows) {
        for (int i = 0; i < row.count; ++i) {
            const CodeButton& b = row.buttons[static_cast<std::size_t>(i)];
            if (code == QLatin1String(b.code)) {
                return b.id;
            }
        }
    }
    return code == QLatin1String(kNoneButton.code) ? kNoneButton.id : 0;
}

// The code of a button, from the table rather than from what the button shows, which a
// translation may change.
QString CAction::codeOfRadio(int id) {
    for (const CodeRow& row : kRows) {
        for (int i = 0; i < row.count; ++i) {
            const CodeButton& b = row.buttons[static_cast<std::size_t>(i)];
            if (b.id == id) {
                return QString::fromLatin1(b.code);
            }
        }
    }
    return id == kNoneButton.id ? QString::fromLatin1(kNoneButton.code) : QString();
}

void CAction::selectSlot(int slot) {
    m_current = slot;
    selectCode(m_edits[static_cast<std::size_t>(slot)]->text());
}

void CAction::selectCode(const QString& code) {
    const int id = codeRadioId(code);
    if (id != 0) {
        m_codes->button(id)->setChecked(true);
        return;
    }
    // No code matches (a half-typed slot): show no code rather than a stale one.
    m_codes->setExclusive(false);
    for (QAbstractButton* button : m_codes->buttons()) {
        button->setChecked(false);
    }
    m_codes->setExclusive(true);
}

void CAction::codeClicked(QAbstractButton* button) {
    m_edits[static_cast<std::size_t>(m_current)]->setText(codeOfRadio(m_codes->id(button)));
}

void CAction::slotEdited(int slot) {
    const std::size_t k = static_cast<std::size_t>(slot);
    const std::string text = m_edits[k]->text().toLatin1().toStdString();
    if (text.size() != 2 || text == m_stored[k]) {
        return;
    }
    if (isValidActionCode(text)) {
        m_stored[k] = text;
        if (slot == m_current) {
            selectCode(QString::fromLatin1(text));
        }
        return;
    }
    m_prompter.message(tr("Invalid Value!"), {}, Prompter::Buttons::Ok, Prompter::Icon::None);
    m_edits[k]->setText(QString::fromLatin1(m_stored[k]));
}

void CAction::apply() {
    m_result = QString::fromLatin1(joinActionSlots(m_stored));
    accept();
}

std::unique_ptr<CChoiceDialog> CAction::create(QWidget* parent, const PageContext& context,
                                               const ChoiceField& field) {
    return std::make_unique<CAction>(field.text, context.prompter, parent);
}

}  // namespace qn470
