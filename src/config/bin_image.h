// SPDX-License-Identifier: Apache-2.0
#pragma once

// The *.bin file: the 1392-byte record image with its header filled in: the length (1392) at
// offset 0, the CRC-16/XMODEM of bytes 4..1391 at offset 2 and the format mark 2 at offset 4.

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>

#include "config/atomic_file.h"
#include "config/config_record.h"

namespace qn470 {

inline constexpr uint8_t kBinFormatMark = 2;

using BinImage = std::array<unsigned char, kConfigRecordSize>;

// CRC-16/XMODEM: polynomial 0x1021, initial value 0, no reflection, no final XOR.
uint16_t crc16Xmodem(std::span<const unsigned char> bytes);

// Sets the record's FormatMark, Length and Crc (in that order, the CRC covering the mark), then
// returns the record's bytes.
BinImage binImage(ConfigRecord& record);

// Writes binImage(record) to the file, replacing it only when the whole write succeeded.
FileResult writeBinFile(ConfigRecord& record, const std::filesystem::path& path);

}  // namespace qn470
