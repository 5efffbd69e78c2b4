// The point count over a page-cached file of about 1 GB (AT_BENCH_LINEAS_MB sets another size),
// side by side with `wc -l` on the same file.
//   analisis-tracks-lineas-bench --count-once PATH   one count as a whole run, for
//                                                     bench/speed_goals.sh
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/bench_files.h"
#include "track/track_file.h"

namespace {

std::int64_t megabytes() {
    const char* env = std::getenv("AT_BENCH_LINEAS_MB");
    return env ? std::atoll(env) : 1024;
}

const std::string& bigFile() {
    // About 70 bytes a line.
    static const std::string path =
        at::bench::trackFile("analisis-tracks-lineas-" + std::to_string(megabytes()) + "mb.plt",
                             megabytes() * 1024 * 1024 / 70);
    return path;
}

double peakRssMb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

void BM_lineas(benchmark::State& state) {
    const auto& path = bigFile();
    const auto bytes = static_cast<std::int64_t>(std::filesystem::file_size(path));
    std::int64_t count = 0;
    for (auto _ : state) {
        count = at::countPointLines(path);
        benchmark::DoNotOptimize(count);
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["points"] = static_cast<double>(count);
    state.counters["peak_rss_mb"] = peakRssMb();
}
BENCHMARK(BM_lineas)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

void BM_wc_l(benchmark::State& state) {
    const auto& path = bigFile();
    const auto bytes = static_cast<std::int64_t>(std::filesystem::file_size(path));
    const std::string command = "wc -l '" + path + "' > /dev/null";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("wc -l failed");
    }
    state.SetBytesProcessed(state.iterations() * bytes);
}
BENCHMARK(BM_wc_l)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--count-once") {
        std::printf("%lld\n", static_cast<long long>(at::countPointLines(argv[2])));
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
