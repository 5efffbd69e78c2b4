// The whole analysis of the largest track the window takes (32,761 points) through an in-memory
// window: reading, every step, both profiles' row texts and the summary texts.
#include <benchmark/benchmark.h>

#include "analysis/analysis_pass.h"
#include "analysis/memory_view.h"
#include "bench/bench_files.h"

namespace {

void BM_analysis_pass(benchmark::State& state) {
    at::MemoryAnalysisView view;
    view.path = at::bench::trackFile("analisis-tracks-32761.plt", 32761);
    const auto locale = at::NumberLocale::comma();
    for (auto _ : state) {
        const auto summary = at::runAnalysis(view, locale);
        benchmark::DoNotOptimize(summary);
    }
    state.counters["points"] = 32761;
}
BENCHMARK(BM_analysis_pass)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
