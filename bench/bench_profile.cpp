// SPDX-License-Identifier: Apache-2.0
// Profile write and read round trip through a real file (atomic write with its flush to the
// disk, then a whole-file read), plus the in-memory text steps on their own.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "config/default_profile.h"
#include "config/parameter_set.h"
#include "config/parameter_value.h"
#include "config/profile.h"

namespace {

using namespace qn470;

// Defaults with every text field filled, so the profile is as long as it gets.
ParameterSet fullSet() {
    ParameterSet set;
    loadDefaultProfile(set);
    writeText(set, "D1", "internet.provider.example");
    writeText(set, "E2", "backup.tracker.example.com");
    writeText(set, "G0", "+4912345678901");
    return set;
}

void BM_ProfileFileRoundTrip(benchmark::State& state) {
    std::string folder = (std::filesystem::temp_directory_path() / "qn470-bench-XXXXXX").string();
    if (::mkdtemp(folder.data()) == nullptr) {
        state.SkipWithError("cannot create a temporary folder");
        return;
    }
    const std::filesystem::path path = std::filesystem::path(folder) / "bench.pro";
    const ParameterSet set = fullSet();
    ParameterSet back;
    for (auto _ : state) {
        if (!writeProfile(set, path).ok || !readProfile(path, back).ok) {
            state.SkipWithError("profile round trip failed");
            break;
        }
        benchmark::DoNotOptimize(back);
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_ProfileFileRoundTrip)->Unit(benchmark::kMillisecond);

void BM_ProfileTextWrite(benchmark::State& state) {
    const ParameterSet set = fullSet();
    for (auto _ : state) {
        benchmark::DoNotOptimize(profileText(set));
    }
}
BENCHMARK(BM_ProfileTextWrite)->Unit(benchmark::kMicrosecond);

void BM_ProfileTextRead(benchmark::State& state) {
    const std::string text = profileText(fullSet());
    ParameterSet set;
    for (auto _ : state) {
        benchmark::DoNotOptimize(readProfileText(text, set));
    }
}
BENCHMARK(BM_ProfileTextRead)->Unit(benchmark::kMicrosecond);

}  // namespace
