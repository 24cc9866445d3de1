// SPDX-License-Identifier: Apache-2.0
// Fills a parameter set's texts and numbers from arbitrary bytes and builds its set lines. The
// encoder's decode-back guard must be sound (a series it passes decodes into a fresh set as
// exactly the values sent) and must pass every set the value check passes.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "config/default_profile.h"
#include "config/parameter_table.h"
#include "config/parameter_value.h"
#include "config/report_decoder.h"
#include "config/set_command_encoder.h"
#include "config/value_check.h"

namespace {

void check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

// Takes the next value for p off the input: a text up to the next 0xFF byte, or a number from
// the next four bytes.
void fill(qn470::ParameterSet& set, const qn470::Parameter& p, std::string_view& input) {
    if (p.isText()) {
        const std::size_t end = input.find('\xFF');
        qn470::writeText(set, p, input.substr(0, end));
        input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
        return;
    }
    uint32_t n = 0;
    std::memcpy(&n, input.data(), std::min<std::size_t>(4, input.size()));
    input.remove_prefix(std::min<std::size_t>(4, input.size()));
    qn470::writeNumber(set, p, n);
}

std::string valueOf(const qn470::ParameterSet& set, const qn470::Parameter& p) {
    return p.isText() ? qn470::readText(set, p) : std::to_string(qn470::readNumber(set, p));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) {
        return 0;
    }
    qn470::ParameterSet defaults;
    qn470::loadDefaultProfile(defaults);
    qn470::ParameterSet set = defaults;
    // The first byte picks the block whose codes take the input, so every block gets its turn.
    const int block = data[0] % qn470::kEncodedBlockCount;
    std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    for (const std::string& code : qn470::SetCommandEncoder::blockCodes(block)) {
        fill(set, qn470::parameter(code), input);
    }
    const qn470::SetCommandTable table = qn470::SetCommandEncoder::encode(set);
    if (qn470::checkParameterSet(set).empty()) {
        check(table.complete());
    }
    if (!table.complete()) {
        return 0;
    }
    qn470::ParameterSet decoded = defaults;
    for (const qn470::LineSlot& slot : table.lines) {
        if (!slot.empty()) {
            std::string report = slot.line;
            report.replace(0, 3, "KXs");
            qn470::ReportDecoder{}.decode(report, decoded);
        }
    }
    for (const std::string& code : qn470::SetCommandEncoder::blockCodes(block)) {
        const qn470::Parameter& p = qn470::parameter(code);
        if (p.decode != qn470::Decode::None) {
            check(valueOf(decoded, p) == valueOf(set, p));
        }
    }
    return 0;
}
