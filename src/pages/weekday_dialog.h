// SPDX-License-Identifier: Apache-2.0
#pragma once

// "Choice Weekday": picks the days a timer runs on as a 7-bit mask, Sunday the lowest bit. The
// mask travels as a hex byte text; bit 0x80 is never produced.

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

#include "pages/choice_dialog.h"

class QCheckBox;

namespace qn470 {

class CWeekday : public CChoiceDialog {
    Q_OBJECT

public:
    // Control ids, also the widgets' objectNames.
    enum : int {
        kSunday = 1120,
        kMonday = 1118,
        kTuesday = 1119,
        kWednesday = 1121,
        kThursday = 1122,
        kFriday = 1123,
        kSaturday = 1124,
        kSave = 1,
        kCancel = 2,
    };

    // Checks every day set in any of the fields' masks; days are only ever checked here, so
    // several fields give the union of their days. No field: nothing is checked.
    explicit CWeekday(const QStringList& fieldTexts, QWidget* parent = nullptr);

    // The mask the boxes show now.
    uint8_t mask() const;

    // The mask's hex byte text, set by "Save".
    QString resultText() const override { return m_result; }

    // Preset from the field's text when opened for a field; opened for none it starts empty.
    static std::unique_ptr<CChoiceDialog> create(QWidget* parent, const PageContext& context,
                                                 const ChoiceField& field);

private:
    void save();

    std::array<QCheckBox*, 7> m_days{};
    QString m_result;
};

}  // namespace qn470
