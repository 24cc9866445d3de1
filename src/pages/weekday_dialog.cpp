#include "pages/weekday_dialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/hex_text.h"

namespace qn470 {
namespace {

struct Day {
    int id;
    const char* text;
    uint8_t bit;
};

constexpr std::array<Day, 7> kDays = {{
    {CWeekday::kSunday, "Sunday", 0x01},
    {CWeekday::kMonday, "Monday", 0x02},
    {CWeekday::kTuesday, "Tuesday", 0x04},
    {CWeekday::kWednesday, "Wednesday", 0x08},
    {CWeekday::kThursday, "Thursday", 0x10},
    {CWeekday::kFriday, "Friday", 0x20},
    {CWeekday::kSaturday, "Saturday", 0x40},
}};

}  // namespace

CWeekday::CWeekday(const QStringList& fieldTexts, QWidget* parent) : CChoiceDialog(parent) {
    setWindowTitle(QStringLiteral("Choice Weekday"));
    auto* days = new QVBoxLayout;
    days->setSpacing(4);
    for (std::size_t i = 0; i < kDays.size(); ++i) {
        m_days[i] = new QCheckBox(QString::fromUtf8(kDays[i].text), this);
        m_days[i]->setObjectName(QString::number(kDays[i].id));
        days->addWidget(m_days[i]);
    }

    auto* saveButton = new QPushButton(QStringLiteral("Save"), this);
    saveButton->setObjectName(QString::number(kSave));
    saveButton->setDefault(true);
    auto* cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton->setObjectName(QString::number(kCancel));
    connect(saveButton, &QPushButton::clicked, this, &CWeekday::save);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(saveButton);
    buttons->addWidget(cancelButton);
    buttons->addStretch(1);

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
