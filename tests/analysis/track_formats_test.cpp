// The analysis of a track does not depend on the format it was recorded in: the same track as
// point lines, GPX, TCX and FIT gives the same window; the limits and the places of faults are
// those of each format.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "analysis/analysis_pass.h"
#include "analysis/summary_panel.h"
#include "formats/splitter.h"
#include "formats/track_source.h"
#include "platform/runtime_error.h"
#include "tests/support/memory_view.h"
#include "tests/support/temp_dir.h"
#include "tests/support/track_formats.h"

namespace at {
namespace {

using test::RecordedPoint;
using test::TempDir;

constexpr std::int64_t k10h = 1714557600;  // 2024-05-01T10:00:00Z

// 30 points 10 s apart going north-east and climbing, with a pause of 120 s after point 15.
std::vector<RecordedPoint> sampleTrack() {
    std::vector<RecordedPoint> points;
    for (int i = 0; i < 30; ++i) {
        const std::int64_t t = k10h + 10 * i + (i >= 15 ? 110 : 0);
        points.push_back({"40." + std::to_string(400000 + 731 * i),
                          "-3." + std::to_string(700000 + 517 * i),
                          std::to_string(600 + (i % 7) * 3 - (i % 5)), t});
    }
    return points;
}

struct Window {
    std::map<SummaryLabel, std::string> labels;
    std::vector<std::string> stops;
    std::vector<std::string> altitudeRows;
    std::vector<std::string> speedRows;
    std::int32_t linesRead;
    float distanceKm;
};

Window analyse(const std::string& path) {
    MemoryAnalysisView view;
    view.path = path;
    runAnalysis(view, NumberLocale::point());
    return {view.labels,       view.stopList,      view.altitude.rows(),
            view.speed.rows(), view.lastLinesRead, view.lastDistanceKm};
}

class TrackFormats : public ::testing::Test {
  protected:
    test::ScopedTimeZone zone_{"UTC0"};
    TempDir dir_;
};

TEST_F(TrackFormats, TheSameTrackInEveryFormatGivesTheSameWindow) {
    const auto points = sampleTrack();
    const Window plt = analyse(dir_.write("ruta.plt", test::pltText(points)));
    // The figures of this track, worked out by hand for the point lines.
    EXPECT_EQ(plt.labels.at(SummaryLabel::StopCount), "1");
    EXPECT_EQ(plt.labels.at(SummaryLabel::TotalTime), "00h 06' 40''");
    EXPECT_EQ(plt.labels.at(SummaryLabel::StopTime), "00h 02' 00''");
    EXPECT_EQ(plt.labels.at(SummaryLabel::LowestAltitude), "595.9 mts");  // 596 m are 1955 ft
    EXPECT_EQ(plt.altitudeRows.size(), 30u);
    EXPECT_EQ(plt.linesRead, 36);

    const std::vector<std::string> others = {
        dir_.write("ruta.gpx", test::gpxText({points})),
        // Split over laps and segments: their joins are ordinary gaps.
        dir_.write("ruta.tcx", test::tcxText({{points.begin(), points.begin() + 10},
                                              {points.begin() + 10, points.end()}})),
        dir_.write("ruta.fit", test::fitFile(points)),
        dir_.write("segmentos.gpx", test::gpxText({{points.begin(), points.begin() + 15},
                                                   {points.begin() + 15, points.end()}})),
        // Recognised by content, whatever the name says.
        dir_.write("gpx-con-otro-nombre.plt", test::gpxText({points})),
    };
    for (const std::string& path : others) {
        SCOPED_TRACE(path);
        const Window w = analyse(path);
        EXPECT_EQ(w.labels, plt.labels);
        EXPECT_EQ(w.stops, plt.stops);
        EXPECT_EQ(w.altitudeRows, plt.altitudeRows);
        EXPECT_EQ(w.speedRows, plt.speedRows);
        EXPECT_EQ(w.linesRead, plt.linesRead);
        EXPECT_EQ(w.distanceKm, plt.distanceKm);
    }
}

// As a watch records it: one point a second across midnight, coordinates written with five
// decimals, and points without elevation at the start and in the middle.
TEST_F(TrackFormats, ASecondByNightTrackWithoutSomeElevationsReadsTheSameInEveryFormat) {
    const std::int64_t midnightLessOneMinute = k10h + 13 * 3600 + 59 * 60;
    std::vector<RecordedPoint> points;
    for (int i = 0; i < 120; ++i) {
        std::optional<std::string> elevation = std::to_string(800 + i / 10);
        if (i < 5 || i == 60)
            elevation.reset();
        points.push_back(
            {"40.4" + std::to_string(1000 + 4 * i), "-3.7", elevation, midnightLessOneMinute + i});
    }
    const Window plt = analyse(dir_.write("noche.plt", test::pltText(points)));
    EXPECT_EQ(plt.labels.at(SummaryLabel::TotalTime), "00h 01' 59''");
    EXPECT_EQ(plt.labels.at(SummaryLabel::LowestAltitude), "800.1 mts");  // 2625 ft
    EXPECT_EQ(plt.labels.at(SummaryLabel::HighestAltitude), "811.1 mts");
    EXPECT_EQ(plt.altitudeRows[0], "0");
    EXPECT_EQ(plt.altitudeRows[60], plt.altitudeRows[59]);
    // 40 millionths of a degree (4.45 m) a second over the first 16 s window: 16 km/h.
    EXPECT_EQ(plt.labels.at(SummaryLabel::HighestSpeed), "16 km/h");
    for (const std::string& path : {dir_.write("noche.gpx", test::gpxText({points})),
                                    dir_.write("noche.tcx", test::tcxText({points})),
                                    dir_.write("noche.fit", test::fitFile(points))}) {
        SCOPED_TRACE(path);
        const Window w = analyse(path);
        EXPECT_EQ(w.labels, plt.labels);
        EXPECT_EQ(w.altitudeRows, plt.altitudeRows);
        EXPECT_EQ(w.speedRows, plt.speedRows);
    }
}

// A track that goes on one point a second; `count` points.
std::vector<RecordedPoint> longTrack(int count) {
    std::vector<RecordedPoint> points;
    points.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        points.push_back({"40." + std::to_string(100000 + i), "-3.5", "700", k10h + i});
    }
    return points;
}

// A track file keeps its 16-bit rows and lines read; the other formats number their points in 32
// bits and take the same tracks whole.
TEST_F(TrackFormats, OnlyATrackFileOverflowsPast32761Points) {
    const struct {
        int points;
        std::size_t pltRowsWritten;  // rows a track file gives a value before it fails, if it does
        const char* pltFailure;
    } cases[] = {
        {32761, 32761, nullptr},
        // Every row, then the lines read no longer fit.
        {32762, 32762, "El valor 32768 no cabe en un entero de 16 bits."},
        // The profiles cannot be sized.
        {32768, 0, "El valor 32768 no cabe en un entero de 16 bits."},
    };
    for (const auto& c : cases) {
        const auto points = longTrack(c.points);
        for (const std::string name : {"largo.plt", "largo.gpx", "largo.fit"}) {
            SCOPED_TRACE(std::to_string(c.points) + " " + name);
            const bool plt = name == "largo.plt";
            const std::string path =
                dir_.write(name, plt                   ? test::pltText(points)
                                 : name == "largo.gpx" ? test::gpxText({points})
                                                       : test::fitFile(points));
            MemoryAnalysisView view;
            view.path = path;
            std::optional<RuntimeError> failure;
            try {
                runAnalysis(view, NumberLocale::point());
            } catch (const RuntimeError& e) {
                failure = e;
            }
            std::size_t written = 0;
            for (const std::string& row : view.altitude.rows())
                written += row.empty() ? 0 : 1;
            if (!plt || c.pltFailure == nullptr) {
                ASSERT_FALSE(failure.has_value()) << failure->message();
                EXPECT_EQ(written, static_cast<std::size_t>(c.points));
                EXPECT_EQ(view.lastLinesRead, c.points + 6);
                continue;
            }
            ASSERT_TRUE(failure.has_value());
            EXPECT_EQ(written, c.pltRowsWritten);
            EXPECT_EQ(failure->message(),
                      std::string("Desbordamiento\n") + c.pltFailure + "\nArchivo: " + path);
        }
    }
}

// A whole day and more at one point a second, crossing midnight: 1.1 m north-east a second,
// waves of 300 m up and down, a spike of 30 m (an erroneous sample) every 5003 points, a rest of
// five minutes after every 7919 points.
std::vector<RecordedPoint> dayTrack(int count) {
    std::vector<RecordedPoint> points;
    points.reserve(static_cast<std::size_t>(count));
    std::int64_t time = k10h;
    for (int i = 0; i < count; ++i) {
        if (i > 0 && i % 7919 == 0)
            time += 300;
        const double metres = 900 + 150 * std::sin(i / 900.0) + (i % 5003 == 0 ? 30 : 0);
        char latitude[32];
        char longitude[32];
        char elevation[32];
        std::snprintf(latitude, sizeof latitude, "%.6f", 40.1 + 7e-6 * i);
        std::snprintf(longitude, sizeof longitude, "%.6f", -3.7 + 9e-6 * i);
        std::snprintf(elevation, sizeof elevation, "%.1f", metres);
        points.push_back({latitude, longitude, elevation, time++});
    }
    return points;
}

// The figures that add up over the pieces of a cut, each piece after the first opening with the
// last point of the one before: every step and every gap lies in exactly one piece.
struct Totals {
    double distanceKm = 0;
    double climb = 0;
    std::int64_t discarded = 0;
    std::int64_t stops = 0;
    std::int64_t stopSeconds = 0;
    std::int64_t totalSeconds = 0;

    void add(const TrackSummary& s) {
        distanceKm += s.distanceKm;
        climb += s.accumulatedClimb;
        discarded += s.discardedSamples;
        stops += s.stopCount;
        stopSeconds += s.stopSeconds;
        totalSeconds += elapsedSeconds(s);
    }
};

TEST_F(TrackFormats, ADayOfPointsIsAnalysedWholeAndAddsUpToItsPieces) {
    constexpr int kPoints = 100000;
    const auto points = dayTrack(kPoints);
    for (const std::string name : {"dia.gpx", "dia.fit"}) {
        SCOPED_TRACE(name);
        const std::string path =
            dir_.write(name, name == "dia.gpx" ? test::gpxText({points}) : test::fitFile(points));
        MemoryAnalysisView whole;
        whole.path = path;
        runAnalysis(whole, NumberLocale::point());
        ASSERT_TRUE(whole.result.has_value());
        EXPECT_EQ(whole.altitude.rowCount(), kPoints);
        EXPECT_EQ(whole.lastLinesRead, kPoints + 6);
        EXPECT_EQ(whole.result->points.back().point, kPoints);
        std::vector<std::int32_t> stopRows;
        for (const Stop& stop : whole.result->stops)
            stopRows.push_back(stop.row);
        const std::vector<std::int32_t> restRows = {7919,  15838, 23757, 31676, 39595, 47514,
                                                    55433, 63352, 71271, 79190, 87109, 95028};
        EXPECT_EQ(stopRows, restRows);

        splitTrack(path, "1000");
        Totals pieces;
        int count = 0;
        while (std::filesystem::exists(splitFileName(path, count + 1))) {
            MemoryAnalysisView piece;
            piece.path = splitFileName(path, ++count);
            pieces.add(runAnalysis(piece, NumberLocale::point()));
        }
        EXPECT_EQ(count, 101);  // 998 points, then 999 at most
        Totals day;
        day.add(whole.result->summary);
        // The day's distance is one single-precision sum of 99,999 steps, each of which may round
        // it by half a unit in its last place.
        const float km = whole.result->summary.distanceKm;
        EXPECT_NEAR(day.distanceKm, pieces.distanceKm,
                    (kPoints - 1) * (std::nextafter(km, 2 * km) - km) / 2);
        // On one-second legs the climb counts from a reference that lags the altitude by less
        // than the 2 m dead band; a piece starts it afresh at its first point, so each cut may
        // move the sum by less than that.
        EXPECT_NEAR(day.climb, pieces.climb, 2.0 * (count - 1));
        EXPECT_EQ(day.discarded, pieces.discarded);
        EXPECT_EQ(day.stops, pieces.stops);
        EXPECT_EQ(day.stopSeconds, pieces.stopSeconds);
        EXPECT_EQ(day.totalSeconds, pieces.totalSeconds);
        EXPECT_EQ(day.stopSeconds, 12 * 300 + 12);
        EXPECT_EQ(day.discarded, 19);  // the first point's spike has no step before it
    }
}

TEST_F(TrackFormats, ACoordinateOffTheEarthNamesThePointsLine) {
    // Refused where it is read, before the pass could take a step of 2000 degrees.
    const std::vector<RecordedPoint> points = {
        {"10", "1", "500", k10h}, {"2000", "1", "500", k10h + 1}, {"-2000", "1", "500", k10h + 2}};
    const struct {
        std::string path;
        std::int64_t line;
    } cases[] = {
        {dir_.write("lejos.gpx", test::gpxText({points})), 8},  // the second trkpt
        {dir_.write("lejos.tcx", test::tcxText({points})), 13},
    };
    for (const auto& c : cases) {
        MemoryAnalysisView view;
        view.path = c.path;
        try {
            runAnalysis(view, NumberLocale::point());
            ADD_FAILURE() << c.path;
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.kind(), ErrorKind::TypeMismatch) << e.message();
            EXPECT_NE(e.message().find("La latitud no está entre -90 y 90 grados."),
                      std::string::npos)
                << e.message();
            EXPECT_EQ(e.file(), c.path);
            EXPECT_EQ(e.line(), c.line) << e.message();
            EXPECT_EQ(e.text(), "2000");
        }
        EXPECT_TRUE(view.altitude.rows().empty());  // counted first, so nothing was analysed
    }
}

// Beyond a million points the reader stops at the first point too many and says where it is;
// nothing is charted.
TEST_F(TrackFormats, BeyondAMillionPointsTheReaderStopsAndNamesTheLimit) {
    test::FitWriter fit;
    fit.define(0, 20, {{253, 4, 0x86}, {0, 4, 0x85}, {1, 4, 0x85}});
    const auto record = [&fit](int i) {
        std::vector<std::uint8_t> bytes = test::le(1000000000u + static_cast<unsigned>(i), 4);
        for (const int semicircles : {477218588 + i, -35791394 - i}) {
            for (const auto b : test::le(static_cast<std::uint32_t>(semicircles), 4))
                bytes.push_back(b);
        }
        fit.data(0, bytes);
    };
    for (int i = 0; i < 1000000; ++i)
        record(i);
    EXPECT_EQ(openPointSource(dir_.write("millon.fit", fit.file()))->countPoints(), 1000000);

    record(1000000);
    MemoryAnalysisView view;
    view.path = dir_.write("millon-y-uno.fit", fit.file());
    try {
        runAnalysis(view, NumberLocale::point());
        ADD_FAILURE();
    } catch (const RuntimeError& e) {
        // Header, definition, a million records of 13 bytes.
        EXPECT_EQ(e.message(),
                  "Desbordamiento\nEl track tiene más de 1000000 puntos, el máximo que se puede "
                  "analizar.\nArchivo: " +
                      view.path +
                      "\nPosición: byte 13000029\nUn track de más de 1000000 puntos puede "
                      "cortarse antes con «Cortar».");
    }
    EXPECT_TRUE(view.altitude.rows().empty());
}

}  // namespace

}  // namespace at
