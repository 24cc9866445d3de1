// SPDX-License-Identifier: Apache-2.0
#include "config/bin_image.h"

#include <cstddef>
#include <cstring>
#include <string_view>

namespace qn470 {

uint16_t crc16Xmodem(std::span<const unsigned char> bytes) {
    uint16_t crc = 0;
    for (const unsigned char byte : bytes) {
        crc = static_cast<uint16_t>(crc ^ (byte << 8));
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 0x8000) != 0 ? static_cast<uint16_t>((crc << 1) ^ 0x1021)
                                      : static_cast<uint16_t>(crc << 1);
        }
    }
    return crc;
}

BinImage binImage(ConfigRecord& record) {
    constexpr std::size_t kCrcStart = offsetof(ConfigRecord, FormatMark);
    record.FormatMark = kBinFormatMark;
    record.Length = static_cast<uint16_t>(kConfigRecordSize);
    BinImage image;
    std::memcpy(image.data(), &record, image.size());
    record.Crc = crc16Xmodem(std::span(image).subspan(kCrcStart));
    std::memcpy(image.data(), &record, image.size());
    return image;
}

FileResult writeBinFile(ConfigRecord& record, const std::filesystem::path& path) {
    const BinImage image = binImage(record);
    return writeFileAtomically(
        path, std::string_view(reinterpret_cast<const char*>(image.data()), image.size()));
}

}  // namespace qn470
