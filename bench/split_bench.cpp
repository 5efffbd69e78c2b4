// Splitting a page-cached track file, beside `split -l` on the same file.
//
//   analisis-tracks-split-bench                       a 32 MB source, about a second each
//   AT_SPLIT_BENCH_MB=1000 analisis-tracks-split-bench  the 1 GB run (scripts/bench_split.sh)
//   analisis-tracks-split-bench --make-source PATH MB   writes a source of about MB megabytes
//
// One split timed as a whole run is analisis-tracks-split-once (split_once.cpp).
// The source and every output lie in a fresh temporary folder that is removed at the end.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "formats/splitter.h"

namespace {

namespace fs = std::filesystem;

// N = 500 gives 498 points in the first file and 499 in the others; `split -l 498` cuts alike.
constexpr const char* kPointsPerFile = "500";
constexpr int kLinesPerPiece = 498;
// The file number stops at 32767, so a source must not need more pieces than that.
constexpr std::int64_t kMostLines = 32000LL * kLinesPerPiece;

// Writes a track of point lines of about 64 bytes, CR LF, like those of a GPS receiver, and
// returns its size.
std::int64_t makeSource(const std::string& path, std::int64_t megabytes) {
    std::unique_ptr<FILE, int (*)(FILE*)> out(std::fopen(path.c_str(), "wb"), std::fclose);
    if (!out)
        throw std::runtime_error("cannot create " + path);
    std::fputs(
        "OziExplorer Track Point File Version 2.1\r\nWGS 84\r\nAltitude is in Feet\r\n"
        "Reserved 3\r\n0,2,255,Ruta de Pe\xF1\xEDscola,0,0,2,8421376\r\n0\r\n",
        out.get());
    const std::int64_t target = megabytes * 1000 * 1000;
    std::int64_t size = 0;
    char line[128];
    for (std::int64_t i = 0; size < target && i < kMostLines; ++i) {
        const int second = static_cast<int>(i % 86400);
        const int n = std::snprintf(line, sizeof line,
                                    "  %.6f,  %.6f,0,  %4d,%.7f,13-08-07,%02d:%02d:%02d\r\n",
                                    40.416775 + (i % 100000) * 1e-6, -3.703790 - (i % 70000) * 1e-6,
                                    static_cast<int>(2000 + i % 700), 39307.0 + second / 86400.0,
                                    second / 3600, second / 60 % 60, second % 60);
        std::fwrite(line, 1, static_cast<std::size_t>(n), out.get());
        size += n;
    }
    if (std::fflush(out.get()) != 0)
        throw std::runtime_error("cannot write " + path);
    return size;
}

// Reads the file once so that every run finds it in the page cache.
void warmCache(const std::string& path) {
    std::unique_ptr<FILE, int (*)(FILE*)> in(std::fopen(path.c_str(), "rb"), std::fclose);
    static char buffer[1 << 20];
    while (in && std::fread(buffer, 1, sizeof buffer, in.get()) == sizeof buffer) {
    }
}

class Workspace {
  public:
    Workspace() {
        std::string pattern = (fs::temp_directory_path() / "split-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp failed");
        folder_ = pattern;
        fs::create_directory(folder_ / "ours");
        fs::create_directory(folder_ / "theirs");
        const char* megabytes = std::getenv("AT_SPLIT_BENCH_MB");
        source_ = (folder_ / "ours" / "track.plt").string();
        bytes_ = makeSource(source_, megabytes ? std::atoll(megabytes) : 32);
        warmCache(source_);
    }
    ~Workspace() {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    const std::string& source() const { return source_; }
    std::string theirFolder() const { return (folder_ / "theirs").string(); }
    std::int64_t bytes() const { return bytes_; }

    // Removes every output, keeping the source.
    void clearOutputs() const {
        for (const auto& entry : fs::directory_iterator(folder_ / "ours")) {
            if (entry.path() != source_)
                fs::remove(entry.path());
        }
        for (const auto& entry : fs::directory_iterator(folder_ / "theirs")) {
            fs::remove(entry.path());
        }
    }

  private:
    fs::path folder_;
    std::string source_;
    std::int64_t bytes_ = 0;
};

Workspace& workspace() {
    static Workspace instance;
    return instance;
}

void reportPeakMemory(benchmark::State& state) {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_kib"] = static_cast<double>(usage.ru_maxrss);
}

void BM_SplitTrack(benchmark::State& state) {
    Workspace& ws = workspace();
    for (auto _ : state) {
        at::splitTrack(ws.source(), kPointsPerFile);
        state.PauseTiming();
        ws.clearOutputs();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * ws.bytes());
    reportPeakMemory(state);
}

void BM_SplitLines(benchmark::State& state) {
    Workspace& ws = workspace();
    const std::string command = "split -a 5 -d -l " + std::to_string(kLinesPerPiece) + " '" +
                                ws.source() + "' '" + ws.theirFolder() + "/part.'";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("split -l failed");
            break;
        }
        state.PauseTiming();
        ws.clearOutputs();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * ws.bytes());
}

// Wall-clock time: `split` runs in a child process whose CPU time the benchmark would not see.
BENCHMARK(BM_SplitTrack)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(BM_SplitLines)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--make-source") {
        std::printf("%lld bytes\n",
                    static_cast<long long>(makeSource(argv[2], std::atoll(argv[3]))));
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
