#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/bench_files.h"
#include "formats/fit_reader.h"
#include "formats/track_format.h"

// Tracks of other formats through the command-line companion, whole process included:
//  - a 32,000-point GPX (about 3.2 MB, one point a second) read and analysed: at most 40 ms, and
//    at least 3 times faster than gpsbabel converting the same file to a track of point lines;
//  - a FIT file of 32,000 records: at most 30 ms;
//  - a day at one point a second, 86,400 points as a GPX of about 8.7 MB, read and analysed in at
//    most 3 times the time expat's own checker `xmlwf` takes to read the same file; the same day
//    as a FIT file.
// Other modes, for scripts/bench_formats.sh:
//   --make-gpx PATH POINTS    writes a GPX track of POINTS points
//   --read-once PATH          reads every point of PATH through its reader alone, prints the count
extern char** environ;

namespace {

constexpr int kPoints = 32000;
constexpr std::int64_t kStart = 1714557600;  // 2024-05-01T10:00:00Z

void writeGpx(const std::string& path, std::int64_t points) {
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr)
        return;
    std::fputs(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gpx version=\"1.1\" creator=\"banco\" "
        "xmlns=\"http://www.topografix.com/GPX/1/1\">\n<trk><name>banco</name><trkseg>\n",
        out);
    for (std::int64_t i = 0; i < points; ++i) {
        const std::int64_t t = kStart + i % 80000;
        const std::int64_t s = t % 86400;
        std::fprintf(out,
                     "<trkpt lat=\"40.%06lld\" lon=\"-3.%06lld\"><ele>%lld.%lld</ele>"
                     "<time>2024-05-%02lldT%02lld:%02lld:%02lldZ</time></trkpt>\n",
                     static_cast<long long>(100000 + i % 800000),
                     static_cast<long long>(700000 + (i * 3) % 200000),
                     static_cast<long long>(600 + i % 300), static_cast<long long>(i % 10),
                     static_cast<long long>(1 + (t - kStart + 36000) / 86400),
                     static_cast<long long>(s / 3600), static_cast<long long>(s / 60 % 60),
                     static_cast<long long>(s % 60));
    }
    std::fputs("</trkseg></trk>\n</gpx>\n", out);
    std::fclose(out);
}

void put(std::string& out, std::uint64_t value, int size) {
    for (int i = 0; i < size; ++i)
        out += static_cast<char>(value >> (8 * i));
}

void writeFit(const std::string& path, int records) {
    std::string data;
    // Record definition: timestamp, position_lat, position_long, altitude.
    data += '\x40';
    data += std::string("\0\0", 2);
    put(data, 20, 2);
    data += '\x04';
    for (const unsigned char f : {253, 4, 0x86, 0, 4, 0x85, 1, 4, 0x85, 2, 2, 0x84})
        data += static_cast<char>(f);
    for (int i = 0; i < records; ++i) {
        data += '\0';
        put(data, static_cast<std::uint64_t>(kStart - 631065600 + i), 4);
        put(data, static_cast<std::uint32_t>(477218588 + i * 100), 4);
        put(data, static_cast<std::uint32_t>(-35791394 - i * 70), 4);
        put(data, static_cast<std::uint64_t>((650 + i % 300 + 500) * 5), 2);
    }
    std::string file;
    file += '\x0E';
    file += '\x20';
    put(file, 2132, 2);
    put(file, data.size(), 4);
    file += ".FIT";
    put(file, at::fitCrc(0, reinterpret_cast<const unsigned char*>(file.data()), 12), 2);
    file += data;
    put(file, at::fitCrc(0, reinterpret_cast<const unsigned char*>(file.data()), file.size()), 2);
    std::ofstream(path, std::ios::binary) << file;
}

std::string benchFile(const std::string& name) {
    const auto path = (std::filesystem::temp_directory_path() / name).string();
    if (!std::filesystem::exists(path)) {
        if (name.ends_with(".gpx")) {
            writeGpx(path, kPoints);
        } else {
            writeFit(path, kPoints);
        }
    }
    return path;
}

// Wall-clock time of one run of the program, output discarded; false if it failed.
bool runOnce(const std::vector<std::string>& args, double& seconds) {
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return false;
    int status = 0;
    waitpid(pid, &status, 0);
    seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void runProgram(benchmark::State& state, const std::vector<std::string>& args,
                const std::string& input) {
    for (auto _ : state) {
        double seconds = 0.0;
        if (!runOnce(args, seconds)) {
            state.SkipWithError(("falló: " + args.front()).c_str());
            return;
        }
        state.SetIterationTime(seconds);
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(input));
}

void BM_CliGpx32000(benchmark::State& state) {
    const std::string gpx = benchFile("analisis-tracks-banco.gpx");
    runProgram(state, {AT_CLI_PROGRAM, "resumen", gpx}, gpx);
}

void BM_GpsbabelGpxToTrack32000(benchmark::State& state) {
    const std::string out =
        (std::filesystem::temp_directory_path() / "analisis-tracks-banco-gpsbabel.plt").string();
    const std::string gpx = benchFile("analisis-tracks-banco.gpx");
    runProgram(state, {"gpsbabel", "-i", "gpx", "-f", gpx, "-o", "ozi", "-F", out}, gpx);
}

void BM_CliFit32000(benchmark::State& state) {
    const std::string fit = benchFile("analisis-tracks-banco.fit");
    runProgram(state, {AT_CLI_PROGRAM, "resumen", fit}, fit);
}

std::string dayTrack(const char* extension) {
    return at::bench::dayTrack(std::string("analisis-tracks-dia.") + extension, 86400);
}

void BM_CliGpxDay86400(benchmark::State& state) {
    const std::string gpx = dayTrack("gpx");
    runProgram(state, {AT_CLI_PROGRAM, "resumen", gpx}, gpx);
}

// Well-formedness only: every byte parsed, nothing kept.
void BM_XmlwfGpxDay86400(benchmark::State& state) {
    const std::string gpx = dayTrack("gpx");
    runProgram(state, {"xmlwf", gpx}, gpx);
}

void BM_CliFitDay86400(benchmark::State& state) {
    const std::string fit = dayTrack("fit");
    runProgram(state, {AT_CLI_PROGRAM, "resumen", fit}, fit);
}

BENCHMARK(BM_CliGpx32000)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_GpsbabelGpxToTrack32000)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_CliFit32000)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_CliGpxDay86400)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_XmlwfGpxDay86400)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_CliFitDay86400)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

int readOnce(const std::string& path) {
    try {
        const auto reader = at::openPointReader(path, at::detectTrackFormat(path));
        at::TrackPoint point;
        long long count = 0;
        while (reader->next(point))
            ++count;
        std::printf("%lld\n", count);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--make-gpx") == 0) {
        writeGpx(argv[2], std::stoll(argv[3]));
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "--read-once") == 0)
        return readOnce(argv[2]);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
