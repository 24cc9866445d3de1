// SPDX-License-Identifier: Apache-2.0
#pragma once

// "Dout all": sets the three digital outputs to Activate or Inactive and gives the output mask
// (0x02, 0x04, 0x08 for outputs 1 to 3) as hex byte text. "All" and "None" set every output at
// once and follow what the single outputs show.

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

#include "pages/choice_dialog.h"

class QButtonGroup;
class QRadioButton;

namespace qn470 {

class CDout : public CChoiceDialog {
    Q_OBJECT

public:
    // Control ids, also the widgets' objectNames.
    enum : int {
        kOutput1Activate = 1199,
        kOutput1Inactive = 1200,
        kOutput2Activate = 1201,
        kOutput2Inactive = 1202,
        kOutput3Activate = 1203,
        kOutput3Inactive = 1204,
        kAll = 1205,
        kNone = 1206,
        kApply = 1,
        kCancel = 2,
    };
    static constexpr int kOutputs = 3;

    // outputText: the output status text of the Input / Output page that opens the dialog. A
    // mask the dialog cannot show (a bit other than the three outputs) shows every output
    // Inactive. Without a text nothing is checked.
    explicit CDout(const std::optional<QString>& outputText, QWidget* parent = nullptr);

    // The mask the controls show now.
    uint8_t mask() const;

    // The mask text made by "Apply".
    QString resultText() const override { return m_result; }

    static std::unique_ptr<CChoiceDialog> create(QWidget* parent, const PageContext& context,
                                                 const ChoiceField& field);

private:
    void preset(uint8_t mask);
    void setOutput(int output, bool active);
    void outputClicked(int output, bool active);
    bool allOutputs(bool active) const;
    void apply();

    std::array<QRadioButton*, kOutputs> m_activate{};
    std::array<QRadioButton*, kOutputs> m_inactive{};
    QRadioButton* m_all = nullptr;
    QRadioButton* m_none = nullptr;
    QButtonGroup* m_allOrNone = nullptr;
    QString m_result;
};

}  // namespace qn470
