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

#include "pages/dialog_buttons.h"

namespace qn470 {
namespace {

struct CodeButton {
    int id;
    const char* text;
};

struct CodeRow {
    const char* frame;  // the frame the row sits in
    const char* label;  // the row's label, may be empty
    std::array<CodeButton, 4> buttons;
    int count;
};

// clang-format off
constexpr CodeRow kRows[] = {
    {"Stopwatch", "Disable", {{{1139, "0 (84)"}, {1140, "1 (85)"}, {1141, "2 (86)"}, {1142, "3 (87)"}}}, 4},
    {"Stopwatch", "Enable", {{{1143, "0 (8c)"}, {1144, "1 (8d)"}, {1145, "2 (8e)"}, {1146, "3 (8f)"}}}, 4},
    {"Counter", "Clear", {{{1147, "0 (a0)"}, {1148, "1 (a1)"}, {1149, "2 (a2)"}, {1150, "3 (a3)"}}}, 4},
    {"Counter", "Increment", {{{1151, "0 (a8)"}, {1152, "1 (a9)"}, {1153, "2 (aa)"}, {1154, "3 (ab)"}}}, 4},
    {"Digital Output", "Inactive", {{{1155, "1 (c1)"}, {1156, "2 (c2)"}, {1157, "3 (c3)"}, {}}}, 3},
    {"Digital Output", "Activate", {{{1158, "1 (c9)"}, {1159, "2 (ca)"}, {1160, "3 (cb)"}, {}}}, 3},
    {"Distance Accumulator", "", {{{1162, "Clear (40)"}, {1163, "Disable (42)"}, {1164, "Enable (43)"}, {}}}, 3},
    {"Device", "", {{{1166, "Turn off (44)"}, {1165, "Turn on (45)"}, {}, {}}}, 2},
    {"Autonomous Geofence", "", {{{1167, "Disable (48)"}, {1168, "Enable (49)"}, {}, {}}}, 2},
    {"Reset", "", {{{1169, "GSM (4a)"}, {1170, "Device (4b)"}, {}, {}}}, 2},
};
// clang-format on
constexpr CodeButton kNoneButton = {1186, "None (00)"};

// A button's code: the two characters before its closing parenthesis.
QString codeOf(const QString& text) {
    const qsizetype close = text.lastIndexOf(QLatin1Char(')'));
    return close >= 2 ? text.mid(close - 2, 2) : QString();
}

}  // namespace

CAction::CAction(const QString& fieldText, Prompter& prompter, QWidget* parent)
    : CChoiceDialog(parent), m_prompter(prompter) {
    setWindowTitle(QStringLiteral("Choice Actions"));
    m_codes = new QButtonGroup(this);
    auto* layout = new QVBoxLayout(this);
    auto* frames = new QGridLayout;
    layout->addLayout(frames);

    auto addCode = [this](const CodeButton& b, QWidget* parent) {
        auto* button = new QRadioButton(QString::fromUtf8(b.text), parent);
        button->setObjectName(QString::number(b.id));
        m_codes->addButton(button, b.id);
        return button;
    };

    // Frames with their rows, in two columns: the four-row frames left, the small ones right.
    QGroupBox* frame = nullptr;
    QGridLayout* grid = nullptr;
    int frameCount = 0;
    for (const CodeRow& row : kRows) {
        if (frame == nullptr || frame->title() != QString::fromUtf8(row.frame)) {
            frame = new QGroupBox(QString::fromUtf8(row.frame), this);
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
            grid->addWidget(new QLabel(QString::fromUtf8(row.label), frame), line, 0);
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
    slotBox->addWidget(new QLabel(QStringLiteral("Action"), this), 0, 0, 1, kActionSlots);
    m_slots = new QButtonGroup(this);
    for (int k = 0; k < kActionSlots; ++k) {
        auto* radio = new QRadioButton(QString::number(k + 1), this);
        radio->setObjectName(QString::number(kSlotRadioIds[static_cast<std::size_t>(k)]));
        m_slots->addButton(radio, k);
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::number(kSlotEditIds[static_cast<std::size_t>(k)]));
        edit->setAccessibleName(QStringLiteral("Action %1").arg(k + 1));
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
            if (codeOf(QString::fromUtf8(b.text)) == code) {
                return b.id;
            }
        }
    }
    return codeOf(QString::fromUtf8(kNoneButton.text)) == code ? kNoneButton.id : 0;
}

// The code of a button, from the table rather than from what the button shows, which a
// translation may change.
QString CAction::codeOfRadio(int id) {
    for (const CodeRow& row : kRows) {
        for (int i = 0; i < row.count; ++i) {
            const CodeButton& b = row.buttons[static_cast<std::size_t>(i)];
            if (b.id == id) {
                return codeOf(QString::fromUtf8(b.text));
            }
        }
    }
    return id == kNoneButton.id ? codeOf(QString::fromUtf8(kNoneButton.text)) : QString();
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
    m_prompter.message(QStringLiteral("Invalid Value!"), {}, Prompter::Buttons::Ok,
                       Prompter::Icon::None);
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
