// SPDX-License-Identifier: Apache-2.0
// Building the whole set-command table from a parameter set.

#include <benchmark/benchmark.h>

#include "config/default_profile.h"
#include "config/set_command_encoder.h"

namespace {

void BM_EncodeWholeTable(benchmark::State& state) {
    qn470::ParameterSet set;
    qn470::loadDefaultProfile(set);
    qn470::SetCommandTable table;
    for (auto _ : state) {
        qn470::SetCommandEncoder::encode(set, table);
        benchmark::DoNotOptimize(table.lines[70].line.data());
    }
    state.SetItemsProcessed(state.iterations() * qn470::kEncodedBlockCount);
}
BENCHMARK(BM_EncodeWholeTable);

}  // namespace
