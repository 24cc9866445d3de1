// SPDX-License-Identifier: Apache-2.0
#pragma once

// One row of data per parameter code: where its value lives, how it travels on the wire, how a
// tracker report line is decoded into it and how a profile keeps it. The encoder's block list,
// the profile key order, the decoder and the pages all name codes and look them up here instead of
// repeating any field knowledge.

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <string_view>

namespace qn470 {

// Where a value lives and how it is interpreted.
enum class Storage : uint8_t {
    Unsigned,   // 8/16/32-bit unsigned field of the record
    Signed,     // 8/32-bit signed field (J2..J5, O6)
    FlagBit,    // one bit of ConfigRecord::Flags
    BoolByte,   // a whole byte holding 0 or 1
    Text,       // NUL-terminated char array of the record
    EventText,  // one row of EventTexts
    Firmware,   // FirmwareVersion (O7)
    Hardware,   // HardwareOption (OT)
};

// Conversion of a value inside a set-command line.
enum class Wire : uint8_t {
    None,   // never sent: no block of the series carries it (series_codes.h)
    Dec,    // decimal, signed where the storage is signed
    Bit,    // flag bit as "0" / "1"
    Bool,   // byte as "0" when zero, else "1"
    Hex2,   // byte as two lower-case hex digits
    Hex4,   // 16-bit as four lower-case hex digits
    Text,   // the text as stored
    QText,  // the text inside double quotes
};

// How a report item's value is stored.
enum class Decode : uint8_t {
    None,       // ignored
    Bit,        // first character "0" clears, anything else (empty too) sets
    Int,        // the decimal number, low bits into the field
    Hex2,       // first two characters as lower-case hex digits
    Hex4,       // first four characters as lower-case hex digits
    Weekday,    // Hex2, then only the low 7 bits kept
    Text,       // copied, cut to the field
    WholeText,  // O3 / ON: stored only when at most 31 characters and ending in "!"
};

enum class ProfileUse : uint8_t {
    ReadWrite,
    WriteOnly,  // written to profiles, never read back (T0..T3, U0..U2)
    None,       // neither written nor read (C4, E8)
};

// Accepted decoded numbers: min <= n <= max, and with portRule only 0 (no port), 80 or a port
// from 1024 up.
struct Condition {
    static constexpr int64_t kNoPort = 0;
    static constexpr int64_t kHttpPort = 80;
    static constexpr int64_t kFirstFreePort = 1024;

    int64_t min = std::numeric_limits<int64_t>::min();
    int64_t max = std::numeric_limits<int64_t>::max();
    bool portRule = false;

    constexpr bool accepts(int64_t n) const {
        return n >= min && n <= max &&
               (!portRule || n == kNoPort || n == kHttpPort || n >= kFirstFreePort);
    }
};

struct Parameter {
    std::string_view code;
    Storage storage;
    uint16_t offset;  // byte offset in the record; the row index for EventText
    uint8_t size;     // field width in bytes, or the char array size for texts
    uint32_t flagMask;
    Wire wire;
    Decode decode;
    Condition condition;
    ProfileUse profile;
    std::string_view profileKey;  // the key in a profile file (differs from the code for some)
    int64_t defaultNumber;        // the value a profile without this key gives
    std::string_view defaultText;
    bool endsReport;  // a report line carrying this code is the last one

    bool isText() const {
        return storage == Storage::Text || storage == Storage::EventText ||
               storage == Storage::Firmware;
    }
    // The most characters the field holds (its array size less the terminator).
    int maxTextLength() const { return size - 1; }
};

// How many rows the table has.
inline constexpr std::size_t kParameterCount = 255;

// Every parameter, in record order (flags first, event texts last).
std::span<const Parameter> allParameters();

// A set of parameters, indexed by parameterIndex().
using CodeSet = std::bitset<kParameterCount>;

// The position of a row in allParameters(), 0 .. kParameterCount - 1.
inline std::size_t parameterIndex(const Parameter& p) {
    return static_cast<std::size_t>(&p - allParameters().data());
}

// The row of a code (case-sensitive: "Pa" and "PA" are different codes), or nullptr.
const Parameter* findParameter(std::string_view code);

// Same as findParameter but for a code known to exist; aborts on a programming error.
const Parameter& parameter(std::string_view code);

// The parameter of event message row 0..35 (BA..BQ, BR..BY, Ba..Bk).
const Parameter& eventParameter(int row);

// The default text of event message row 0..35.
std::string_view defaultEventText(int row);

// The placeholder server host that E0 defaults to.
inline constexpr std::string_view kDefaultServerHost = "tracker.example.com";

}  // namespace qn470
