// SPDX-License-Identifier: Apache-2.0
#pragma once

// "Choice Actions": builds an action text of five two-character codes. One of five slots is
// current; clicking a code puts it into that slot. A slot's edit takes only known codes: a
// two-character text that is not one shows "Invalid Value!" and the slot keeps its value.

#include <QString>
#include <array>
#include <string>

#include "config/action_text.h"
#include "pages/choice_dialog.h"

class QAbstractButton;
class QButtonGroup;
class QLineEdit;

namespace qn470 {

class CAction : public CChoiceDialog {
    Q_OBJECT

public:
    static constexpr std::array<int, kActionSlots> kSlotRadioIds = {1225, 1226, 1227, 1228, 1229};
    static constexpr std::array<int, kActionSlots> kSlotEditIds = {1171, 1174, 1175, 1176, 1177};
    enum : int { kApply = 1, kCancel = 2 };

    CAction(const QString& fieldText, Prompter& prompter, QWidget* parent = nullptr);

    // The control id of the code radio for code ("84" -> 1139), or 0 for an unknown code.
    static int codeRadioId(const QString& code);
    static QString codeOfRadio(int id);

    // The slot whose radio is selected (0..4).
    int currentSlot() const { return m_current; }

    QString resultText() const override { return m_result; }

    static std::unique_ptr<CChoiceDialog> create(QWidget* parent, const PageContext& context,
                                                 const ChoiceField& field);

private:
    void selectSlot(int slot);
    void selectCode(const QString& code);
    void codeClicked(QAbstractButton* button);
    void slotEdited(int slot);
    void apply();

    Prompter& m_prompter;
    QButtonGroup* m_codes = nullptr;
    QButtonGroup* m_slots = nullptr;
    std::array<QLineEdit*, kActionSlots> m_edits{};
    std::array<std::string, kActionSlots> m_stored;
    int m_current = 0;
    QString m_result;
};

}  // namespace qn470
