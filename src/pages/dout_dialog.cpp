// SPDX-License-Identifier: Apache-2.0
#include "pages/dout_dialog.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "config/hex_text.h"
#include "pages/dialog_buttons.h"

namespace qn470 {
namespace {

struct OutputRow {
    const char* label;
    int activate;
    int inactive;
    uint8_t bit;
};

constexpr std::array<OutputRow, CDout::kOutputs> kRows = {{
    {QT_TRANSLATE_NOOP("qn470::CDout", "Output 1 :"), CDout::kOutput1Activate,
     CDout::kOutput1Inactive, 0x02},
    {QT_TRANSLATE_NOOP("qn470::CDout", "Output 2 :"), CDout::kOutput2Activate,
     CDout::kOutput2Inactive, 0x04},
    {QT_TRANSLATE_NOOP("qn470::CDout", "Output 3 :"), CDout::kOutput3Activate,
     CDout::kOutput3Inactive, 0x08},
}};

constexpr uint8_t kAllOutputs = 0x02 | 0x04 | 0x08;

// An exclusive group keeps one button checked; clearing it takes lifting that rule for a moment.
void clear(QAbstractButton* button) {
    QButtonGroup* group = button->group();
    group->setExclusive(false);
    button->setChecked(false);
    group->setExclusive(true);
}

}  // namespace

CDout::CDout(const std::optional<QString>& outputText, QWidget* parent) : CChoiceDialog(parent) {
    setWindowTitle(tr("Dout all"));

    auto* frame = new QGroupBox(tr("Digital Output status"));
    auto* grid = new QGridLayout(frame);
    for (int i = 0; i < kOutputs; ++i) {
        const OutputRow& row = kRows[static_cast<std::size_t>(i)];
        auto* pair = new QButtonGroup(this);
        m_activate[static_cast<std::size_t>(i)] =
            addRadio(row.activate, tr("Activate"), *pair, frame);
        m_inactive[static_cast<std::size_t>(i)] =
            addRadio(row.inactive, tr("Inactive"), *pair, frame);
        grid->addWidget(new QLabel(tr(row.label), frame), i, 0);
        grid->addWidget(m_activate[static_cast<std::size_t>(i)], i, 1);
        grid->addWidget(m_inactive[static_cast<std::size_t>(i)], i, 2);
        connect(m_activate[static_cast<std::size_t>(i)], &QRadioButton::clicked, this,
                [this, i] { outputClicked(i, true); });
        connect(m_inactive[static_cast<std::size_t>(i)], &QRadioButton::clicked, this,
                [this, i] { outputClicked(i, false); });
    }
    m_allOrNone = new QButtonGroup(this);
    m_all = addRadio(kAll, tr("All"), *m_allOrNone, frame);
    m_none = addRadio(kNone, tr("None"), *m_allOrNone, frame);
    grid->addWidget(m_all, kOutputs, 1);
    grid->addWidget(m_none, kOutputs, 2);
    connect(m_all, &QRadioButton::clicked, this, [this] {
        for (int i = 0; i < kOutputs; ++i) {
            setOutput(i, true);
        }
    });
    connect(m_none, &QRadioButton::clicked, this, [this] {
        for (int i = 0; i < kOutputs; ++i) {
            setOutput(i, false);
        }
    });

    auto* buttons = new QHBoxLayout;
    addApplyCancel(*buttons, *this, kApply, kCancel, [this] { apply(); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addLayout(buttons);

    if (outputText) {
        preset(parseHexByte(outputText->left(4).toLatin1().toStdString()));
    }
}

void CDout::preset(uint8_t mask) {
    for (int i = 0; i < kOutputs; ++i) {
        setOutput(i, false);
    }
    // Only the three output bits can be shown; any other bit shows the outputs Inactive.
    if ((mask & ~kAllOutputs) != 0) {
        return;
    }
    for (int i = 0; i < kOutputs; ++i) {
        setOutput(i, (mask & kRows[static_cast<std::size_t>(i)].bit) != 0);
    }
    if (mask == 0) {
        m_none->setChecked(true);
    } else if (mask == kAllOutputs) {
        m_all->setChecked(true);
    }
}

void CDout::setOutput(int output, bool active) {
    const auto i = static_cast<std::size_t>(output);
    (active ? m_activate[i] : m_inactive[i])->setChecked(true);
}

bool CDout::allOutputs(bool active) const {
    for (int i = 0; i < kOutputs; ++i) {
        const auto at = static_cast<std::size_t>(i);
        if (!(active ? m_activate[at] : m_inactive[at])->isChecked()) {
            return false;
        }
    }
    return true;
}

void CDout::outputClicked(int output, bool active) {
    setOutput(output, active);
    clear(active ? m_none : m_all);
    if (allOutputs(active)) {
        (active ? m_all : m_none)->setChecked(true);
    }
}

uint8_t CDout::mask() const {
    uint8_t value = 0;
    for (int i = 0; i < kOutputs; ++i) {
        if (m_activate[static_cast<std::size_t>(i)]->isChecked()) {
            value |= kRows[static_cast<std::size_t>(i)].bit;
        }
    }
    return value;
}

void CDout::apply() {
    m_result = QString::fromLatin1(formatHexByte(mask()));
    accept();
}

std::unique_ptr<CChoiceDialog> CDout::create(QWidget* parent, const PageContext&,
                                             const ChoiceField& field) {
    return std::make_unique<CDout>(field.text, parent);
}

}  // namespace qn470
