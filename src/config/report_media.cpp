// SPDX-License-Identifier: Apache-2.0
#include "config/report_media.h"

namespace qn470 {

MediaChoice MediaChoice::fromByte(uint8_t value) {
    MediaChoice choice;
    choice.sms = (value & Media::Sms) != 0;
    if (value & Media::Tcp) {
        choice.transport = MediaTransport::Tcp;
    } else if (value & Media::Udp) {
        choice.transport = MediaTransport::Udp;
    } else if (value & Media::Http) {
        choice.transport = MediaTransport::Http;
    } else if (value & Media::ComPort) {
        choice.transport = MediaTransport::ComPort;
    }
    choice.format1 = (value & Media::Format1) != 0;
    return choice;
}

uint8_t MediaChoice::toByte() const {
    uint8_t value = sms ? Media::Sms : 0;
    switch (transport) {
        case MediaTransport::Tcp:
            value |= Media::Tcp;
            break;
        case MediaTransport::Udp:
            value |= Media::Udp;
            break;
        case MediaTransport::Email:
            value |= Media::Email;
            break;
        case MediaTransport::Http:
            value |= Media::Http;
            break;
        case MediaTransport::ComPort:
            value |= Media::ComPort;
            break;
        case MediaTransport::None:
            break;
    }
    if (format1) {
        value |= Media::Format1;
    }
    return value;
}

}  // namespace qn470
