// SPDX-License-Identifier: Apache-2.0
#pragma once

// "Trigger source of parking alarm": picks the events that raise the parking alarm as a 16-bit
// mask, one pair of buttons per source (bit set / bit clear), with "All" and "None" to set every
// pair at once. The mask travels as four lower-case hex digits. Opened for no field it starts
// empty and "Apply" only closes.

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

#include "pages/choice_dialog.h"

class QButtonGroup;

namespace qn470 {

class CParking : public CChoiceDialog {
    Q_OBJECT

public:
    // Control ids, also the widgets' objectNames.
    enum : int {
        kInput1Active = 1222,
        kInput1Inactive = 1223,
        kInput2Active = 1220,
        kInput2Inactive = 1221,
        kInput3Active = 1218,
        kInput3Inactive = 1219,
        kMotionMoving = 1205,
        kMotionStatic = 1206,
        kAccActive = 1207,
        kAccInactive = 1208,
        kAll = 1209,
        kNone = 1210,
        kApply = 1,
        kCancel = 2,
    };

    // Every source bit: inputs 1 to 3, the motion sensor and ACC.
    static constexpr uint16_t kAllSources = 0x208e;

    // With a field text the dialog is preset from it and "Apply" gives the new text; without
    // one it starts with nothing selected and "Apply" closes it like "Cancel".
    explicit CParking(const std::optional<QString>& fieldText, QWidget* parent = nullptr);

    // The mask the buttons show now: a bit for every source whose first button is selected.
    uint16_t mask() const;

    bool hasField() const { return m_hasField; }

    QString resultText() const override { return m_result; }

    // Preset from the field's text when opened for a field.
    static std::unique_ptr<CChoiceDialog> create(QWidget* parent, const PageContext& context,
                                                 const ChoiceField& field);

private:
    void sourceClicked(int id);
    void allOrNoneClicked(int id);
    void apply();

    QButtonGroup* m_allOrNone = nullptr;
    std::array<QButtonGroup*, 5> m_sources{};  // one pair per source
    bool m_hasField = false;
    QString m_result;
};

}  // namespace qn470
