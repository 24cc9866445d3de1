// SPDX-License-Identifier: Apache-2.0
// Feeds arbitrary bytes to the report decoder: whole, and cut in two at positions taken from the
// input, as a line assembler might hand over pieces of one line.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "config/parameter_set.h"
#include "config/report_decoder.h"

namespace {

void check(int result) {
    if (result != qn470::ReportDecoder::kNotReport && result != qn470::ReportDecoder::kBlock &&
        result != qn470::ReportDecoder::kLastBlock) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const qn470::ReportDecoder decoder;
    qn470::ParameterSet set;
    check(decoder.decode(line, set));

    // A few splits derived from the input itself, so they are reproducible.
    std::size_t seed = size;
    for (int i = 0; i < 3 && size > 1; ++i) {
        seed = seed * 31 + data[seed % size];
        const std::size_t cut = seed % size;
        check(decoder.decode(line.substr(0, cut), set));
        check(decoder.decode(line.substr(cut), set));
    }

    // Texts must stay terminated inside their fields whatever was decoded.
    for (int row = 0; row < qn470::EventTexts::kCount; ++row) {
        if (set.eventTexts.row(row)[qn470::EventTexts::kTextSize - 1] != '\0') {
            std::abort();
        }
    }
    if (set.firmwareVersion.text[qn470::FirmwareVersion::kTextSize - 1] != '\0') {
        std::abort();
    }
    return 0;
}
