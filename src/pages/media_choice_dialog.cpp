// SPDX-License-Identifier: Apache-2.0
#include "pages/media_choice_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "config/hex_text.h"
#include "config/report_media.h"
#include "pages/dialog_buttons.h"

namespace qn470 {
namespace {

struct TransportButton {
    int id;
    const char* text;
    MediaTransport transport;
};

constexpr TransportButton kTransports[] = {
    {CMedia_Choice::kTcp, QT_TRANSLATE_NOOP("qn470::CMedia_Choice", "TCP"), MediaTransport::Tcp},
    {CMedia_Choice::kUdp, QT_TRANSLATE_NOOP("qn470::CMedia_Choice", "UDP"), MediaTransport::Udp},
    {CMedia_Choice::kEmail, QT_TRANSLATE_NOOP("qn470::CMedia_Choice", "E-mail"),
     MediaTransport::Email},
    {CMedia_Choice::kHttp, QT_TRANSLATE_NOOP("qn470::CMedia_Choice", "HTTP"), MediaTransport::Http},
    {CMedia_Choice::kComPort, QT_TRANSLATE_NOOP("qn470::CMedia_Choice", "COM port"),
     MediaTransport::ComPort},
    {CMedia_Choice::kNone, QT_TRANSLATE_NOOP("qn470::CMedia_Choice", "None"), MediaTransport::None},
};

int transportId(MediaTransport transport) {
    for (const TransportButton& b : kTransports) {
        if (b.transport == transport) {
            return b.id;
        }
    }
    return CMedia_Choice::kNone;
}

}  // namespace

CMedia_Choice::CMedia_Choice(const QString& fieldText, bool smsEnabled, QWidget* parent)
    : CChoiceDialog(parent) {
    setWindowTitle(tr("Choice Report Media"));

    auto* frame = new QGroupBox(tr("Choice Report Media type (Multiple Choices ) :"));
    auto* grid = new QGridLayout(frame);

    m_sms = new QCheckBox(tr("SMS"), frame);
    m_sms->setObjectName(QString::number(kSms));
    m_sms->setEnabled(smsEnabled);
    grid->addWidget(new QLabel(tr("Item1:"), frame), 0, 0);
    grid->addWidget(m_sms, 0, 1);

    m_transport = new QButtonGroup(this);
    auto* transports = new QHBoxLayout;
    for (const TransportButton& b : kTransports) {
        QRadioButton* button = addRadio(b.id, tr(b.text), *m_transport, frame);
        button->setEnabled(b.transport != MediaTransport::Email);
        transports->addWidget(button);
    }
    grid->addWidget(new QLabel(tr("Item2:"), frame), 1, 0);
    grid->addLayout(transports, 1, 1);

    m_format = new QButtonGroup(this);
    auto* formats = new QHBoxLayout;
    formats->addWidget(addRadio(kFormat0, tr("Report format 0"), *m_format, frame));
    formats->addWidget(addRadio(kFormat1, tr("Report format 1"), *m_format, frame));
    formats->addStretch(1);
    grid->addWidget(new QLabel(tr("Item3:"), frame), 2, 0);
    grid->addLayout(formats, 2, 1);

    auto* buttons = new QHBoxLayout;
    addApplyCancel(*buttons, *this, kApply, kCancel, [this] { apply(); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addLayout(buttons);

    // Only the first two characters count; anything but 0-9 and a-f reads as 0.
    const MediaChoice choice = MediaChoice::fromByte(parseHexByte(fieldText.toLatin1().data()));
    m_sms->setChecked(choice.sms);
    m_transport->button(transportId(choice.transport))->setChecked(true);
    m_format->button(choice.format1 ? kFormat1 : kFormat0)->setChecked(true);
}

uint8_t CMedia_Choice::value() const {
    MediaChoice choice;
    choice.sms = m_sms->isChecked();
    for (const TransportButton& b : kTransports) {
        if (m_transport->checkedId() == b.id) {
            choice.transport = b.transport;
        }
    }
    choice.format1 = m_format->checkedId() == kFormat1;
    return choice.toByte();
}

void CMedia_Choice::apply() {
    m_result = QString::fromLatin1(formatHexByte(value()));
    accept();
}

std::unique_ptr<CChoiceDialog> CMedia_Choice::create(QWidget* parent, const PageContext&,
                                                     const ChoiceField& field) {
    return std::make_unique<CMedia_Choice>(field.text, true, parent);
}

std::unique_ptr<CChoiceDialog> CMedia_Choice::createWithoutSms(QWidget* parent, const PageContext&,
                                                               const ChoiceField& field) {
    return std::make_unique<CMedia_Choice>(field.text, false, parent);
}

}  // namespace qn470
