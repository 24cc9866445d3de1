// SPDX-License-Identifier: Apache-2.0
#include "config/command_line.h"

namespace qn470 {

uint8_t lineChecksum(std::string_view body) {
    uint8_t x = 0;
    for (char c : body) {
        x ^= static_cast<uint8_t>(c);
    }
    return x;
}

std::string checksumDigits(std::string_view body) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    const uint8_t x = lineChecksum(body);
    return {kHex[x >> 4], kHex[x & 0x0F]};
}

std::string frameWithChecksum(std::string_view body) {
    std::string line(body);
    line += '*';
    line += checksumDigits(body);
    line += '!';
    return line;
}

const std::string& loadCommand() {
    static const std::string line =
        frameWithChecksum(std::string(kCommandHeader) + ',' + std::string(kDeviceName) + ",L0") +
        std::string(kLineEnd);
    return line;
}

const std::string& setLineHead() {
    static const std::string head =
        std::string(kSetHeader) + kItemSeparator + std::string(kDeviceName) + kItemSeparator;
    return head;
}

std::string setLinePrefix(SequenceMark mark, int block) {
    std::string prefix;
    prefix.reserve(32);
    prefix += setLineHead();
    prefix += static_cast<char>(mark);
    prefix += ',';
    prefix += std::to_string(block);
    prefix += ',';
    return prefix;
}

}  // namespace qn470
