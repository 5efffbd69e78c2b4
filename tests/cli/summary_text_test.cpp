#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "analysis/analysis_pass.h"
#include "analysis/summary_band.h"
#include "tests/cli/cli_run.h"
#include "tests/cli/sample_track.h"
#include "tests/support/memory_view.h"
#include "tests/support/temp_dir.h"
#include "tests/support/track_text.h"

namespace at {
namespace {

using test::clock;
using test::pointLine;
using test::runCli;

// Five points walking north 2697 millionths of a degree (0.30007 km) a step, after the first,
// 11 s apart (98 km/h: no GPS jump). Worked by hand with the window's defaults: climbs of
// 15.24 m and 12.192 m (27 mts), one rise of 30.48 m discarded, a 71 s gap before point 5 (a
// stop, logged at the distance after point 3, 0.60 km), and point 5's speed over that gap:
// 0.30007 km in 71 s, 15.2 km/h.
std::string smallTrack() {
    return test::trackText({
        pointLine(42.000000, -1.5, 500, clock(36000)),
        pointLine(42.002697, -1.5, 550, clock(36011)),
        pointLine(42.005394, -1.5, 650, clock(36022)),
        pointLine(42.008091, -1.5, 600, clock(36033)),
        pointLine(42.010788, -1.5, 640, clock(36104)),
    });
}

struct SummaryCase {
    const char* name;
    std::vector<std::string> options;
    NumberLocale locale;
    std::string expectedBody;
};

TEST(SummaryText, ShowsTheBandRowByRowThenTheStops) {
    const SummaryCase cases[] = {
        {"defaults, decimal point",
         {},
         NumberLocale::point(),
         "Desnivel acumulado: 27 mts\n"
         "Distancia: 1.2 km\n"
         "Cota Min: 152.4 mts\n"
         "Velocidad Min: 0 km/h\n"
         "Tomas despreciadas: 1\n"
         "Número de paradas: 1\n"
         "Cota Máx: 198.1 mts\n"
         "Velocidad Máx: 15.2 km/h\n"
         "Tiempo: 00h 01' 44''\n"
         "t en paradas: 00h 01' 11''\n"
         "t en ruta: 00h 00' 33''\n"
         "Paradas\n"
         "0.6 (1'11'')\n"},
        {"defaults, decimal comma",
         {},
         NumberLocale::comma(),
         "Desnivel acumulado: 27 mts\n"
         "Distancia: 1,2 km\n"
         "Cota Min: 152,4 mts\n"
         "Velocidad Min: 0 km/h\n"
         "Tomas despreciadas: 1\n"
         "Número de paradas: 1\n"
         "Cota Máx: 198,1 mts\n"
         "Velocidad Máx: 15,2 km/h\n"
         "Tiempo: 00h 01' 44''\n"
         "t en paradas: 00h 01' 11''\n"
         "t en ruta: 00h 00' 33''\n"
         "Paradas\n"
         "0,6 (1'11'')\n"},
        // A 5 s stop threshold makes every gap a stop; a limit of 31 m climbs the 30.48 m rise.
        {"thresholds given",
         {"--desnivel", "31", "--parada-min", "0", "--parada-seg=5"},
         NumberLocale::comma(),
         "Desnivel acumulado: 57 mts\n"
         "Distancia: 1,2 km\n"
         "Cota Min: 152,4 mts\n"
         "Velocidad Min: 0 km/h\n"
         "Tomas despreciadas: 0\n"
         "Número de paradas: 4\n"
         "Cota Máx: 198,1 mts\n"
         "Velocidad Máx: 15,2 km/h\n"
         "Tiempo: 00h 01' 44''\n"
         "t en paradas: 00h 01' 44''\n"
         "t en ruta: 00h 00' 00''\n"
         "Paradas\n"
         "0 (0'11'')\n"
         "0 (0'11'')\n"
         "0,3 (0'11'')\n"
         "0,6 (1'11'')\n"},
        // Thresholds are the window's texts, read in the user's locale: "1,5" min reads as 2.
        {"threshold texts as typed",
         {"--parada-min", " 1,5 ", "--parada-seg", "-50"},
         NumberLocale::comma(),
         "Desnivel acumulado: 27 mts\n"
         "Distancia: 1,2 km\n"
         "Cota Min: 152,4 mts\n"
         "Velocidad Min: 0 km/h\n"
         "Tomas despreciadas: 1\n"
         "Número de paradas: 1\n"
         "Cota Máx: 198,1 mts\n"
         "Velocidad Máx: 15,2 km/h\n"
         "Tiempo: 00h 01' 44''\n"
         "t en paradas: 00h 01' 11''\n"
         "t en ruta: 00h 00' 33''\n"
         "Paradas\n"
         "0,6 (1'11'')\n"},
    };
    test::TempDir dir;
    const std::string path = dir.write("paseo.plt", smallTrack());
    for (const auto& c : cases) {
        std::vector<std::string> args = {"resumen", path};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const auto run = runCli(args, c.locale);
        EXPECT_EQ(run.status, 0) << c.name;
        EXPECT_EQ(run.err, "") << c.name;
        EXPECT_EQ(run.out, "Archivo: " + path + "\n" + c.expectedBody) << c.name;
    }
}

// The text the window's band and list would show for the file, put together from the shared
// core's own view.
std::string windowTexts(const std::string& path, const NumberLocale& locale) {
    MemoryAnalysisView view;
    view.path = path;
    runAnalysis(view, locale);
    std::string text = "Archivo: " + path + "\n";
    for (const auto& entry : kSummaryBand) {
        text += std::string(entry.caption) + " " + view.label(entry.label) + "\n";
    }
    text += "Paradas\n";
    for (const auto& stop : view.stopList)
        text += stop + "\n";
    return text;
}

TEST(SummaryText, EqualsTheWindowsLabelsForEveryFileOfABatch) {
    test::TempDir dir;
    std::vector<std::string> files;
    for (std::uint32_t seed = 1; seed <= 3; ++seed) {
        files.push_back(dir.write("dia" + std::to_string(seed) + ".plt",
                                  test::sampleTrackText(test::kSampleTrackPoints, seed)));
    }
    for (const auto& locale : {NumberLocale::point(), NumberLocale::comma()}) {
        std::vector<std::string> args = {"resumen"};
        args.insert(args.end(), files.begin(), files.end());
        const auto run = runCli(args, locale);
        ASSERT_EQ(run.status, 0) << run.err;
        std::string expected;
        for (const auto& file : files) {
            if (!expected.empty())
                expected += "\n";
            expected += windowTexts(file, locale);
        }
        EXPECT_EQ(run.out, expected) << locale.decimalSeparator;
        // The sample tracks carry rests, decimals and discarded samples, so the comparison
        // covers every kind of text.
        EXPECT_NE(run.out.find("Paradas\n"), std::string::npos);
        EXPECT_EQ(run.out.find("Número de paradas: 0\n"), std::string::npos);
        EXPECT_EQ(run.out.find("Tomas despreciadas: 0\n"), std::string::npos);
    }
}

TEST(SummaryText, ATrackWithoutPointsShowsTheStartValues) {
    test::TempDir dir;
    const std::string path = dir.write("vacio.plt", test::trackText({}));
    const auto run = runCli({"resumen", path});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "Archivo: " + path +
                           "\n"
                           "Desnivel acumulado: 0 mts\n"
                           "Distancia: 0 km\n"
                           "Cota Min: 6000 mts\n"
                           "Velocidad Min: 1000 km/h\n"
                           "Tomas despreciadas: 0\n"
                           "Número de paradas: 0\n"
                           "Cota Máx: 0 mts\n"
                           "Velocidad Máx: 0 km/h\n"
                           "Tiempo: 00h 00' 00''\n"
                           "t en paradas: 00h 00' 00''\n"
                           "t en ruta: 00h 00' 00''\n"
                           "Paradas\n");
}

// A night outing as a watch records it: one sample a second from 23:59:30 to 00:00:40, the first
// coordinates with five decimals, a point without altitude at midnight.
TEST(SummaryText, ANightTrackSampledEverySecondReadsAsTheWindowShowsIt) {
    std::vector<std::string> points;
    for (int s = 0; s <= 70; ++s) {
        const int second = (86370 + s) % 86400;
        const int feet = second == 0 ? -777 : 1000 + s;
        char latitude[16];
        std::snprintf(latitude, sizeof latitude, "%.6f", 42.001 + s * 0.00003);
        if (s < 10)
            latitude[8] = '\0';  // the sixth decimal is a 0 some software leaves out
        points.push_back(std::string(latitude) + ",-1.500000,0," + std::to_string(feet) + ",0,x," +
                         clock(second));
    }
    test::TempDir dir;
    const std::string path = dir.write("noche.plt", test::trackText(points));
    const auto run = runCli({"resumen", path});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("Tiempo: 00h 01' 10''\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Cota Min: 304.8 mts\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Velocidad Máx: 12 km/h\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Distancia: 0.2 km\n"), std::string::npos) << run.out;
}

}  // namespace
}  // namespace at
