#include <gtest/gtest.h>

#include <charconv>
#include <cstdio>
#include <string>
#include <vector>

#include "analysis/analysis_pass.h"
#include "platform/runtime_error.h"
#include "tests/support/memory_view.h"
#include "tests/support/temp_dir.h"
#include "tests/support/track_text.h"

namespace at {
namespace {

using test::TempDir;

// A point in file units: coordinates in millionths of a degree, altitude in feet, time in
// seconds of the day.
struct Pt {
    long long lat;
    long long lon;
    int feet;
    int second;
};

std::string coordinate(long long digits) {
    char text[40];
    const long long magnitude = digits < 0 ? -digits : digits;
    std::snprintf(text, sizeof text, "%s%lld.%06lld", digits < 0 ? "-" : "", magnitude / 1000000,
                  magnitude % 1000000);
    return text;
}

std::string line(const Pt& p) {
    return coordinate(p.lat) + "," + coordinate(p.lon) + ",0," + std::to_string(p.feet) +
           ",39307.5,13-08-07," + test::clock(p.second);
}

std::vector<std::string> lines(const std::vector<Pt>& points) {
    std::vector<std::string> out;
    for (const auto& p : points)
        out.push_back(line(p));
    return out;
}

// Points going north, `step` millionths of a degree apart, `every` seconds apart.
std::vector<Pt> northbound(int count, long long step, int every, int feet = 1000) {
    std::vector<Pt> points;
    for (int i = 0; i < count; ++i)
        points.push_back({40000000 + i * step, -3000000, feet, 36000 + i * every});
    return points;
}

// 8988 millionths of a degree of latitude are 1.0000222 km. A km takes 40 s or more from a
// standing start in these tracks: faster legs of more than 100 m are GPS jumps.
constexpr long long kOneKm = 8988;
constexpr long long kHalfKm = 4494;
constexpr long long kHundredMetres = 899;
constexpr long long kTenMetres = 90;

double km(long long latitudeUnits) {
    return static_cast<double>(latitudeUnits) / 8987.8;
}

double number(const std::string& text) {
    std::string canonical = text;
    for (auto& c : canonical) {
        if (c == ',')
            c = '.';
    }
    double value = 0;
    std::from_chars(canonical.data(), canonical.data() + canonical.size(), value);
    return value;
}

class AnalysisPassTest : public ::testing::Test {
  protected:
    TrackSummary analyse(const std::string& bytes,
                         const NumberLocale& locale = NumberLocale::point()) {
        view.path = dir.write("ruta.plt", bytes);
        return runAnalysis(view, locale);
    }
    TrackSummary analyse(const std::vector<Pt>& points,
                         const NumberLocale& locale = NumberLocale::point()) {
        return analyse(test::trackText(lines(points)), locale);
    }
    std::string label(SummaryLabel l) const { return view.label(l); }

    // Runs the pass expecting a failure of `kind`; returns it.
    RuntimeError failure(ErrorKind kind) {
        try {
            runAnalysis(view, NumberLocale::point());
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.kind(), kind) << e.message();
            return e;
        }
        ADD_FAILURE() << "no error";
        return RuntimeError(kind);
    }

    void presetLabels(const std::string& text) {
        for (int l = 0; l <= static_cast<int>(SummaryLabel::MovingTime); ++l) {
            view.labels[static_cast<SummaryLabel>(l)] = text;
        }
    }

    TempDir dir;
    MemoryAnalysisView view;
};

TEST_F(AnalysisPassTest, TrackWithoutPointsKeepsTheStartValues) {
    analyse(test::trackText({}));
    EXPECT_EQ(label(SummaryLabel::Climb), "0 mts");
    EXPECT_EQ(label(SummaryLabel::DiscardedSamples), "0");
    EXPECT_EQ(label(SummaryLabel::Distance), "0 km");
    EXPECT_EQ(label(SummaryLabel::LowestAltitude), "6000 mts");
    EXPECT_EQ(label(SummaryLabel::HighestAltitude), "0 mts");
    EXPECT_EQ(label(SummaryLabel::LowestSpeed), "1000 km/h");
    EXPECT_EQ(label(SummaryLabel::HighestSpeed), "0 km/h");
    EXPECT_EQ(label(SummaryLabel::TotalTime), "00h 00' 00''");
    EXPECT_EQ(label(SummaryLabel::StopCount), "0");
    EXPECT_EQ(label(SummaryLabel::StopTime), "00h 00' 00''");
    EXPECT_EQ(label(SummaryLabel::MovingTime), "00h 00' 00''");
    EXPECT_EQ(view.altitude.rowCount(), 0);
    EXPECT_EQ(view.altitude.axisMinimum(), 5995.0);  // above the maximum: the chart copes
    EXPECT_EQ(view.altitude.axisMaximum(), 5.0);
    EXPECT_EQ(view.lastLinesRead, 6);
    EXPECT_EQ(view.lastDistanceKm, 0.0f);
}

TEST_F(AnalysisPassTest, BlankLineEndsTheDataButTheCountSizesTheCharts) {
    const auto summary =
        analyse(test::trackText({"   ", line({1, 1, 500, 0}), line({1, 1, 500, 9})}));
    EXPECT_EQ(summary.linesRead, 7);
    EXPECT_EQ(view.lastLinesRead, 7);
    EXPECT_EQ(view.altitude.rowCount(), 3);
    EXPECT_EQ(view.speed.rowCount(), 3);
    EXPECT_EQ(view.altitude.rows(), (std::vector<std::string>{"", "", ""}));
    EXPECT_FALSE(summary.startTime.has_value());

    analyse(test::trackText(lines({{1, 1, 500, 0}, {1, 1, 600, 5}}), "\r\n") + "\r\n" +
            line({9, 9, 9, 9}) + "\r\n");
    EXPECT_EQ(view.lastLinesRead, 9);
    EXPECT_EQ(view.altitude.rowCount(), 4);
    EXPECT_EQ(view.altitude.rows()[3], "");  // behind the blank line: never written
    EXPECT_EQ(label(SummaryLabel::HighestAltitude), "182.9 mts");
}

TEST_F(AnalysisPassTest, SinglePointUnderBothDecimalSeparators) {
    for (const auto& [locale, altitude] :
         {std::pair{NumberLocale::point(), "152.4"}, std::pair{NumberLocale::comma(), "152,4"}}) {
        const auto summary = analyse(std::vector<Pt>{{47466222, 3747318, 500, 28339}}, locale);
        EXPECT_EQ(label(SummaryLabel::Climb), "0 mts");
        EXPECT_EQ(label(SummaryLabel::DiscardedSamples), "0");
        EXPECT_EQ(label(SummaryLabel::Distance), "0 km");
        EXPECT_EQ(label(SummaryLabel::LowestAltitude), std::string(altitude) + " mts");
        EXPECT_EQ(label(SummaryLabel::HighestAltitude), std::string(altitude) + " mts");
        EXPECT_EQ(label(SummaryLabel::LowestSpeed), "0 km/h");
        EXPECT_EQ(label(SummaryLabel::HighestSpeed), "0 km/h");
        EXPECT_EQ(label(SummaryLabel::StopCount), "0");
        for (auto l : {SummaryLabel::TotalTime, SummaryLabel::StopTime, SummaryLabel::MovingTime}) {
            EXPECT_EQ(label(l), "00h 00' 00''");
        }
        EXPECT_EQ(view.altitude.rows(), std::vector<std::string>{altitude});
        EXPECT_EQ(view.speed.rows(), std::vector<std::string>{"0"});
        EXPECT_EQ(view.altitude.axisMinimum(), 147.0);
        EXPECT_EQ(view.altitude.axisMaximum(), 157.0);
        EXPECT_EQ(summary.startTime, summary.endTime);
    }
}

TEST_F(AnalysisPassTest, AltitudeFilterClimbsSmallRisesAndCountsLargeOnes) {
    // Rises of 65 ft (19.812 m) and 66 ft (20.1168 m), then a drop of 330 ft.
    const std::vector<Pt> track = {
        {1, 1, 1000, 0}, {1, 1, 1065, 10}, {1, 1, 1131, 20}, {1, 1, 801, 30}, {1, 1, 801, 40}};
    analyse(track);
    EXPECT_EQ(label(SummaryLabel::Climb), "19 mts");
    EXPECT_EQ(label(SummaryLabel::DiscardedSamples), "1");
    EXPECT_EQ(label(SummaryLabel::LowestAltitude), "244.1 mts");
    EXPECT_EQ(label(SummaryLabel::HighestAltitude), "344.7 mts");
    EXPECT_EQ(view.altitude.axisMinimum(), 239.0);
    EXPECT_EQ(view.altitude.axisMaximum(), 350.0);
    // The discarded sample is drawn at its own altitude.
    EXPECT_NEAR(number(view.altitude.rows()[2]), 344.7288, 1e-9);
    const auto defaultRows = view.altitude.rows();
    const auto defaultSpeeds = view.speed.rows();

    view.altitudeJump = "0";
    analyse(track);
    EXPECT_EQ(label(SummaryLabel::Climb), "0 mts");
    EXPECT_EQ(label(SummaryLabel::DiscardedSamples), "2");
    // Neither the altitude nor the speed of a point depends on the thresholds.
    EXPECT_EQ(view.altitude.rows(), defaultRows);
    EXPECT_EQ(view.speed.rows(), defaultSpeeds);
}

TEST_F(AnalysisPassTest, ExtremesThatNoPointChangesKeepTheirStartValues) {
    analyse(std::vector<Pt>{{1, 1, 20000, 0}, {1, 1, 20100, 10}});  // above 6000 m
    EXPECT_EQ(label(SummaryLabel::LowestAltitude), "6000 mts");
    EXPECT_EQ(label(SummaryLabel::HighestAltitude), "6126.5 mts");
    analyse(std::vector<Pt>{{1, 1, -100, 0}, {1, 1, -50, 10}});  // below sea level
    EXPECT_EQ(label(SummaryLabel::HighestAltitude), "0 mts");
    EXPECT_EQ(label(SummaryLabel::LowestAltitude), "-30.5 mts");
    EXPECT_EQ(label(SummaryLabel::Climb), "15 mts");
}

TEST_F(AnalysisPassTest, DistanceOnAFlatProjectionAroundTheCurrentPoint) {
    auto summary = analyse(northbound(14, kOneKm, 40));
    EXPECT_NEAR(summary.distanceKm, 13 * 1.0000222, 1e-4);
    EXPECT_EQ(label(SummaryLabel::Distance), "13 km");
    EXPECT_EQ(view.lastDistanceKm, summary.distanceKm);

    // At 60° a degree of longitude is half as long: 18040 millionths make one km.
    summary = analyse({{60000000, 0, 1000, 0}, {60000000, 18040, 1000, 40}});
    EXPECT_NEAR(summary.distanceKm, 1.0, 1e-4);

    // Seven decimals are the six they round to.
    summary = analyse(test::trackText(
        {"40.0000000,-3.0,0,1000,0,x,10:00:00", "40.0089880,-3.0,0,1000,0,x,10:00:40"}));
    EXPECT_NEAR(summary.distanceKm, 1.0000222, 1e-4);
}

TEST_F(AnalysisPassTest, APointAfterZeroFeetTakesNoStep) {
    const std::vector<Pt> track = {{40000000, 0, 1000, 0},
                                   {40000000 + kOneKm, 0, 0, 40},
                                   {40000000 + 2 * kOneKm, 0, 1000, 80},
                                   {40000000 + 3 * kOneKm, 0, 1000, 120}};
    const auto summary = analyse(track);
    EXPECT_NEAR(summary.distanceKm, 2 * 1.0000222, 1e-4);
    EXPECT_EQ(label(SummaryLabel::DiscardedSamples), "0");
    EXPECT_EQ(label(SummaryLabel::Climb), "0 mts");
    EXPECT_EQ(label(SummaryLabel::LowestAltitude), "0 mts");

    analyse(northbound(5, kOneKm, 30, 0));
    EXPECT_EQ(label(SummaryLabel::Distance), "0 km");
    EXPECT_EQ(label(SummaryLabel::HighestAltitude), "0 mts");
}

TEST_F(AnalysisPassTest, SpeedOverTheFirstWindowLongerThanFifteenSeconds) {
    // Half a km every 20 s: 90 km/h from point 5 on, 0 before.
    analyse(northbound(8, kHalfKm, 20));
    const auto& speeds = view.speed.rows();
    ASSERT_EQ(speeds.size(), 8u);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(speeds[i], "0") << i;
    for (int i = 4; i < 8; ++i)
        EXPECT_NEAR(number(speeds[i]), 90.002, 1e-3) << i;
    EXPECT_EQ(label(SummaryLabel::LowestSpeed), "0 km/h");
    EXPECT_EQ(label(SummaryLabel::HighestSpeed), "90 km/h");

    // 100 m every 6 s: the first window over 15 s spans three gaps.
    analyse(northbound(6, kHundredMetres, 6));
    EXPECT_NEAR(number(view.speed.rows()[4]), 3 * km(kHundredMetres) / (18.0 / 3600), 1e-2);
}

// One sample a second (or two): the window reaches back past the last four gaps to the first
// point 16 s or more before; until a window that long exists the speed carries over.
TEST_F(AnalysisPassTest, DenseSamplesTakeTheFirstWindowOfSixteenSecondsOrMore) {
    analyse(northbound(30, kTenMetres, 1));
    const auto& everySecond = view.speed.rows();
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(everySecond[i], "0") << "point " << i + 1;
    for (int i = 16; i < 30; ++i)  // k = 16
        EXPECT_NEAR(number(everySecond[i]), 16 * km(kTenMetres) / (16.0 / 3600), 1e-2) << i + 1;
    EXPECT_EQ(label(SummaryLabel::HighestSpeed), "36 km/h");

    // Two samples a second, written as repeated whole seconds: k = 31 on the first sample of a
    // second, k = 32 on the second.
    std::vector<Pt> halfSeconds;
    for (int i = 0; i < 60; ++i)
        halfSeconds.push_back({40000000 + i * kTenMetres, -3000000, 1000, 36000 + i / 2});
    analyse(halfSeconds);
    EXPECT_NEAR(number(view.speed.rows()[40]), 31 * km(kTenMetres) / (16.0 / 3600), 1e-2);
    EXPECT_NEAR(number(view.speed.rows()[41]), 32 * km(kTenMetres) / (16.0 / 3600), 1e-2);

    // Exactly 15 s never qualifies, for the first four windows as for the deeper ones.
    analyse(northbound(6, kHundredMetres, 15));
    EXPECT_NEAR(number(view.speed.rows()[4]), 2 * km(kHundredMetres) / (30.0 / 3600), 1e-2);
    analyse(northbound(7, kTenMetres, 3));
    EXPECT_EQ(view.speed.rows()[5], "0");  // k = 5 spans exactly 15 s
    EXPECT_NEAR(number(view.speed.rows()[6]), 6 * km(kTenMetres) / (18.0 / 3600), 1e-2);
    analyse(northbound(6, kHundredMetres, 16));
    EXPECT_NEAR(number(view.speed.rows()[4]), km(kHundredMetres) / (16.0 / 3600), 1e-2);
}

TEST_F(AnalysisPassTest, AClockStandingStillLongerThanSixtyFourPointsCarriesTheSpeedOver) {
    auto track = northbound(10, kOneKm, 20);
    // 80 more points with the clock stuck, drifting north: only windows that reach back to
    // point 9 or earlier qualify, and from point 74 on none is within 64 points.
    for (int i = 0; i < 80; ++i)
        track.push_back({track.back().lat + 100, -3000000, 1000, track[9].second});
    analyse(track);
    const auto& speeds = view.speed.rows();
    EXPECT_NE(speeds[72], speeds[71]);  // point 73: k = 64 reaches point 9
    for (int i = 73; i < 90; ++i)
        EXPECT_EQ(speeds[i], speeds[72]) << "point " << i + 1;
}

TEST_F(AnalysisPassTest, TimeRunningBackwardsCarriesTheSpeedOver) {
    auto track = northbound(5, kHalfKm, 20);
    track.push_back({track.back().lat + kTenMetres, -3000000, 1000, track.back().second - 100});
    analyse(track);
    EXPECT_EQ(view.speed.rows()[5], view.speed.rows()[4]);
    EXPECT_NE(view.speed.rows()[5], "0");
}

TEST_F(AnalysisPassTest, StopsAreListedWithTheKmTwoPointsBeforeTheGap) {
    // 111.26 m steps; gaps of 205 s (stop), 71 s (stop) and 70 s (not a stop).
    const int times[] = {0, 10, 20, 30, 40, 50, 255, 326, 396};
    std::vector<Pt> track;
    for (int i = 0; i < 9; ++i)
        track.push_back({40000000 + i * 1000LL, -3000000, 1000, 36000 + times[i]});
    for (const auto& [locale, first, second, distance] :
         {std::tuple{NumberLocale::point(), "0.45 (3'25'')", "0.56 (1'11'')", "0.9 km"},
          std::tuple{NumberLocale::comma(), "0,45 (3'25'')", "0,56 (1'11'')", "0,9 km"}}) {
        view.stopList = {"de antes"};
        analyse(track, locale);
        EXPECT_EQ(view.stopList, (std::vector<std::string>{first, second}));
        EXPECT_EQ(label(SummaryLabel::StopCount), "2");
        EXPECT_EQ(label(SummaryLabel::StopTime), "00h 04' 36''");
        EXPECT_EQ(label(SummaryLabel::TotalTime), "00h 06' 36''");
        EXPECT_EQ(label(SummaryLabel::MovingTime), "00h 02' 00''");
        EXPECT_EQ(label(SummaryLabel::Distance), distance);
    }
}

TEST_F(AnalysisPassTest, StopsEarlyInTheTrackShowKmZero) {
    analyse({{1, 1, 1000, 0}, {1, 1, 1000, 100}, {1, 1, 1000, 200}});
    EXPECT_EQ(view.stopList, (std::vector<std::string>{"0 (1'40'')", "0 (1'40'')"}));
}

TEST_F(AnalysisPassTest, TimesRunOnPastMidnight) {
    // 22:40 to 01:10, a point a minute, with a rest from 23:55 to 00:10.
    std::vector<Pt> night;
    for (int t = 22 * 3600 + 40 * 60; t <= 23 * 3600 + 55 * 60; t += 60)
        night.push_back(
            {40000000 + static_cast<long long>(night.size()) * 1000, -3000000, 1000, t});
    for (int t = 10 * 60; t <= 70 * 60; t += 60)
        night.push_back(
            {40000000 + static_cast<long long>(night.size()) * 1000, -3000000, 1000, t});
    auto summary = analyse(night);
    ASSERT_EQ(view.stopList.size(), 1u);
    EXPECT_EQ(view.stopList[0].substr(view.stopList[0].find(' ')), " (15'0'')");
    EXPECT_EQ(label(SummaryLabel::StopCount), "1");
    EXPECT_EQ(label(SummaryLabel::TotalTime), "02h 30' 00''");
    EXPECT_EQ(label(SummaryLabel::StopTime), "00h 15' 00''");
    EXPECT_EQ(label(SummaryLabel::MovingTime), "02h 15' 00''");
    EXPECT_NEAR(summary.endTime - *summary.startTime, 2.5 / 24, 1e-9);
    // The first point after midnight: one step over the 900 s gap.
    EXPECT_NEAR(number(view.speed.rows()[76]), 0.11126 / 0.25, 1e-3);
    EXPECT_EQ(label(SummaryLabel::LowestSpeed), "0 km/h");

    // Five days and nights, a point every eight hours: every hour digit is kept.
    std::vector<Pt> days;
    for (int p = 0; p <= 15; ++p)
        days.push_back({1, 1, 1000, p * 8 * 3600 % 86400});
    analyse(days);
    EXPECT_EQ(label(SummaryLabel::TotalTime), "120h 00' 00''");
    EXPECT_EQ(label(SummaryLabel::StopCount), "15");
    EXPECT_EQ(label(SummaryLabel::StopTime), "120h 00' 00''");
    EXPECT_EQ(label(SummaryLabel::MovingTime), "00h 00' 00''");
}

TEST_F(AnalysisPassTest, AStepBackOfTwelveHoursOrLessStaysNegative) {
    for (const auto& [back, total] :
         {std::pair{3600, "-00h 59' 40''"}, std::pair{43200, "-11h 59' 40''"}}) {
        analyse({{1, 1, 1000, 50000}, {1, 1, 1000, 50020}, {1, 1, 1000, 50020 - back}});
        EXPECT_TRUE(view.stopList.empty()) << back;
        EXPECT_EQ(label(SummaryLabel::TotalTime), total);
        EXPECT_EQ(label(SummaryLabel::MovingTime), total);
    }
    // One second more than twelve hours back is the next day.
    analyse({{1, 1, 1000, 50000}, {1, 1, 1000, 50020}, {1, 1, 1000, 50020 - 43201}});
    EXPECT_EQ(label(SummaryLabel::TotalTime), "12h 00' 19''");
}

// -777 ft is how GPS software writes "no altitude": such a point still moves the track on, but
// takes no part in altitudes, climb or the samples counted as erroneous.
TEST_F(AnalysisPassTest, PointsWithoutAltitude) {
    const std::vector<Pt> track = {{40000000, 0, -777, 0},
                                   {40000000 + kOneKm, 0, 1000, 40},
                                   {40000000 + 2 * kOneKm, 0, 1010, 80},
                                   {40000000 + 3 * kOneKm, 0, -777, 120},
                                   {40000000 + 4 * kOneKm, 0, 1200, 160},
                                   {40000000 + 5 * kOneKm, 0, 1210, 200},
                                   {40000000 + 6 * kOneKm, 0, -777, 240}};
    for (const auto& [locale, rows] :
         {std::pair{NumberLocale::point(),
                    std::vector<std::string>{"0", "304.8", "307.848", "307.848", "365.76",
                                             "368.808", "368.808"}},
          std::pair{NumberLocale::comma(),
                    std::vector<std::string>{"0", "304,8", "307,848", "307,848", "365,76",
                                             "368,808", "368,808"}}}) {
        const auto summary = analyse(track, locale);
        EXPECT_NEAR(summary.distanceKm, 6 * 1.0000222, 1e-4);
        EXPECT_EQ(label(SummaryLabel::Climb), "6 mts");  // 2 × 10 ft; 1010 to 1200 is no step
        EXPECT_EQ(label(SummaryLabel::DiscardedSamples), "0");
        EXPECT_EQ(view.altitude.rows(), rows);
        EXPECT_EQ(view.altitude.axisMinimum(), 300.0);
        EXPECT_EQ(view.altitude.axisMaximum(), 374.0);
    }
    EXPECT_EQ(label(SummaryLabel::LowestAltitude), "304,8 mts");
    EXPECT_EQ(label(SummaryLabel::HighestAltitude), "368,8 mts");

    // "-777.0" is the same mark; a track without any altitude has no climb and no altitude
    // extremes, and its profile is not fitted to any.
    const auto summary =
        analyse(test::trackText({"40.0,0,0,-777.0,0,x,10:00:00", "40.008988,0,0,-777,0,x,10:00:40",
                                 "40.017976,0,0,-777,0,x,10:01:20"}));
    EXPECT_NEAR(summary.distanceKm, 2 * 1.0000222, 1e-4);
    EXPECT_EQ(label(SummaryLabel::LowestAltitude), "—");
    EXPECT_EQ(label(SummaryLabel::HighestAltitude), "—");
    EXPECT_EQ(label(SummaryLabel::Climb), "—");
    EXPECT_EQ(view.altitude.rows(), (std::vector<std::string>{"0", "0", "0"}));
    EXPECT_EQ(view.altitude.axisMinimum(), 300.0);  // as the track before left it
    EXPECT_EQ(view.altitude.hint(), "Este track no tiene altitudes");

    // 0 ft keeps its old meaning: the next point takes no distance step.
    analyse({{40000000, 0, 1000, 0},
             {40000000 + kOneKm, 0, 0, 40},
             {40000000 + 2 * kOneKm, 0, -777, 80},
             {40000000 + 3 * kOneKm, 0, 1000, 120}});
    EXPECT_EQ(label(SummaryLabel::Distance), "2 km");
}

TEST_F(AnalysisPassTest, CoordinatesWithFourToSevenDecimalsGiveTheDistancesOfSix) {
    const std::vector<std::string> six = {
        "40.000000,-3.100000,0,1000,0,x,10:00:00", "40.008990,-3.100000,0,1000,0,x,10:01:00",
        "40.017980,-3.090000,0,1000,0,x,10:02:00", "40.026970,-3.080000,0,1000,0,x,10:03:00",
        "40.035960,-3.070000,0,1000,0,x,10:04:00", "40.044950,-3.060000,0,1000,0,x,10:05:00"};
    const std::vector<std::string> mixed = {
        "40.0000,-3.1000,0,1000,0,x,10:00:00",     "40.00899,-3.10000,0,1000,0,x,10:01:00",
        "40.017980,-3.090000,0,1000,0,x,10:02:00", "40.0269700,-3.0800000,0,1000,0,x,10:03:00",
        "40.03596,-3.07,0,1000,0,x,10:04:00",      "40.04495,-3.060000,0,1000,0,x,10:05:00"};
    const auto expected = analyse(test::trackText(six));
    const auto speeds = view.speed.rows();
    const auto summary = analyse(test::trackText(mixed));
    EXPECT_EQ(summary.distanceKm, expected.distanceKm);
    EXPECT_EQ(view.speed.rows(), speeds);
    EXPECT_NEAR(summary.distanceKm, 6.248, 1e-3);
}

TEST_F(AnalysisPassTest, ReadsFilesOtherGpsSoftwareWrites) {
    const std::string gps =
        "  47.466222,   3.747318,0, 1258.8,39307.3279977, 13-ao\xFBt-07, 07:52:19";
    const std::string converted = "47.466222,3.747318,1,1258.8,39307.3280015,,";
    for (const std::string eol : {"\n", "\r\n", "\r"}) {
        const auto summary = analyse(test::trackText({gps, converted}, eol));
        EXPECT_EQ(summary.linesRead, 8) << "line end " << int(eol.back());
        EXPECT_EQ(label(SummaryLabel::HighestAltitude), "383.7 mts");  // 1259 ft
        EXPECT_EQ(label(SummaryLabel::TotalTime), "00h 00' 00''");
    }
}

TEST_F(AnalysisPassTest, SettingsFailBeforeTheFileIsOpened) {
    view.stopList = {"de antes"};
    view.altitude.setRowCount(3);
    view.altitudeJump = "veinte";
    view.path = dir.file("no existe.plt");
    const auto e = failure(ErrorKind::TypeMismatch);
    EXPECT_FALSE(e.file().has_value());
    EXPECT_TRUE(view.stopList.empty());
    EXPECT_EQ(view.altitude.rowCount(), 3);

    view.altitudeJump = "20";
    view.stopMinutes = "547";
    failure(ErrorKind::Overflow);
    view.stopMinutes = "546";
    view.stopSecondsInput = "8";
    failure(ErrorKind::Overflow);
}

TEST_F(AnalysisPassTest, FailuresLeaveWhatWasWrittenAndCloseTheFile) {
    analyse(northbound(3, kOneKm, 10));
    presetLabels("previo");
    view.keepForReadout(99, 9.5f);
    const int openBefore = test::openFileCount();

    struct Case {
        const char* name;
        std::string bytes;
        ErrorKind kind;
        std::optional<int> line;
    };
    const std::string header = test::trackText({});
    const Case cases[] = {
        {"header of five lines", "1\r\n2\r\n3\r\n4\r\n5\r\n", ErrorKind::PastEndOfFile, 6},
        {"LF file of five lines", "1\n2\n3\n4\n5", ErrorKind::PastEndOfFile, 6},
        {"bad altitude", test::trackText({line({1, 1, 1000, 0}), "1.0,1.0,0,alto,0,x,10:00:00"}),
         ErrorKind::TypeMismatch, 8},
        {"altitude 40000", test::trackText({"1.0,1.0,0,40000,0,x,10:00:00"}), ErrorKind::Overflow,
         7},
        {"time 25:61:61", test::trackText({"1.0,1.0,0,4,0,x,25:61:61"}), ErrorKind::TypeMismatch,
         7},
        {"coordinate beyond 32 bits", test::trackText({"4000.000000,1.0,0,4,0,x,10:00:00"}),
         ErrorKind::Overflow, 7},
        {"coordinate step overflows",
         test::trackText({line({2000000000, 1, 1000, 0}), line({-2000000000, 1, 1000, 10})}),
         ErrorKind::Overflow, 8},
        {"fewer than six commas", test::trackText({"1.0,1.0,0,4,10:00:00"}),
         ErrorKind::TypeMismatch, 7},
        {"NUL bytes", header + std::string(200, '\0'), ErrorKind::TypeMismatch, 7},
        {"binary garbage", header + "\x89PNG\x1a\xff\xfe,\x01,,\x02,,,,", ErrorKind::TypeMismatch,
         7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        view.path = dir.write("mala.plt", c.bytes);
        const auto e = failure(c.kind);
        EXPECT_EQ(e.file(), view.path);
        EXPECT_EQ(e.line(), c.line);
        EXPECT_EQ(label(SummaryLabel::Distance), "previo");
        EXPECT_EQ(label(SummaryLabel::MovingTime), "previo");
        EXPECT_EQ(view.lastLinesRead, 99);
        EXPECT_EQ(test::openFileCount(), openBefore);
    }
    view.path = dir.path().string();
    failure(ErrorKind::PathFileAccess);
    view.path = "-vacio-";
    EXPECT_EQ(failure(ErrorKind::FileNotFound).file(), "-vacio-");
}

TEST_F(AnalysisPassTest, AStopFoundBeforeAFailureStaysListed) {
    view.path =
        dir.write("t.plt", test::trackText({line({1, 1, 1000, 0}), "1.0,1.0,0,alto,0,x,00:03:25"}));
    failure(ErrorKind::TypeMismatch);
    EXPECT_EQ(view.stopList, std::vector<std::string>{"0 (3'25'')"});
    EXPECT_EQ(view.altitude.rows()[0], "304.8");  // rows written so far stay
}

TEST_F(AnalysisPassTest, MoreThan32767PointsFailAtSizingWithNothingCharted) {
    analyse(northbound(4, kOneKm, 10));
    presetLabels("previo");
    std::vector<std::string> many(40000, line({1, 1, 100, 0}));
    view.path = dir.write("grande.plt", test::trackText(many));
    failure(ErrorKind::Overflow);
    EXPECT_EQ(view.altitude.rowCount(), 4);
    EXPECT_EQ(view.speed.rowCount(), 4);
    EXPECT_EQ(label(SummaryLabel::Climb), "previo");
}

TEST_F(AnalysisPassTest, LinesReadBeyondSixteenBitsFailBeforeTheLastThreeLabels) {
    presetLabels("previo");
    view.keepForReadout(99, 9.5f);
    std::vector<std::string> points(32762, line({1, 1, 100, 0}));
    view.path = dir.write("limite.plt", test::trackText(points));
    failure(ErrorKind::Overflow);
    EXPECT_EQ(label(SummaryLabel::TotalTime), "00h 00' 00''");
    EXPECT_EQ(view.altitude.axisMinimum(), 25.0);
    EXPECT_EQ(label(SummaryLabel::StopCount), "previo");
    EXPECT_EQ(label(SummaryLabel::MovingTime), "previo");
    EXPECT_EQ(view.lastLinesRead, 99);

    points.pop_back();
    analyse(test::trackText(points));
    EXPECT_EQ(view.lastLinesRead, 32767);
    EXPECT_EQ(view.altitude.rowCount(), 32761);
    EXPECT_EQ(label(SummaryLabel::StopCount), "0");
}

}  // namespace
}  // namespace at
