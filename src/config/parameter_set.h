// SPDX-License-Identifier: Apache-2.0
#pragma once

// Everything that travels with one tracker's configuration: the record itself plus the values
// kept beside it. One ParameterSet is owned by the application and passed by reference; tests
// make fresh ones.

#include <cstdint>

#include "config/config_record.h"

namespace qn470 {

// Bits of ConfigRecord::Flags. A bit not listed is never set or read; reading a profile clears it.
namespace Flag {
inline constexpr uint32_t A0 = 1u << 0;   // send confirmation for a command from the server
inline constexpr uint32_t A1 = 1u << 1;   // wait for confirmation from the server
inline constexpr uint32_t PE = 1u << 3;   // distance accumulator
inline constexpr uint32_t V0 = 1u << 4;   // call out SOS phone number 1 on SOS alarm
inline constexpr uint32_t K0 = 1u << 6;   // geofence
inline constexpr uint32_t K1 = 1u << 7;   // autonomous geofence
inline constexpr uint32_t C5 = 1u << 8;   // NMEA output
inline constexpr uint32_t C7 = 1u << 12;  // variable maximum GPS off time
inline constexpr uint32_t A3 = 1u << 15;  // acknowledge with ID string
inline constexpr uint32_t A4 = 1u << 16;  // acknowledgement ID is the IMEI
inline constexpr uint32_t V6 = 1u << 18;  // call out V4 for command N4
inline constexpr uint32_t OR = 1u << 19;  // short SOS key acts as L4
inline constexpr uint32_t Rf = 1u << 21;  // keep GPRS on-line (static)
inline constexpr uint32_t Rl = 1u << 22;  // GPS always on (moving)
inline constexpr uint32_t CB = 1u << 23;  // check GPS off time setting
inline constexpr uint32_t Rn = 1u << 24;  // keep GPRS on-line (moving)
inline constexpr uint32_t E6 = 1u << 25;  // send "OK" after re-connection
inline constexpr uint32_t OG = 1u << 26;  // data buffer
inline constexpr uint32_t O8 = 1u << 27;  // report cell ID if GPS is not fixed
inline constexpr uint32_t A5 = 1u << 29;  // simple command
inline constexpr uint32_t Rd = 1u << 30;  // GPS always on (static)
inline constexpr uint32_t Re = 1u << 31;  // turn off GSM (static)
}  // namespace Flag

// The 36 event message texts: BA..BQ in the first array, BR..BY then Ba..Bk in the second.
struct EventTexts {
    static constexpr int kFirstCount = 17;
    static constexpr int kSecondCount = 19;
    static constexpr int kCount = kFirstCount + kSecondCount;
    static constexpr int kTextSize = 96;  // at most 95 characters and the terminator
    char first[kFirstCount][kTextSize];
    char second[kSecondCount][kTextSize];

    // Row i of the two arrays taken as one sequence (0..16 first, 17..35 second).
    char* row(int index) {
        return index < kFirstCount ? first[index] : second[index - kFirstCount];
    }
    const char* row(int index) const {
        return index < kFirstCount ? first[index] : second[index - kFirstCount];
    }
};

// O7 as the tracker reports it.
struct FirmwareVersion {
    static constexpr int kTextSize = 28;
    char text[kTextSize];
};

// OT: -1 until a profile or the tracker supplies it.
struct HardwareOption {
    int32_t value = -1;
};

struct ParameterSet {
    ConfigRecord record{};
    EventTexts eventTexts{};
    FirmwareVersion firmwareVersion{};
    HardwareOption hardwareOption{};
};

}  // namespace qn470
