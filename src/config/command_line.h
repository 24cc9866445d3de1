#pragma once

// Framing of the lines exchanged with the tracker: set lines carry "QQ" where a checksum would
// be, the load command carries a real one (XOR of every byte before "*").

#include <cstdint>
#include <string>
#include <string_view>

namespace qn470 {

inline constexpr std::string_view kCommandHeader = "KXC";
inline constexpr std::string_view kSetHeader = "KXS";
inline constexpr std::string_view kReportMark = "KXs";
inline constexpr std::string_view kDeviceName = "KorvelantQN-470";
inline constexpr std::string_view kLineEnd = "\r\n";

// Sequence marks of a series of set lines.
enum class SequenceMark : char { Middle = '0', First = '1', Closing = '2' };

// XOR of every byte of body.
uint8_t lineChecksum(std::string_view body);

// The checksum as two upper-case hex digits ("00" for a body that XORs to zero).
std::string checksumDigits(std::string_view body);

// body + "*" + checksum digits + "!" (no line end).
std::string frameWithChecksum(std::string_view body);

// The load command, CR LF included: asks the tracker for its whole parameter set.
const std::string& loadCommand();

// The data-transmission switch lines, CR LF included. Written out so they stay constants; the
// check below keeps them in step with the header and the device name.
inline constexpr std::string_view kTransmissionOnLine = "KXC,KorvelantQN-470,LO*QQ!\r\n";
inline constexpr std::string_view kTransmissionOffLine = "KXC,KorvelantQN-470,LO(0)*QQ!\r\n";

constexpr bool startsWithCommandHeader(std::string_view line) {
    return line.starts_with(kCommandHeader) && line.size() > kCommandHeader.size() + 1 &&
           line.substr(kCommandHeader.size() + 1).starts_with(kDeviceName);
}
static_assert(startsWithCommandHeader(kTransmissionOnLine) &&
              startsWithCommandHeader(kTransmissionOffLine));

// "KXS,KorvelantQN-470,<mark>,<block>," — the start of a set line before its items.
std::string setLinePrefix(SequenceMark mark, int block);

// Closes a set line: "*QQ!" and CR LF.
inline constexpr std::string_view kSetLineEnd = "*QQ!\r\n";

}  // namespace qn470
