// "Cortar" on GPX, TCX and FIT tracks: numbered track files of point lines beside the source, by
// the same rule of points per file as a track file, whose points read back to the very points
// of the source.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "analysis/analysis_pass.h"
#include "formats/splitter.h"
#include "formats/track_format.h"
#include "platform/text_file.h"
#include "tests/support/memory_view.h"
#include "tests/support/temp_dir.h"
#include "tests/support/track_formats.h"
#include "track/point_line.h"
#include "track/track_file.h"

namespace at {
namespace {

using test::RecordedPoint;
using test::TempDir;

constexpr std::int64_t k10h = 1714557600;

std::vector<RecordedPoint> track(int count) {
    std::vector<RecordedPoint> points;
    for (int i = 0; i < count; ++i) {
        // Both hemispheres' signs, small magnitudes, elevations with and without decimals, some
        // missing, and a midnight on the way.
        points.push_back(
            {std::to_string(-0.5 + i * 0.0000037), std::to_string(179.99 - i * 0.01),
             i % 9 == 4 ? std::nullopt : std::optional<std::string>(std::to_string(i % 50) + ".7"),
             k10h + 14 * 3600 - 300 + 7 * i});
    }
    return points;
}

bool samePoint(const TrackPoint& a, const TrackPoint& b) {
    return a.latitudeDigits == b.latitudeDigits && a.longitudeDigits == b.longitudeDigits &&
           a.altitudeFeet == b.altitudeFeet && a.timeOfDay == b.timeOfDay;
}

std::vector<TrackPoint> sourcePoints(const std::string& path) {
    const auto reader = openPointReader(path, detectTrackFormat(path));
    std::vector<TrackPoint> points;
    TrackPoint p;
    while (reader->next(p))
        points.push_back(p);
    return points;
}

struct Piece {
    std::vector<std::string> header;
    std::vector<TrackPoint> points;
};

Piece readPiece(const std::string& path) {
    LineReader reader(path);
    Piece piece;
    std::string line;
    for (int i = 0; i < kHeaderLines; ++i) {
        reader.readLine(line);
        piece.header.push_back(line);
    }
    while (!reader.atEnd()) {
        reader.readLine(line);
        piece.points.push_back(readPointLine(line));
    }
    return piece;
}

class SplitFormats : public ::testing::Test {
  protected:
    test::ScopedTimeZone zone_{"CET-1CEST,M3.5.0,M10.5.0/3"};
    TempDir dir_;
};

TEST_F(SplitFormats, PiecesHoldTheSourcesPointsByTheRuleOfPointsPerFile) {
    const auto points = track(1000);
    const std::string sources[] = {dir_.write("ruta.gpx", test::gpxText({points})),
                                   dir_.write("ruta.tcx", test::tcxText({points})),
                                   dir_.write("ruta.fit", test::fitFile(points))};
    for (const std::string& source : sources) {
        SCOPED_TRACE(source);
        const std::vector<TrackPoint> expected = sourcePoints(source);
        ASSERT_EQ(expected.size(), 1000u);
        splitTrack(source, "250");
        // K = 248: points 1-248, 248-496, 496-744, 744-992, 992-1000.
        const int firsts[] = {1, 248, 496, 744, 992};
        const int lasts[] = {248, 496, 744, 992, 1000};
        for (int file = 1; file <= 5; ++file) {
            const Piece piece = readPiece(splitFileName(source, file));
            EXPECT_EQ(piece.header.front().rfind("Analisis Tracks", 0), 0u);
            ASSERT_EQ(piece.points.size(),
                      static_cast<std::size_t>(lasts[file - 1] - firsts[file - 1] + 1));
            for (std::size_t k = 0; k < piece.points.size(); ++k) {
                const TrackPoint& want = expected[firsts[file - 1] - 1 + k];
                EXPECT_TRUE(samePoint(piece.points[k], want)) << "file " << file << " point " << k;
            }
        }
        EXPECT_FALSE(std::filesystem::exists(splitFileName(source, 6)));
    }
}

TEST_F(SplitFormats, AnalysingThePiecesGivesThePointsOfTheSource) {
    const auto points = track(600);
    const std::string gpx = dir_.write("ida.gpx", test::gpxText({points}));
    MemoryAnalysisView whole;
    whole.path = gpx;
    runAnalysis(whole, NumberLocale::comma());
    splitTrack(gpx, "500");
    const std::size_t firsts[] = {0, 497};
    for (int file = 1; file <= 2; ++file) {
        MemoryAnalysisView piece;
        piece.path = splitFileName(gpx, file);
        runAnalysis(piece, NumberLocale::comma());
        const auto& rows = piece.altitude.rows();
        ASSERT_EQ(rows.size(), file == 1 ? 498u : 103u);
        for (std::size_t k = 0; k < rows.size(); ++k)
            EXPECT_EQ(rows[k], whole.altitude.rows()[firsts[file - 1] + k]) << file << " " << k;
    }
}

TEST_F(SplitFormats, ABadSourceLeavesNothingBehindOrTheCompletePieces) {
    // Nothing is created before the first point has been read.
    const std::string empty = dir_.write("vacia.gpx", test::gpxText({}));
    EXPECT_THROW(splitTrack(empty, "250"), RuntimeError);
    EXPECT_FALSE(std::filesystem::exists(splitFileName(empty, 1)));

    // A latitude off the Earth after 300 points: two complete files stay, the third holds what
    // was read.
    auto points = track(400);
    points[300].latitude = "91";
    const std::string gpx = dir_.write("rota.gpx", test::gpxText({points}));
    const int openBefore = test::openFileCount();
    try {
        splitTrack(gpx, "150");
        ADD_FAILURE();
    } catch (const RuntimeError& e) {
        EXPECT_NE(e.message().find("La latitud no está"), std::string::npos) << e.message();
    }
    EXPECT_EQ(test::openFileCount(), openBefore);
    EXPECT_EQ(readPiece(splitFileName(gpx, 1)).points.size(), 148u);
    EXPECT_EQ(readPiece(splitFileName(gpx, 2)).points.size(), 149u);
    EXPECT_EQ(readPiece(splitFileName(gpx, 3)).points.size(), 5u);  // 296 to 300
}

// Counted before anything is written: a FIT file whose CRC fails gives no piece, and a track
// that would need more files than can be numbered gives none either.
TEST_F(SplitFormats, ADamagedFitOrTooManyFilesWritesNothing) {
    std::string damaged = test::fitFile(track(10));
    damaged.back() = static_cast<char>(damaged.back() ^ 1);
    const std::pair<std::string, const char*> cases[] = {
        {dir_.write("dañado.fit", damaged), "La suma de control (CRC) del archivo FIT no coincide"},
        {dir_.write("larga.gpx", test::gpxText({track(32767)})), "Harían falta 32768 archivos"},
    };
    for (const auto& [path, says] : cases) {
        try {
            splitTrack(path, "3");
            ADD_FAILURE() << path;
        } catch (const RuntimeError& e) {
            EXPECT_NE(e.message().find(says), std::string::npos) << e.message();
        }
        EXPECT_FALSE(std::filesystem::exists(splitFileName(path, 1)));
    }
}

}  // namespace
}  // namespace at
