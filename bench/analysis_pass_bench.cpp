// The whole analysis of the largest track the window takes (32,761 points) without a window:
// reading, every step, the closing stage's texts, and the result with every point's details; on a
// track sampled every 3 s and on a walk sampled every second.
#include <benchmark/benchmark.h>

#include "analysis/analyse_track.h"
#include "bench/bench_files.h"

namespace {

void BM_analysis_pass(benchmark::State& state) {
    const at::AnalysisInputs inputs{at::bench::trackFile("analisis-tracks-32761.plt", 32761), {}};
    const auto locale = at::NumberLocale::comma();
    for (auto _ : state) {
        const auto result = at::analyseTrack(inputs, locale);
        benchmark::DoNotOptimize(result);
    }
    state.counters["points"] = 32761;
}
BENCHMARK(BM_analysis_pass)->Unit(benchmark::kMillisecond);

// The same number of points walked and sampled every second, with a halt every five minutes.
void BM_analysis_pass_walk(benchmark::State& state) {
    const at::AnalysisInputs inputs{at::bench::walkFile("analisis-tracks-walk-32761.plt", 32761),
                                    {}};
    const auto locale = at::NumberLocale::comma();
    for (auto _ : state) {
        const auto result = at::analyseTrack(inputs, locale);
        benchmark::DoNotOptimize(result);
    }
    state.counters["points"] = 32761;
}
BENCHMARK(BM_analysis_pass_walk)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
