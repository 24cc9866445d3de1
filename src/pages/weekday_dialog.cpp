// SPDX-License-Identifier: Apache-2.0
#include "pages/weekday_dialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "config/hex_text.h"
#include "pages/dialog_buttons.h"

namespace qn470 {
namespace {

struct Day {
    int id;
    const char* text;
    uint8_t bit;
};

constexpr std::array<Day, 7> kDays = {{
    {CWeekday::kSunday, QT_TRANSLATE_NOOP("qn470::CWeekday", "Sunday"), 0x01},
    {CWeekday::kMonday, QT_TRANSLATE_NOOP("qn470::CWeekday", "Monday"), 0x02},
    {CWeekday::kTuesday, QT_TRANSLATE_NOOP("qn470::CWeekday", "Tuesday"), 0x04},
    {CWeekday::kWednesday, QT_TRANSLATE_NOOP("qn470::CWeekday", "Wednesday"), 0x08},
    {CWeekday::kThursday, QT_TRANSLATE_NOOP("qn470::CWeekday", "Thursday"), 0x10},
    {CWeekday::kFriday, QT_TRANSLATE_NOOP("qn470::CWeekday", "Friday"), 0x20},
    {CWeekday::kSaturday, QT_TRANSLATE_NOOP("qn470::CWeekday", "Saturday"), 0x40},
}};

}  // namespace

CWeekday::CWeekday(const QStringList& fieldTexts, QWidget* parent) : CChoiceDialog(parent) {
    setWindowTitle(tr("Choice Weekday"));
    auto* days = new QVBoxLayout;
    days->setSpacing(4);
    for (std::size_t i = 0; i < kDays.size(); ++i) {
        m_days[i] = new QCheckBox(tr(kDays[i].text), this);
        m_days[i]->setObjectName(QString::number(kDays[i].id));
        days->addWidget(m_days[i]);
    }

    // Beside the days, at the top of a column of their own.
    auto* buttons = new QVBoxLayout;
    addApplyCancel(
        *buttons, *this, kSave, kCancel, [this] { save(); }, tr("Save"));

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(days);
    layout->addSpacing(12);
    layout->addLayout(buttons);

    for (const QString& text : fieldTexts) {
        // Lower-case hex only; one digit is the high nibble ("3E" reads as 0x30).
        const uint8_t preset = parseHexByte(text.left(4).toLatin1().toStdString());
        for (std::size_t i = 0; i < kDays.size(); ++i) {
            if ((preset & kDays[i].bit) != 0) {
                m_days[i]->setChecked(true);
            }
        }
    }
}

uint8_t CWeekday::mask() const {
    uint8_t value = 0;
    for (std::size_t i = 0; i < kDays.size(); ++i) {
        if (m_days[i]->isChecked()) {
            value |= kDays[i].bit;
        }
    }
    return value;
}

void CWeekday::save() {
    m_result = QString::fromLatin1(formatHexByte(mask()));
    accept();
}

std::unique_ptr<CChoiceDialog> CWeekday::create(QWidget* parent, const PageContext&,
                                                const ChoiceField& field) {
    QStringList texts;
    if (field.isField()) {
        texts.push_back(field.text);
    }
    return std::make_unique<CWeekday>(texts, parent);
}

}  // namespace qn470
