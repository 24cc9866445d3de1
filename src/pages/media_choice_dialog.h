// SPDX-License-Identifier: Apache-2.0
#pragma once

// "Choice Report Media": builds a report media byte from SMS, one transport and the report
// format. Fields that read the configuration report cannot change SMS (the box is shown but
// disabled).

#include <QString>
#include <cstdint>

#include "pages/choice_dialog.h"

class QButtonGroup;
class QCheckBox;

namespace qn470 {

class CMedia_Choice : public CChoiceDialog {
    Q_OBJECT

public:
    // Control ids, also the widgets' objectNames.
    enum : int {
        kSms = 1029,
        kTcp = 1085,
        kUdp = 1086,
        kEmail = 1087,
        kHttp = 1088,
        kComPort = 1089,
        kNone = 1090,
        kFormat0 = 1091,
        kFormat1 = 1092,
        kApply = 1,
        kCancel = 2,
    };

    CMedia_Choice(const QString& fieldText, bool smsEnabled, QWidget* parent = nullptr);

    // The byte the controls show now.
    uint8_t value() const;

    // The media text written on "Apply".
    QString resultText() const override { return m_result; }

    static std::unique_ptr<CChoiceDialog> create(QWidget* parent, const PageContext& context,
                                                 const ChoiceField& field);
    static std::unique_ptr<CChoiceDialog> createWithoutSms(QWidget* parent,
                                                           const PageContext& context,
                                                           const ChoiceField& field);

private:
    void apply();

    QCheckBox* m_sms = nullptr;
    QButtonGroup* m_transport = nullptr;
    QButtonGroup* m_format = nullptr;
    QString m_result;
};

}  // namespace qn470
