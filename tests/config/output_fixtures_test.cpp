// SPDX-License-Identifier: Apache-2.0
// The bytes written for a profile, its set lines and its bin image, compared with what the tool
// wrote before a change (tests/data/output), over sets filled at random: reworking the parameter
// table, the profile writer or the encoder must not move a single byte a tracker or a stored
// file sees. tests/data/output/make-fixtures.sh rebuilds the fixtures with a chosen qn470.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "config/bin_image.h"
#include "config/profile.h"
#include "config/set_command_encoder.h"
#include "config/stored_form.h"
#include "support/random_set.h"

namespace qn470 {
namespace {

constexpr int kRecords = 12;
constexpr unsigned kSeed = 4701;

const std::filesystem::path kFolder = std::filesystem::path(QN470_TEST_DATA) / "output";

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::filesystem::path fixture(int record, const char* extension) {
    return kFolder / ("record-" + std::to_string(record) + extension);
}

TEST(OutputFixtures, ProfilesSetLinesAndBinImagesAreByteIdentical) {
    std::mt19937 random(kSeed);
    // QN470_WRITE_OUTPUT_INPUTS=DIR writes the clear-text inputs for make-fixtures.sh.
    const char* inputs = std::getenv("QN470_WRITE_OUTPUT_INPUTS");
    for (int record = 0; record < kRecords; ++record) {
        SCOPED_TRACE("record " + std::to_string(record));
        const std::string text = profileText(randomCheckedSet(random));
        if (inputs != nullptr) {
            std::ofstream(std::filesystem::path(inputs) / fixture(record, ".ini").filename(),
                          std::ios::binary)
                << text;
            continue;
        }
        // The stored inputs, not new ones: the fixtures must not move when the generator's
        // ranges do.
        ParameterSet imported;  // as `qn470 import` reads it
        ASSERT_TRUE(readProfileText(readFile(fixture(record, ".ini")), imported).ok);
        EXPECT_EQ(complementBytes(profileText(imported)), readFile(fixture(record, ".pro")));

        ParameterSet stored;  // as `qn470 encode` and `qn470 bin` read the profile file
        ASSERT_TRUE(readProfileBytes(readFile(fixture(record, ".pro")), stored).ok);
        std::string lines;
        for (const LineSlot& slot : SetCommandEncoder::encode(stored).lines) {
            lines += slot.line;
        }
        EXPECT_EQ(lines, readFile(fixture(record, ".lines")));
        const BinImage image = binImage(stored.record);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(image.data()), image.size()),
                  readFile(fixture(record, ".bin")));
    }
    if (inputs != nullptr) {
        GTEST_SKIP() << "wrote the inputs to " << inputs;
    }
}

}  // namespace
}  // namespace qn470
