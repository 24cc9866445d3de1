// SPDX-License-Identifier: Apache-2.0
#pragma once

// Framing of the lines exchanged with the tracker: set lines carry "QQ" where a checksum would
// be, the load command carries a real one (XOR of every byte before "*").

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qn470 {

inline constexpr std::string_view kCommandHeader = "KXC";
inline constexpr std::string_view kSetHeader = "KXS";
inline constexpr std::string_view kReportMark = "KXs";
inline constexpr std::string_view kDeviceName = "KorvelantQN-470";
inline constexpr std::string_view kLineEnd = "\r\n";

// Both ends read a line into a buffer of this many characters: the tracker takes set lines of up
// to this length, CR LF included, and a client forces a line end once this many characters have
// piled up without one.
inline constexpr std::size_t kLineBufferLength = 250;
// The longest line a tracker sends, CR LF included: one short of a client's buffer, so a whole
// report line never meets a forced line end.
inline constexpr std::size_t kMaxReportLineLength = kLineBufferLength - 1;

// A line's items are separated by commas. An event text holding a comma travels quoted, its first
// comma followed by "$" (the tracker's "$6,$1"): a comma followed by "$" tells a reader that the
// item is a quoted text running to the closing quote that a comma follows. Leading quotes of a
// value are dropped by readers, so no text may start with one.
inline constexpr char kItemSeparator = ',';
inline constexpr char kTextQuote = '"';
inline constexpr char kQuotedCommaMark = '$';
inline constexpr std::string_view kQuotedTextEnd = "\",";

// True when the comma at `comma` is followed by "$", so it stands inside a quoted text.
constexpr bool commaInsideQuotedText(std::string_view text, std::size_t comma) {
    return comma + 1 < text.size() && text[comma + 1] == kQuotedCommaMark;
}

// Where a line's framing starts: the first "*" with "!" three characters after it (two checksum
// characters between). Any other "*" is text, such as that of a report format "SPRXAB27GHn*U!".
// npos when there is none.
constexpr std::size_t findFramingEnd(std::string_view text) {
    for (std::size_t i = 0; i + 3 < text.size(); ++i) {
        if (text[i] == '*' && text[i + 3] == '!') {
            return i;
        }
    }
    return std::string_view::npos;
}

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

// "KXS,KorvelantQN-470," — what every set line for this device starts with.
const std::string& setLineHead();

// setLineHead() + "<mark>,<block>," — the start of a set line before its items.
std::string setLinePrefix(SequenceMark mark, int block);

// Closes a set line: "*QQ!" and CR LF.
inline constexpr std::string_view kSetLineEnd = "*QQ!\r\n";

}  // namespace qn470
