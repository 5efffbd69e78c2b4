#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "analysis/analysis_pass.h"
#include "analysis/summary_band.h"
#include "analysis/summary_panel.h"
#include "cli/json_writer.h"
#include "cli/summary_command.h"
#include "tests/cli/cli_run.h"
#include "tests/cli/sample_track.h"
#include "tests/support/memory_view.h"
#include "tests/support/sensor_tracks.h"
#include "tests/support/temp_dir.h"
#include "tests/support/track_formats.h"
#include "tests/support/track_text.h"

namespace at {
namespace {

using Parsed = nlohmann::json;

// The writer's output read back by the library's strict parser: RFC 8259 JSON or an exception.
Parsed parse(const std::string& text) {
    return Parsed::parse(text);
}

TEST(JsonText, AnyBytesBecomeAJsonStringThatReadsBackAsTheirText) {
    const struct {
        std::string bytes;
        std::string text;  // as UTF-8
    } cases[] = {
        {"Cota Min:", "Cota Min:"},
        {"a \"b\" c", "a \"b\" c"},
        {"C:\\tracks\\x.plt", "C:\\tracks\\x.plt"},
        {"\n\r\t", "\n\r\t"},
        {std::string("\x01\x1f\x7f", 3), std::string("\x01\x1f\x7f", 3)},
        {std::string("a\0b", 3), std::string("a\0b", 3)},
        {"Cota Máx: 1'5''", "Cota Máx: 1'5''"},
        {"\xF0\x9F\x97\xBB", "\xF0\x9F\x97\xBB"},
        // Not UTF-8: a Latin-1 "á", the euro sign of Windows-1252, a lead byte cut short, a
        // UTF-8-encoded surrogate and an overlong slash; 0x81 has no Windows-1252 character.
        {"\xE1rbol", "árbol"},
        {"\x80", "€"},
        {"ruta\xC3", "rutaÃ"},
        {"\xED\xA0\x80", "í\xC2\xA0€"},
        {"\xC0\xAF", "À¯"},
        {"\x81", "\xEF\xBF\xBD"},
        {"", ""},
    };
    for (const auto& c : cases) {
        const std::string line = jsonLine(Json{{"texto", jsonText(c.bytes)}});
        // Control characters never appear raw in the output.
        EXPECT_EQ(line.find_first_of(std::string("\0\x01\x1f\n\r\t", 6)), std::string::npos)
            << line;
        Parsed parsed;
        ASSERT_NO_THROW(parsed = parse(line)) << line;
        EXPECT_EQ(parsed["texto"].get<std::string>(), c.text) << line;
    }
}

TEST(JsonLine, NumbersReadBackAsTheSameValue) {
    const Json values = {0.1,
                         jsonNumber(12.25f),
                         jsonNumber(12.3f),
                         -1e300,
                         0.0,
                         std::numeric_limits<double>::quiet_NaN(),
                         jsonNumber(std::numeric_limits<float>::infinity()),
                         -32768,
                         Json::object(),
                         Json::array()};
    const std::string line = jsonLine(values);
    EXPECT_EQ(line, "[0.1,12.25,12.3,-1e+300,0.0,null,null,-32768,{},[]]");
    const Parsed parsed = parse(line);
    ASSERT_EQ(parsed.size(), 10u);
    EXPECT_EQ(static_cast<float>(parsed[2].get<double>()), 12.3f);
    EXPECT_EQ(parsed[3].get<double>(), -1e300);
}

// File names that need every kind of care: quotes, backslashes, control characters, a line
// break and a byte that is not UTF-8.
const std::vector<std::pair<std::string, std::string>> kAwkwardNames = {
    {"dia \"largo\".plt", "dia \"largo\".plt"},
    {"a\\b.plt", "a\\b.plt"},
    {"tab\there\x01.plt", "tab\there\x01.plt"},
    {"linea\nnueva.plt", "linea\nnueva.plt"},
    {"r\xEDo.plt", "río.plt"},
};

TEST(JsonOutput, OneValidObjectPerFileWithTheWindowsTextsAndTheRawFigures) {
    test::TempDir dir;
    std::vector<std::string> args = {"resumen", "--json"};
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < kAwkwardNames.size(); ++i) {
        paths.push_back(dir.write(kAwkwardNames[i].first,
                                  test::sampleTrackText(600, static_cast<std::uint32_t>(i + 1))));
        args.push_back(paths.back());
    }

    for (const auto& locale : {NumberLocale::point(), NumberLocale::comma()}) {
        const auto run = test::runCli(args, locale);
        EXPECT_EQ(run.status, kExitOk) << run.err;

        Parsed all;
        ASSERT_NO_THROW(all = parse(run.out)) << run.out;
        ASSERT_TRUE(all.is_array());
        ASSERT_EQ(all.size(), paths.size());

        for (std::size_t i = 0; i < paths.size(); ++i) {
            const Parsed& file = all[i];
            EXPECT_EQ(file["archivo"], dir.file(kAwkwardNames[i].second));
            EXPECT_FALSE(file.contains("error"));

            MemoryAnalysisView view;
            view.path = paths[i];
            const TrackSummary summary = runAnalysis(view, locale);

            const Parsed& band = file["resumen"];
            ASSERT_EQ(band.size(), kSummaryBand.size());
            for (std::size_t k = 0; k < kSummaryBand.size(); ++k) {
                EXPECT_EQ(band[k]["etiqueta"], kSummaryBand[k].caption);
                EXPECT_EQ(band[k]["texto"], view.label(kSummaryBand[k].label));
            }
            ASSERT_FALSE(view.stopList.empty());
            EXPECT_EQ(file["paradas"].get<std::vector<std::string>>(), view.stopList);

            const Parsed& v = file["valores"];
            EXPECT_EQ(static_cast<float>(v["distanciaKm"].get<double>()), summary.distanceKm);
            EXPECT_EQ(v["cotaMinima"], summary.lowestAltitude);
            EXPECT_EQ(v["cotaMaxima"], summary.highestAltitude);
            EXPECT_EQ(v["desnivelAcumulado"], summary.accumulatedClimb);
            EXPECT_EQ(v["tomasDespreciadas"], summary.discardedSamples);
            EXPECT_EQ(v["velocidadMinima"], summary.lowestSpeed);
            EXPECT_EQ(v["velocidadMaxima"], summary.highestSpeed);
            EXPECT_EQ(v["numeroParadas"], summary.stopCount);
            EXPECT_EQ(v["segundosEnParadas"], summary.stopSeconds);
            ASSERT_TRUE(summary.startTime.has_value());
            EXPECT_EQ(v["horaInicio"], *summary.startTime);
            EXPECT_EQ(v["horaFin"], summary.endTime);
            EXPECT_EQ(v["lineasLeidas"], summary.linesRead);
            EXPECT_EQ(v["segundosTotales"], elapsedSeconds(summary));
            EXPECT_EQ(v["saltosGps"], summary.gpsJumps);
            EXPECT_EQ(v["puntosSinHora"], 0);
            EXPECT_EQ(v.size(), 15u);
        }
    }
}

TEST(JsonOutput, AFailedFileHasAnErrorObjectAsWellAsItsMessageOnStderr) {
    test::TempDir dir;
    const std::string good = dir.write("bien.plt", test::sampleTrackText(50, 1));
    // Line 9 of the file: point 3, whose altitude field is not a number.
    const std::string mismatch =
        dir.write("tipos \"1\".plt",
                  test::trackText({test::pointLine(42.0, -1.5, 500, "10:00:00"),
                                   test::pointLine(42.0001, -1.5, 510, "10:00:05"),
                                   "42.000200,-1.500000,0,mil,39307.3,13-08-07,10:00:10"}));
    const std::string missing = dir.file("falta.plt");
    const std::string cut = dir.write("corto.plt", "solo una linea\r\n");
    // A FIT file has no lines: its fault is placed by the byte, here its CRC's.
    std::string fitBytes = test::fitFile({{"42.0", "-1.5", "150", 1714557600}});
    fitBytes.back() = static_cast<char>(fitBytes.back() ^ 1);
    const std::string fit = dir.write("dañado.fit", fitBytes);
    const struct {
        std::string path;
        const char* kind;
        std::optional<int> line;
        std::optional<std::int64_t> byte;
        std::optional<std::string> text;
    } failures[] = {
        {mismatch, "No coinciden los tipos", 9, std::nullopt, "mil"},
        {missing, "No se ha encontrado el archivo", std::nullopt, std::nullopt, std::nullopt},
        // The header's second line is the first one missing.
        {cut, "Se ha leído más allá del final del archivo", 2, std::nullopt, std::nullopt},
        {fit, "No coinciden los tipos", std::nullopt,
         static_cast<std::int64_t>(fitBytes.size() - 2), std::nullopt},
    };

    const auto run = test::runCli({"resumen", "--json", good, mismatch, missing, cut, fit});
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_TRUE(run.err.ends_with("Archivos con errores: 4 de 5.\n")) << run.err;
    Parsed all;
    ASSERT_NO_THROW(all = parse(run.out)) << run.out;
    ASSERT_EQ(all.size(), 5u);
    EXPECT_EQ(all[0]["archivo"], good);
    EXPECT_FALSE(all[0].contains("error"));

    for (std::size_t i = 0; i < std::size(failures); ++i) {
        const auto& expected = failures[i];
        const Parsed& file = all[i + 1];
        EXPECT_EQ(file["archivo"], expected.path);
        EXPECT_FALSE(file.contains("resumen"));
        ASSERT_TRUE(file.contains("error")) << file;
        const Parsed& error = file["error"];
        EXPECT_EQ(error["tipo"], expected.kind);
        EXPECT_EQ(error["archivo"], expected.path);
        if (expected.line) {
            EXPECT_EQ(error["linea"], *expected.line);
        } else {
            EXPECT_TRUE(error["linea"].is_null()) << error;
        }
        if (expected.byte) {
            EXPECT_EQ(error["byte"], *expected.byte);
        } else {
            EXPECT_TRUE(error["byte"].is_null()) << error;
        }
        if (expected.text) {
            EXPECT_EQ(error["texto"], *expected.text);
        } else {
            EXPECT_TRUE(error["texto"].is_null()) << error;
        }
        // The whole message is the one stderr shows for the file.
        const std::string message = error["mensaje"];
        EXPECT_TRUE(message.starts_with(expected.kind)) << message;
        EXPECT_NE(run.err.find(fileErrorText(expected.path, message)), std::string::npos)
            << run.err;
    }
}

TEST(JsonOutput, ATrackWithoutPointsHasNoStartTime) {
    test::TempDir dir;
    const std::string path = dir.write("vacio.plt", test::trackText({}));
    const auto run = test::runCli({"resumen", path, "--json"});
    ASSERT_EQ(run.status, kExitOk);
    const Parsed all = parse(run.out);
    ASSERT_EQ(all.size(), 1u);
    const Parsed& v = all[0]["valores"];
    EXPECT_TRUE(v["horaInicio"].is_null());
    EXPECT_EQ(v["horaFin"], 0.0);
    EXPECT_EQ(v["lineasLeidas"], 6);
    EXPECT_EQ(v["cotaMinima"], 6000.0);
    EXPECT_TRUE(all[0]["paradas"].empty());
}

// Each sensor over the points that have a value, from every format; null where the track has none,
// as a track file of point lines never has.
TEST(JsonOutput, EachSensorsLowestMeanAndHighestOrNull) {
    test::ScopedTimeZone utc("UTC0");
    test::TempDir dir;
    const Parsed heartRate = {{"minimo", 120.0}, {"media", 125.5}, {"maximo", 131.0}};
    const Parsed cadence = {{"minimo", 80.0}, {"media", 80.0}, {"maximo", 80.0}};
    const Parsed power = {{"minimo", 210.0}, {"media", 210.0}, {"maximo", 210.0}};
    const struct {
        std::string path;
        Parsed temperature;
    } cases[] = {
        {dir.write("s.gpx", test::gpxWithSensors()),
         {{"minimo", 19.5}, {"media", 19.5}, {"maximo", 19.5}}},
        {dir.write("s.tcx", test::tcxWithSensors()), nullptr},
        {dir.write("s.fit", test::fitWithSensors()),
         {{"minimo", -5.0}, {"media", -5.0}, {"maximo", -5.0}}},
    };
    for (const auto& c : cases) {
        const Parsed file = parse(test::runCli({"resumen", "--json", c.path}).out).at(0);
        EXPECT_EQ(file["pulso"], heartRate) << c.path;
        EXPECT_EQ(file["cadencia"], cadence) << c.path;
        EXPECT_EQ(file["potencia"], power) << c.path;
        EXPECT_EQ(file["temperatura"], c.temperature) << c.path;
    }
    // The TCX file's one lap takes its mean heart rate from its own points.
    const Parsed tcx = parse(test::runCli({"resumen", "--json", cases[1].path}).out).at(0);
    EXPECT_EQ(tcx["vueltas"].at(0)["pulsoMedio"], 125.5);

    const std::string plt = dir.write("p.plt", test::sampleTrackText(50, 1));
    const Parsed file = parse(test::runCli({"resumen", "--json", plt}).out).at(0);
    for (const char* key : {"pulso", "cadencia", "potencia", "temperatura"})
        EXPECT_TRUE(file.at(key).is_null()) << key;
}

}  // namespace
}  // namespace at
