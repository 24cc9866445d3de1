// SPDX-License-Identifier: Apache-2.0
// Report lines decoded per second. The lines are what the tracker sends for a whole parameter
// set: every block of a default set, under the report word and with a real checksum.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "config/command_line.h"
#include "config/parameter_table.h"
#include "config/parameter_value.h"
#include "config/report_decoder.h"
#include "config/set_command_encoder.h"

namespace {

using namespace qn470;

ParameterSet defaultSet() {
    ParameterSet set;
    for (const Parameter& p : allParameters()) {
        if (p.isText()) {
            writeText(set, p, p.defaultText);
        } else {
            writeNumber(set, p, p.defaultNumber);
        }
    }
    return set;
}

std::vector<std::string> reportLines() {
    std::vector<std::string> lines;
    for (const LineSlot& slot : SetCommandEncoder::encode(defaultSet()).lines) {
        if (slot.empty()) {
            continue;
        }
        // "KXS,...*QQ!\r\n" -> "KXs,...*<checksum>!"
        const std::size_t star = slot.line.rfind('*');
        lines.push_back(frameWithChecksum("KXs" + slot.line.substr(3, star - 3)));
    }
    return lines;
}

void BM_DecodeReport(benchmark::State& state) {
    const std::vector<std::string> lines = reportLines();
    const ReportDecoder decoder;
    ParameterSet set = defaultSet();
    std::size_t bytes = 0;
    for (const std::string& line : lines) {
        bytes += line.size();
    }
    for (auto _ : state) {
        for (const std::string& line : lines) {
            benchmark::DoNotOptimize(decoder.decode(line, set));
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(lines.size()));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes));
    state.counters["lines"] = static_cast<double>(lines.size());
}
BENCHMARK(BM_DecodeReport);

// The longest lines: one quoted event text each.
void BM_DecodeEventTextLine(benchmark::State& state) {
    const std::string line = frameWithChecksum("KXs,KorvelantQN-470,0,35,BA=\"" +
                                               std::string(defaultEventText(0)) + "\"");
    const ReportDecoder decoder;
    ParameterSet set;
    for (auto _ : state) {
        benchmark::DoNotOptimize(decoder.decode(line, set));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DecodeEventTextLine);

}  // namespace
