// "resumen" gives one result per track of a file of several, --track picks one, and "informe" and
// "cortar" want to be told which; the laps go to --json.
#include <gtest/gtest.h>

#include <filesystem>

#include "formats/splitter.h"
#include "tests/cli/cli_run.h"
#include "tests/support/temp_dir.h"
#include "tests/support/track_formats.h"

namespace at::test {
namespace {

class SeveralTracks : public testing::Test {
  protected:
    ScopedTimeZone zone_{"UTC0"};
    TempDir dir_;
    std::string path_ = dir_.write("tres.gpx", threeTrackGpx());
};

std::size_t count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

TEST_F(SeveralTracks, ResumenGivesEachTrackOrTheOneAsked) {
    const CliRun all = runCli({"resumen", path_, "--json"});
    ASSERT_EQ(all.status, 0) << all.err;
    EXPECT_EQ(count(all.out, "\"archivo\":"), 3u);
    for (const char* track : {"\"track\":1,", "\"track\":2,", "\"track\":3,"})
        EXPECT_EQ(count(all.out, track), 1u) << track;
    EXPECT_EQ(count(all.out, "\"vueltas\":[]"), 3u);

    const CliRun one = runCli({"resumen", "--track=2", path_}, NumberLocale::comma());
    ASSERT_EQ(one.status, 0) << one.err;
    EXPECT_NE(one.out.find("Track: 2 de 3 · Tarde\n"), std::string::npos) << one.out;
    EXPECT_NE(one.out.find("Fecha: 01/05/2024\n"), std::string::npos) << one.out;
    EXPECT_EQ(count(one.out, "Archivo: "), 1u);

    // Running, 0.3 km in the 2 minutes in motion between its stop: 9 km/h, 6'39'' a km.
    const CliRun running = runCli({"resumen", path_, "--track", "1"}, NumberLocale::comma());
    EXPECT_NE(running.out.find("Velocidad media en ruta: 9 km/h\nRitmo: 6'39'' /km\nParadas\n"),
              std::string::npos)
        << running.out;
}

TEST_F(SeveralTracks, InformeAndCortarRefuseWithoutTrackAndCutTheOneChosen) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{"cortar", path_, "250"},
                                                 {"informe", path_, "--pdf", dir_.file("i.pdf")}}) {
        const CliRun run = runCli(args);
        EXPECT_EQ(run.status, 2) << args[0];
        EXPECT_NE(run.err.find("tiene 3 tracks"), std::string::npos) << run.err;
        EXPECT_FALSE(std::filesystem::exists(splitFileName(path_, 1)));
        EXPECT_FALSE(std::filesystem::exists(dir_.file("i.pdf")));
    }
    for (const char* bad : {"4", "0", "x"})
        EXPECT_EQ(runCli({"cortar", path_, "250", "--track", bad}).status, 2) << bad;
    const CliRun cut = runCli({"cortar", path_, "250", "--track", "3"});
    ASSERT_EQ(cut.status, 0) << cut.err;
    const std::string piece = readBytes(splitFileName(path_, 1));
    EXPECT_EQ(count(piece, "\r\n"), 6u + 5u);  // the header and the five points of "Noche"
}

}  // namespace
}  // namespace at::test
