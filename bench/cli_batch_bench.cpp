#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "tests/cli/sample_track.h"

// "analisis-tracks-cli resumen" over a batch of 1,000 day-long tracks of about 2,000 points each,
// driven exactly as the program's main does, output text and all. Target: under 2 s a batch.
namespace {

constexpr int kBatchFiles = 1000;

class TrackBatch {
  public:
    TrackBatch() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "analisis-tracks-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            return;
        folder_ = pattern;
        for (int i = 0; i < kBatchFiles; ++i) {
            const std::string path = (folder_ / ("dia" + std::to_string(i) + ".plt")).string();
            std::ofstream(path, std::ios::binary) << at::test::sampleTrackText(
                at::test::kSampleTrackPoints, static_cast<std::uint32_t>(i + 1));
            files_.push_back(path);
        }
    }
    ~TrackBatch() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    const std::vector<std::string>& files() const { return files_; }

  private:
    std::filesystem::path folder_;
    std::vector<std::string> files_;
};

void summaryBatch(benchmark::State& state, bool json) {
    static const TrackBatch batch;
    if (batch.files().size() != kBatchFiles) {
        state.SkipWithError("no se pudo crear la carpeta de pruebas");
        return;
    }
    std::vector<std::string> args = {"resumen"};
    if (json)
        args.push_back("--json");
    args.insert(args.end(), batch.files().begin(), batch.files().end());
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::ostringstream out;
        std::ostringstream err;
        if (at::runCommandLine(args, out, err, at::NumberLocale::comma()) != at::kExitOk) {
            state.SkipWithError(err.str().c_str());
            return;
        }
        bytes = out.str().size();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["archivos"] = kBatchFiles;
    state.counters["bytes_salida"] = static_cast<double>(bytes);
}

void BM_SummaryBatchText(benchmark::State& state) {
    summaryBatch(state, false);
}
void BM_SummaryBatchJson(benchmark::State& state) {
    summaryBatch(state, true);
}

BENCHMARK(BM_SummaryBatchText)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SummaryBatchJson)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
