// "resumen" and "cortar" take GPX, TCX and FIT tracks as they take track files of point lines.
#include <gtest/gtest.h>

#include <filesystem>

#include "formats/splitter.h"
#include "tests/cli/cli_run.h"
#include "tests/support/temp_dir.h"
#include "tests/support/track_formats.h"

namespace at::test {
namespace {

constexpr std::int64_t k10h = 1714557600;

std::vector<RecordedPoint> points(int count) {
    std::vector<RecordedPoint> p;
    for (int i = 0; i < count; ++i)
        p.push_back({"41." + std::to_string(100000 + 90 * i), "2.1", "120", k10h + 20 * i});
    return p;
}

// The output without its "Archivo:" line, which names each file, and without the lines only files
// that tell of their activity add (the TCX file's one lap).
std::string withoutFileName(const std::string& out) {
    std::string kept;
    std::size_t start = 0;
    while (start < out.size() && out.compare(start, 8, "Vueltas\n") != 0) {
        const std::size_t end = out.find('\n', start);
        const std::string line = out.substr(start, end - start);
        if (line.rfind("Archivo: ", 0) != 0 && line.rfind("Fecha: ", 0) != 0 &&
            line.rfind("Velocidad media en ruta: ", 0) != 0)
            kept += line + "\n";
        start = end == std::string::npos ? out.size() : end + 1;
    }
    return kept;
}

TEST(CliTrackFormats, ResumenAndCortarTakeEveryFormat) {
    const ScopedTimeZone zone("UTC0");
    TempDir dir;
    const auto track = points(300);
    const CliRun plt = runCli({"resumen", dir.write("r.plt", pltText(track))});
    ASSERT_EQ(plt.status, 0) << plt.err;
    for (const std::string& path :
         {dir.write("r.gpx", gpxText({track})), dir.write("r.tcx", tcxText({track})),
          dir.write("r.fit", fitFile(track))}) {
        SCOPED_TRACE(path);
        const CliRun summary = runCli({"resumen", path});
        EXPECT_EQ(summary.status, 0) << summary.err;
        EXPECT_EQ(withoutFileName(summary.out), withoutFileName(plt.out));

        const CliRun cut = runCli({"cortar", path, "250"});
        EXPECT_EQ(cut.status, 0) << cut.err;
        EXPECT_TRUE(std::filesystem::exists(splitFileName(path, 2)));
        EXPECT_FALSE(std::filesystem::exists(splitFileName(path, 3)));  // 248 + 52 points
    }
}

TEST(CliTrackFormats, ABadFileFailsWithItsPlace) {
    TempDir dir;
    std::string fit = fitFile(points(3));
    fit.back() = static_cast<char>(fit.back() ^ 0x10);
    const std::string path = dir.write("mal.fit", fit);
    for (const char* command : {"resumen", "cortar"}) {
        const CliRun run = command == std::string("resumen") ? runCli({"resumen", path})
                                                             : runCli({"cortar", path, "250"});
        EXPECT_EQ(run.status, 1) << command;
        EXPECT_NE(run.err.find("CRC"), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("Posición: byte " + std::to_string(fit.size() - 2)),
                  std::string::npos)
            << run.err;
    }
}

}  // namespace
}  // namespace at::test
