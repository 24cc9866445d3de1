// SPDX-License-Identifier: Apache-2.0
#include "pages/parking_dialog.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "config/hex_text.h"
#include "pages/dialog_buttons.h"

namespace qn470 {
namespace {

struct Source {
    const char* label;
    uint16_t bit;
    int first;  // selected: the bit is set
    const char* firstText;
    int second;  // selected: the bit is clear
    const char* secondText;
};

constexpr std::array<Source, 5> kSources = {{
    {QT_TRANSLATE_NOOP("qn470::CParking", "Input 1 :"), 0x0002, CParking::kInput1Active,
     QT_TRANSLATE_NOOP("qn470::CParking", "Activate"), CParking::kInput1Inactive,
     QT_TRANSLATE_NOOP("qn470::CParking", "Inactive")},
    {QT_TRANSLATE_NOOP("qn470::CParking", "Input 2 :"), 0x0004, CParking::kInput2Active,
     QT_TRANSLATE_NOOP("qn470::CParking", "Activate"), CParking::kInput2Inactive,
     QT_TRANSLATE_NOOP("qn470::CParking", "Inactive")},
    {QT_TRANSLATE_NOOP("qn470::CParking", "Input 3 :"), 0x0008, CParking::kInput3Active,
     QT_TRANSLATE_NOOP("qn470::CParking", "Activate"), CParking::kInput3Inactive,
     QT_TRANSLATE_NOOP("qn470::CParking", "Inactive")},
    {QT_TRANSLATE_NOOP("qn470::CParking", "Motion Sensor :"), 0x0080, CParking::kMotionMoving,
     QT_TRANSLATE_NOOP("qn470::CParking", "Moving"), CParking::kMotionStatic,
     QT_TRANSLATE_NOOP("qn470::CParking", "Static")},
    {QT_TRANSLATE_NOOP("qn470::CParking", "ACC :"), 0x2000, CParking::kAccActive,
     QT_TRANSLATE_NOOP("qn470::CParking", "Activate"), CParking::kAccInactive,
     QT_TRANSLATE_NOOP("qn470::CParking", "Inactive")},
}};

// Unchecks one button of an exclusive group, which Qt does not do by itself.
void uncheck(QButtonGroup& group, int id) {
    QAbstractButton* button = group.button(id);
    if (button == nullptr || !button->isChecked()) {
        return;
    }
    group.setExclusive(false);
    button->setChecked(false);
    group.setExclusive(true);
}

}  // namespace

CParking::CParking(const std::optional<QString>& fieldText, QWidget* parent)
    : CChoiceDialog(parent), m_hasField(fieldText.has_value()) {
    setWindowTitle(tr("Trigger source of parking alarm"));

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    for (std::size_t i = 0; i < kSources.size(); ++i) {
        const Source& s = kSources[i];
        m_sources[i] = new QButtonGroup(this);
        const int line = static_cast<int>(i);
        grid->addWidget(new QLabel(tr(s.label), this), line, 0);
        grid->addWidget(addRadio(s.first, tr(s.firstText), *m_sources[i], this), line, 1);
        grid->addWidget(addRadio(s.second, tr(s.secondText), *m_sources[i], this), line, 2);
        connect(m_sources[i], &QButtonGroup::idClicked, this, &CParking::sourceClicked);
    }
    m_allOrNone = new QButtonGroup(this);
    const int line = static_cast<int>(kSources.size());
    grid->addWidget(addRadio(kAll, tr("All"), *m_allOrNone, this), line, 1);
    grid->addWidget(addRadio(kNone, tr("None"), *m_allOrNone, this), line, 2);
    connect(m_allOrNone, &QButtonGroup::idClicked, this, &CParking::allOrNoneClicked);

    auto* buttons = new QHBoxLayout;
    addApplyCancel(*buttons, *this, kApply, kCancel, [this] { apply(); });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    if (!m_hasField) {
        return;
    }
    // Only the first four characters count; anything but 0-9 and a-f reads as 0.
    const uint16_t preset = parseHexWord(fieldText->left(5).toLatin1().toStdString());
    if (preset == 0) {
        m_allOrNone->button(kNone)->setChecked(true);
    } else if ((preset & ~kAllSources) == 0) {
        for (std::size_t i = 0; i < kSources.size(); ++i) {
            if ((preset & kSources[i].bit) != 0) {
                m_sources[i]->button(kSources[i].first)->setChecked(true);
            }
        }
    }
    // A mask with bits no source has selects nothing.
}

uint16_t CParking::mask() const {
    uint16_t value = 0;
    for (std::size_t i = 0; i < kSources.size(); ++i) {
        if (m_sources[i]->checkedId() == kSources[i].first) {
            value |= kSources[i].bit;
        }
    }
    return value;
}

void CParking::sourceClicked(int id) {
    bool firstClicked = false;
    bool allFirst = true;
    bool allSecond = true;
    for (std::size_t i = 0; i < kSources.size(); ++i) {
        firstClicked = firstClicked || id == kSources[i].first;
        allFirst = allFirst && m_sources[i]->checkedId() == kSources[i].first;
        allSecond = allSecond && m_sources[i]->checkedId() == kSources[i].second;
    }
    if (firstClicked) {
        uncheck(*m_allOrNone, kNone);
        if (allFirst) {
            m_allOrNone->button(kAll)->setChecked(true);
        }
    } else {
        uncheck(*m_allOrNone, kAll);
        if (allSecond) {
            m_allOrNone->button(kNone)->setChecked(true);
        }
    }
}

void CParking::allOrNoneClicked(int id) {
    for (std::size_t i = 0; i < kSources.size(); ++i) {
        const int pick = id == kAll ? kSources[i].first : kSources[i].second;
        m_sources[i]->button(pick)->setChecked(true);
    }
}

void CParking::apply() {
    if (!m_hasField) {
        reject();  // nothing to write to
        return;
    }
    m_result = QString::fromLatin1(formatHexWord(mask()));
    accept();
}

std::unique_ptr<CChoiceDialog> CParking::create(QWidget* parent, const PageContext&,
                                                const ChoiceField& field) {
    if (field.isField()) {
        return std::make_unique<CParking>(field.text, parent);
    }
    return std::make_unique<CParking>(std::nullopt, parent);
}

}  // namespace qn470
