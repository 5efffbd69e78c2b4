// The figures of tracks recorded as receivers and phones record today, at the edges of each rule:
// a standstill while recording is a stop, a GPS jump adds no distance, altitude noise on short
// legs is no climb, and a track without times is analysed as a route.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

#include "analysis/analysis_pass.h"
#include "analysis/climb.h"
#include "tests/support/memory_view.h"
#include "tests/support/temp_dir.h"
#include "tests/support/track_formats.h"
#include "tests/support/track_text.h"

namespace at {
namespace {

// A point `north` millionths of a degree north of 40° N, 3° W (8.9878 make a metre), at `feet`,
// `second` seconds after 10:00:00.
struct Pt {
    int north;
    int feet;
    int second;
};

std::string line(const Pt& p) {
    char text[96];
    std::snprintf(text, sizeof text, "40.%06d,-3.000000,0,%d,39307.5,13-08-07,", p.north, p.feet);
    return text + test::clock(36000 + p.second);
}

double km(int north) {
    return north / 8987.8;
}

// Points standing at `north`, `every` seconds apart from `from` to `to`.
std::vector<Pt> standing(int north, int from, int to, int every = 10) {
    std::vector<Pt> points;
    for (int t = from; t <= to; t += every)
        points.push_back({north, 1000, t});
    return points;
}

class DeviceFigures : public ::testing::Test {
  protected:
    TrackSummary analyse(const std::vector<Pt>& points,
                         const NumberLocale& locale = NumberLocale::point()) {
        std::vector<std::string> lines;
        for (const Pt& p : points)
            lines.push_back(line(p));
        view.path = dir.write("ruta.plt", test::trackText(lines));
        return runAnalysis(view, locale);
    }
    std::string label(SummaryLabel l) const { return view.label(l); }
    const std::vector<PointDetail>& points() const { return view.result->points; }

    test::TempDir dir;
    MemoryAnalysisView view;
};

// Two 50 m legs, then a rest at the third point with a few metres of noise until `lastSecond`,
// then 50 m on: the stop's km is the distance after the point before the rest.
TEST_F(DeviceFigures, AStandstillLongerThanTheThresholdIsAStop) {
    const auto rest = [](int lastSecond) {
        std::vector<Pt> track;
        for (const int north : {0, 449, 898, 998, 798, 948, 898, 898, 898})
            track.push_back({north, 1000, static_cast<int>(track.size()) * 10});
        track.push_back({898, 1000, lastSecond});
        track.push_back({1347, 1000, lastSecond + 10});
        return track;
    };
    analyse(rest(90));
    EXPECT_TRUE(view.stopList.empty());
    EXPECT_EQ(label(SummaryLabel::StopCount), "0");

    for (const auto& [locale, entry] : {std::pair{NumberLocale::point(), "0.05 (1'11'')"},
                                        std::pair{NumberLocale::comma(), "0,05 (1'11'')"}}) {
        analyse(rest(91), locale);
        EXPECT_EQ(view.stopList, std::vector<std::string>{entry});
        ASSERT_EQ(view.result->stops.size(), 1u);
        EXPECT_EQ(view.result->stops[0].row, 3);  // marked where the rest began
        EXPECT_EQ(label(SummaryLabel::StopCount), "1");
        EXPECT_EQ(label(SummaryLabel::StopTime), "00h 01' 11''");
        EXPECT_EQ(label(SummaryLabel::TotalTime), "00h 01' 41''");
        EXPECT_EQ(label(SummaryLabel::MovingTime), "00h 00' 30''");
    }
}

// A rest of 120 s to the end of the track, with one point 23.9 m, 26 m or 2 km (a spike out and
// back) from the first: the first is a stop decided at the end, the second breaks the rest into
// stretches too short, the spike's two legs are GPS jumps that add nothing and end no rest.
TEST_F(DeviceFigures, OnePointOutsideTheCircleEndsTheStretchButAJumpDoesNot) {
    const std::vector<std::string> stop = {"0 (2'0'')"};
    for (const auto& [offset, stops, jumps] :
         {std::tuple{215, stop, 0}, std::tuple{234, std::vector<std::string>{}, 0},
          std::tuple{18000, stop, 2}}) {
        auto track = standing(0, 0, 120);
        track[5].north = offset;
        const TrackSummary summary = analyse(track);
        EXPECT_EQ(view.stopList, stops) << offset;
        EXPECT_EQ(summary.gpsJumps, jumps) << offset;
    }
    EXPECT_EQ(label(SummaryLabel::Distance), "0 km");
    EXPECT_TRUE(points()[5].gpsJump && points()[6].gpsJump);
    EXPECT_FALSE(points()[7].gpsJump);
    EXPECT_EQ(view.toolTips[SummaryLabel::HighestSpeed], "Saltos del GPS sin distancia: 2");
}

// A cold start 2 km off with a last point 2 km off again, around 18 steps of 1.3 m a second; and
// four legs of 1 km a second from a standing start, of which at most two in a row are set aside.
TEST_F(DeviceFigures, ColdStartsAndKilometresInASecondAddNothingButNeverThreeInARow) {
    std::vector<Pt> coldStart = {{0, 1000, 0}};
    for (int i = 1; i <= 19; ++i)
        coldStart.push_back({18000 + (i - 1) * 12, 1000, i});
    coldStart.push_back({36000, 1000, 20});
    std::vector<Pt> kmASecond;
    for (int i = 0; i <= 5; ++i)
        kmASecond.push_back({std::min(i, 4) * 8988, 1000, i});
    const struct {
        std::vector<Pt> track;
        std::vector<int> jumpRows;
        int keptNorth;
    } cases[] = {{coldStart, {2, 21}, 18 * 12}, {kmASecond, {2, 3, 5}, 8988}};
    for (const auto& c : cases) {
        const TrackSummary summary = analyse(c.track);
        std::vector<int> rows;
        for (const PointDetail& p : points()) {
            if (p.gpsJump)
                rows.push_back(p.point);
        }
        EXPECT_EQ(rows, c.jumpRows);
        EXPECT_EQ(summary.gpsJumps, static_cast<std::int32_t>(c.jumpRows.size()));
        EXPECT_NEAR(summary.distanceKm, km(c.keptNorth), 1e-6);
    }
}

// Legs of 16 s at 25.0 or 26.0 km/h, then 202 m in 7 s (103.9 km/h) or 99 m in 1 s: only the
// first of these is above four times the speed before and longer than 100 m.
TEST_F(DeviceFigures, AJumpIsFasterThanFourTimesTheSpeedBefore) {
    const struct {
        int step;
        int lastLeg;
        int lastSeconds;
        int jumps;
    } cases[] = {{999, 1816, 7, 1}, {1039, 1816, 7, 0}, {999, 890, 1, 0}};
    for (const auto& c : cases) {
        std::vector<Pt> track;
        for (int i = 0; i < 6; ++i)
            track.push_back({i * c.step, 1000, i * 16});
        track.push_back({5 * c.step + c.lastLeg, 1000, 80 + c.lastSeconds});
        const TrackSummary summary = analyse(track);
        SCOPED_TRACE(c.step);
        EXPECT_NEAR(std::stod(view.speed.rows()[5]), km(c.step) * 225, 1e-3);
        EXPECT_EQ(summary.gpsJumps, c.jumps);
        EXPECT_NEAR(summary.distanceKm, km(5 * c.step + (c.jumps == 0 ? c.lastLeg : 0)), 1e-5);
    }
}

// One-second legs in whole feet: 6 ft (1.83 m) stays inside the 2 m band, 7 ft (2.13 m) climbs;
// the reference follows the altitude down only by 2 m or more; a rise above the limit is still
// a discarded sample and moves the reference.
TEST_F(DeviceFigures, OnShortLegsAltitudeNoiseIsNoClimb) {
    const struct {
        std::vector<int> feet;
        int climbFeet;
        int discarded;
    } cases[] = {
        {{1000, 1006}, 0, 0},       {{1000, 1007}, 7, 0},      {{1000, 1003, 1001, 1007}, 7, 0},
        {{1000, 993, 1000}, 7, 0},  {{1000, 994, 1001}, 0, 0}, {{1000, 1070, 1077}, 7, 1},
        {{1000, 1066, 1072}, 0, 1},
    };
    for (const auto& c : cases) {
        std::vector<Pt> track;
        for (std::size_t i = 0; i < c.feet.size(); ++i)
            track.push_back({0, c.feet[i], static_cast<int>(i)});
        const TrackSummary summary = analyse(track);
        EXPECT_NEAR(summary.accumulatedClimb, c.climbFeet * 0.3048, 1e-9) << c.feet.back();
        EXPECT_EQ(summary.discardedSamples, c.discarded) << c.feet.back();
    }
}

// The band's edges themselves, which whole feet cannot reach: on 15 s legs 1.9 m above the
// reference is noise and 2.0 m climbs, a drop of 2.0 m moves the reference and one of 1.9 m does
// not; a leg of 16 s takes the plain step.
TEST(ClimbDeadBand, TwoMetresFromTheReference) {
    const struct {
        std::int64_t seconds;
        std::vector<double> metres;
        double climbed;
    } cases[] = {
        {15, {100.0, 101.9}, 0.0},       {15, {100.0, 102.0}, 2.0},       {16, {100.0, 101.9}, 1.9},
        {15, {100.0, 98.0, 100.0}, 2.0}, {15, {100.0, 98.1, 100.0}, 0.0},
    };
    for (const auto& c : cases) {
        Climb climb(20);
        climb.restartAt(c.metres[0]);
        for (std::size_t i = 1; i < c.metres.size(); ++i)
            climb.step(c.metres[i - 1], c.metres[i], c.seconds);
        EXPECT_NEAR(climb.accumulated(), c.climbed, 1e-12) << c.seconds << " " << c.metres[1];
    }
}

// Legs of 20 s take the plain step and set the reference; legs of 1 s climb only out of the band.
TEST_F(DeviceFigures, ATrackMixingShortAndLongLegs) {
    const std::vector<int> feet = {1000, 1005, 1010, 1013, 1017, 1016, 1022, 1100, 1107, 1110};
    const std::vector<int> seconds = {0, 1, 21, 22, 23, 43, 44, 45, 46, 66};
    std::vector<Pt> track;
    for (std::size_t i = 0; i < feet.size(); ++i)
        track.push_back({0, feet[i], seconds[i]});
    const TrackSummary summary = analyse(track);
    // 5 ft over 20 s, 7 ft out of the band, 7 ft after the discarded rise, 3 ft over 20 s.
    EXPECT_NEAR(summary.accumulatedClimb, 22 * 0.3048, 1e-9);
    EXPECT_EQ(summary.discardedSamples, 1);
    EXPECT_EQ(label(SummaryLabel::Climb), "6 mts");
}

}  // namespace
}  // namespace at
