// SPDX-License-Identifier: Apache-2.0
#pragma once

// A report media byte says where a report goes: SMS besides at most one network transport, and
// which of the two report formats it uses. Bit 0x40 has no meaning and is never produced.

#include <cstdint>

namespace qn470 {

namespace Media {
inline constexpr uint8_t Sms = 0x01;
inline constexpr uint8_t Tcp = 0x02;
inline constexpr uint8_t Udp = 0x04;
inline constexpr uint8_t Email = 0x08;
inline constexpr uint8_t Http = 0x10;
inline constexpr uint8_t ComPort = 0x20;
inline constexpr uint8_t Format1 = 0x80;
}  // namespace Media

enum class MediaTransport : uint8_t { Tcp, Udp, Email, Http, ComPort, None };

struct MediaChoice {
    bool sms = false;
    MediaTransport transport = MediaTransport::None;
    bool format1 = false;

    // One transport survives when a byte names several: TCP, then UDP, HTTP, COM port. E-mail is
    // never read back from a byte (it cannot be chosen), so a byte with only 0x08 reads as none.
    static MediaChoice fromByte(uint8_t value);
    uint8_t toByte() const;
};

}  // namespace qn470
