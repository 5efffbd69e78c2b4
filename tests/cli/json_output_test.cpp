#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "analysis/analysis_pass.h"
#include "analysis/memory_view.h"
#include "analysis/summary_panel.h"
#include "cli/json_writer.h"
#include "cli/summary_band.h"
#include "tests/cli/cli_run.h"
#include "tests/cli/mini_json.h"
#include "tests/cli/sample_track.h"
#include "tests/support/temp_dir.h"
#include "tests/support/track_text.h"

namespace at {
namespace {

using test::Json;
using test::JsonReader;

TEST(JsonString, EscapesWhatJsonForbidsAndReadsForeignBytesAsWindows1252) {
    const struct {
        std::string bytes;
        std::string literal;
    } cases[] = {
        {"Cota Min:", R"("Cota Min:")"},
        {"a \"b\" c", R"("a \"b\" c")"},
        {"C:\\tracks\\x.plt", R"("C:\\tracks\\x.plt")"},
        {"\n\r\t", R"("\n\r\t")"},
        {std::string("\x01\x1f\x7f", 3), R"("\u0001\u001F\u007F")"},
        {std::string("a\0b", 3), R"("a\u0000b")"},
        {"Cota Máx: 1'5''", "\"Cota Máx: 1'5''\""},
        {"\xF0\x9F\x97\xBB", "\"\xF0\x9F\x97\xBB\""},
        // Not UTF-8: a Latin-1 "á", the euro sign of Windows-1252, a lead byte cut short, a
        // UTF-8-encoded surrogate and an overlong slash.
        {"\xE1rbol", "\"árbol\""},
        {"\x80", "\"€\""},
        {"ruta\xC3", "\"rutaÃ\""},
        {"\xED\xA0\x80", "\"í\xC2\xA0€\""},
        {"\xC0\xAF", "\"À¯\""},
        {"\x81", "\"\xEF\xBF\xBD\""},
        {"", R"("")"},
    };
    for (const auto& c : cases) {
        const std::string literal = jsonString(c.bytes);
        EXPECT_EQ(literal, c.literal) << c.bytes;
        EXPECT_NO_THROW(JsonReader::parse(literal)) << literal;
    }
}

TEST(JsonWriter, NumbersReadBackAsTheSameValue) {
    std::string out;
    JsonWriter json(out);
    json.beginArray();
    json.number(0.1);
    json.number(12.25f);
    json.number(12.3f);
    json.number(-1e300);
    json.number(0.0);
    json.number(std::numeric_limits<double>::quiet_NaN());
    json.number(std::numeric_limits<float>::infinity());
    json.number(std::optional<double>());
    json.number(std::optional<double>(0.5));
    json.integer(-32768);
    json.beginObject();
    json.endObject();
    json.beginArray();
    json.endArray();
    json.endArray();
    EXPECT_EQ(out, "[0.1,12.25,12.3,-1e+300,0,null,null,null,0.5,-32768,{},[]]");
    const Json parsed = JsonReader::parse(out);
    ASSERT_EQ(parsed.items.size(), 12u);
    EXPECT_EQ(static_cast<float>(parsed.items[2].number), 12.3f);
    EXPECT_EQ(parsed.items[3].number, -1e300);
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
    const std::string broken = dir.write("roto \"1\".plt", "solo una linea\r\n");
    args.push_back(broken);

    for (const auto& locale : {NumberLocale::point(), NumberLocale::comma()}) {
        const auto run = test::runCli(args, locale);
        EXPECT_EQ(run.status, kExitFailed);
        EXPECT_TRUE(run.err.ends_with("Archivos con errores: 1 de 6.\n")) << run.err;

        Json all;
        ASSERT_NO_THROW(all = JsonReader::parse(run.out)) << run.out;
        ASSERT_EQ(all.type, Json::Type::Array);
        ASSERT_EQ(all.items.size(), paths.size() + 1);

        for (std::size_t i = 0; i < paths.size(); ++i) {
            const Json& file = all.items[i];
            EXPECT_EQ(file["archivo"].text, dir.file(kAwkwardNames[i].second));

            MemoryAnalysisView view;
            view.path = paths[i];
            const TrackSummary summary = runAnalysis(view, locale);

            const Json& band = file["resumen"];
            ASSERT_EQ(band.items.size(), kSummaryBand.size());
            for (std::size_t k = 0; k < kSummaryBand.size(); ++k) {
                EXPECT_EQ(band.items[k]["etiqueta"].text, kSummaryBand[k].caption);
                EXPECT_EQ(band.items[k]["texto"].text, view.label(kSummaryBand[k].label));
            }
            ASSERT_EQ(file["paradas"].items.size(), view.stopList.size());
            ASSERT_FALSE(view.stopList.empty());
            for (std::size_t k = 0; k < view.stopList.size(); ++k) {
                EXPECT_EQ(file["paradas"].items[k].text, view.stopList[k]);
            }

            const Json& v = file["valores"];
            EXPECT_EQ(static_cast<float>(v["distanceKm"].number), summary.distanceKm);
            EXPECT_EQ(v["lowestAltitude"].number, summary.lowestAltitude);
            EXPECT_EQ(v["highestAltitude"].number, summary.highestAltitude);
            EXPECT_EQ(v["accumulatedClimb"].number, summary.accumulatedClimb);
            EXPECT_EQ(v["discardedSamples"].number, summary.discardedSamples);
            EXPECT_EQ(v["lowestSpeed"].number, summary.lowestSpeed);
            EXPECT_EQ(v["highestSpeed"].number, summary.highestSpeed);
            EXPECT_EQ(v["stopCount"].number, summary.stopCount);
            EXPECT_EQ(v["stopSeconds"].number, summary.stopSeconds);
            ASSERT_TRUE(summary.startTime.has_value());
            EXPECT_EQ(v["startTime"].number, *summary.startTime);
            EXPECT_EQ(v["endTime"].number, summary.endTime);
            EXPECT_EQ(v["linesRead"].number, summary.linesRead);
            EXPECT_EQ(v["elapsedSeconds"].number, elapsedSeconds(summary));
        }

        const Json& failed = all.items.back();
        EXPECT_EQ(failed["archivo"].text, broken);
        EXPECT_TRUE(failed["error"].text.starts_with("Se ha leído más allá del final del archivo"))
            << failed["error"].text;
        EXPECT_EQ(failed.members.count("resumen"), 0u);
    }
}

TEST(JsonOutput, ATrackWithoutPointsHasNoStartTime) {
    test::TempDir dir;
    const std::string path = dir.write("vacio.plt", test::trackText({}));
    const auto run = test::runCli({"resumen", path, "--json"});
    ASSERT_EQ(run.status, kExitOk);
    const Json all = JsonReader::parse(run.out);
    ASSERT_EQ(all.items.size(), 1u);
    const Json& v = all.items[0]["valores"];
    EXPECT_EQ(v["startTime"].type, Json::Type::Null);
    EXPECT_EQ(v["endTime"].number, 0.0);
    EXPECT_EQ(v["linesRead"].number, 6.0);
    EXPECT_EQ(v["lowestAltitude"].number, 6000.0);
    EXPECT_EQ(all.items[0]["paradas"].items.size(), 0u);
}

}  // namespace
}  // namespace at
