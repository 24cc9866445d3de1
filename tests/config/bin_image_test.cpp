// SPDX-License-Identifier: Apache-2.0
#include "config/bin_image.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "config/default_profile.h"
#include "config/parameter_set.h"
#include "config/parameter_value.h"
#include "config/temp_folder.h"

namespace qn470 {
namespace {

std::span<const unsigned char> bytesOf(std::string_view s) {
    return {reinterpret_cast<const unsigned char*>(s.data()), s.size()};
}

// The CRC the way the tracker's tools describe it: every byte shifted in from its most
// significant bit, then two zero bytes; independent of the table-free form under test.
uint16_t augmentedCrc(std::span<const unsigned char> bytes) {
    std::vector<unsigned char> message(bytes.begin(), bytes.end());
    message.push_back(0);
    message.push_back(0);
    uint16_t crc = 0;
    for (const unsigned char byte : message) {
        for (int bit = 7; bit >= 0; --bit) {
            const bool top = (crc & 0x8000) != 0;
            crc = static_cast<uint16_t>((crc << 1) | ((byte >> bit) & 1));
            if (top) {
                crc ^= 0x1021;
            }
        }
    }
    return crc;
}

TEST(Crc16Xmodem, KnownValues) {
    struct Case {
        std::string_view data;
        uint16_t crc;
    };
    const Case cases[] = {
        {"123456789", 0x31C3}, {"", 0x0000}, {"A", 0x58E5}, {std::string_view("\0", 1), 0x0000},
        {"\xFF", 0x1EF0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(crc16Xmodem(bytesOf(c.data)), c.crc) << c.data;
        EXPECT_EQ(augmentedCrc(bytesOf(c.data)), c.crc) << c.data;
    }
}

TEST(Crc16Xmodem, MatchesTheBitwiseAugmentedForm) {
    std::mt19937 random(470);
    for (int round = 0; round < 200; ++round) {
        std::vector<unsigned char> data(random() % 1400);
        for (unsigned char& b : data) {
            b = static_cast<unsigned char>(random());
        }
        ASSERT_EQ(crc16Xmodem(data), augmentedCrc(data)) << "length " << data.size();
    }
}

ParameterSet defaulted() {
    ParameterSet set;
    EXPECT_TRUE(loadDefaultProfile(set).ok);
    return set;
}

TEST(BinImage, DefaultedRecordHeader) {
    ParameterSet set = defaulted();
    const BinImage image = binImage(set.record);
    ASSERT_EQ(image.size(), 1392u);
    EXPECT_EQ(image[0], 0x70);
    EXPECT_EQ(image[1], 0x05);
    EXPECT_EQ(image[4], 0x02);
    const uint16_t crc = augmentedCrc(std::span(image).subspan(4));
    EXPECT_EQ(image[2], crc & 0xFF);  // low byte first
    EXPECT_EQ(image[3], crc >> 8);
    // The header fields are set in the record too, and the image is the record byte for byte.
    EXPECT_EQ(set.record.Length, 1392);
    EXPECT_EQ(set.record.Crc, crc);
    EXPECT_EQ(set.record.FormatMark, 2);
    EXPECT_EQ(std::memcmp(image.data(), &set.record, image.size()), 0);
    // Flags and J5 land at their offsets.
    EXPECT_EQ(image[8], 0x09);
    EXPECT_EQ(image[11], 0x24);
    EXPECT_EQ(image[1111], 0xE3);
}

TEST(BinImage, CrcCoversFormatMarkAndEveryByteToTheEnd) {
    ParameterSet set = defaulted();
    set.record.FormatMark = 7;  // overwritten before the CRC is taken
    const BinImage first = binImage(set.record);
    EXPECT_EQ(first[4], 2);
    for (const std::size_t offset : {std::size_t{5}, std::size_t{1111}, std::size_t{1391}}) {
        ParameterSet changed = set;
        reinterpret_cast<unsigned char*>(&changed.record)[offset] ^= 0x01;
        const BinImage second = binImage(changed.record);
        EXPECT_NE(std::memcmp(first.data() + 2, second.data() + 2, 2), 0) << offset;
    }
    // Old header values do not leak into the CRC.
    ParameterSet stale = set;
    stale.record.Length = 1;
    stale.record.Crc = 0xBEEF;
    EXPECT_EQ(binImage(stale.record), first);
}

std::string fileContent(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(BinImage, FileHoldsExactlyTheImage) {
    test::TempFolder folder;
    const auto path = folder / "car1.bin";
    {
        std::ofstream old(path, std::ios::binary);
        old << std::string(3000, 'x');  // longer than the image: must not survive past it
    }
    ParameterSet set = defaulted();
    writeText(set, "O5", "unit 7");
    const FileResult result = writeBinFile(set.record, path);
    ASSERT_TRUE(result.ok) << result.error;
    const BinImage image = binImage(set.record);
    EXPECT_EQ(fileContent(path), std::string(image.begin(), image.end()));
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"car1.bin"});
}

}  // namespace
}  // namespace qn470
