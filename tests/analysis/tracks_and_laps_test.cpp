// A file of several tracks is listed and analysed one track at a time; the laps a file marks are
// measured by the pass from their own points.
#include <gtest/gtest.h>

#include "analysis/activity_lines.h"
#include "analysis/analyse_track.h"
#include "formats/track_list.h"
#include "tests/support/temp_dir.h"
#include "tests/support/track_formats.h"

namespace at::test {
namespace {

constexpr std::int64_t k10h = 1714557600;  // 2024-05-01 10:00 UTC
constexpr std::uint32_t kFitEpoch = 631065600;
// Each point 0.0009 degrees of latitude north of the one before.
constexpr double kStepKm = 900.0 / 8987.8;

std::vector<RecordedPoint> northward(int count, std::int64_t start, int secondsApart) {
    std::vector<RecordedPoint> points;
    for (int i = 0; i < count; ++i) {
        points.push_back(
            {"41." + std::to_string(100000 + 900 * i), "2.1", "120", start + secondsApart * i});
    }
    return points;
}

// A FIT activity of `count` records 20 s apart, its laps beginning at the records `lapStarts`
// (the lap messages after the records, as devices write them), and its sport.
std::string fitActivity(std::uint32_t start, int count, const std::vector<int>& lapStarts,
                        std::uint8_t sport) {
    FitWriter fit;
    fit.define(0, 20, {{253, 4, 0x86}, {0, 4, 0x85}, {1, 4, 0x85}, {2, 2, 0x84}});
    for (int i = 0; i < count; ++i) {
        std::vector<std::uint8_t> bytes = le(start + 20 * i, 4);
        for (const auto& part :
             {le(static_cast<std::uint32_t>(semicircles(41.1 + 0.0009 * i)), 4),
              le(static_cast<std::uint32_t>(semicircles(2.1)), 4), le((120 + 500) * 5, 2)})
            bytes.insert(bytes.end(), part.begin(), part.end());
        fit.data(0, bytes);
    }
    fit.define(1, 19, {{253, 4, 0x86}, {2, 4, 0x86}});
    for (const int first : lapStarts) {
        std::vector<std::uint8_t> bytes = le(start + 20 * count, 4);
        const auto lapStart = le(start + 20 * first, 4);
        bytes.insert(bytes.end(), lapStart.begin(), lapStart.end());
        fit.data(1, bytes);
    }
    fit.define(2, 12, {{0, 1, 0x00}});
    fit.data(2, {sport});
    return fit.file();
}

std::vector<int> lapRows(const AnalysisResult& result) {
    std::vector<int> rows;
    for (const Lap& lap : result.laps)
        rows.push_back(lap.row);
    return rows;
}

class TracksAndLaps : public testing::Test {
  protected:
    AnalysisResult analyse(const std::string& path, int track = 1) const {
        return analyseTrack({path, {"20", "1", "10"}, track}, NumberLocale::comma());
    }

    ScopedTimeZone zone_{"UTC0"};
    TempDir dir_;
};

TEST_F(TracksAndLaps, ThreeGpxTracksAreListedAndAnalysedEachOnItsOwn) {
    const std::string path = dir_.write("tres.gpx", threeTrackGpx());
    const std::vector<TrackListing> tracks = listTracks(path);
    ASSERT_EQ(tracks.size(), 3u);
    const struct {
        const char* name;
        bool onFoot;
        std::int32_t day;
        std::int64_t points;
    } expected[] = {
        {"Mañana", true, 45413, 4}, {"Tarde", false, 45413, 3}, {"Noche", false, 45414, 5}};
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(tracks[i].number, static_cast<int>(i) + 1);
        EXPECT_EQ(tracks[i].name, expected[i].name);
        EXPECT_EQ(tracks[i].onFoot, expected[i].onFoot);
        EXPECT_EQ(tracks[i].day, expected[i].day);
        EXPECT_EQ(tracks[i].points, expected[i].points);
        const AnalysisResult result = analyse(path, static_cast<int>(i) + 1);
        EXPECT_EQ(static_cast<std::int64_t>(result.points.size()), expected[i].points);
        ASSERT_TRUE(result.heading);
        EXPECT_EQ(result.heading->name, expected[i].name);
        EXPECT_EQ(result.date(), expected[i].day);
    }
    // The hours between the outings are neither a stop nor distance of the first.
    EXPECT_EQ(analyse(path).summary.stopCount, 1);  // the pause between its two segments
    EXPECT_THROW(analyse(path, 4), RuntimeError);   // the file has three
}

TEST_F(TracksAndLaps, TcxLapsAreMeasuredFromTheirOwnPoints) {
    std::string tcx = tcxText({northward(3, k10h, 20), northward(2, k10h + 60, 20)});
    // The second lap continues northward from the first.
    tcx.replace(tcx.find("41.100000</Lat", tcx.find("<Lap", tcx.find("<Lap") + 1)), 9, "41.102700");
    tcx.replace(tcx.find("41.100900</Lat", tcx.find("<Lap", tcx.find("<Lap") + 1)), 9, "41.103600");
    tcx.replace(tcx.find("Biking"), 6, "Running");
    const AnalysisResult result = analyse(dir_.write("vueltas.tcx", tcx));
    ASSERT_EQ(lapRows(result), (std::vector<int>{1, 4}));
    const Lap& first = result.laps[0];
    const Lap& second = result.laps[1];
    // A lap runs to where the next begins, so the laps add up to the track.
    EXPECT_NEAR(first.distanceKm, 3 * kStepKm, 1e-5);
    EXPECT_EQ(first.seconds, 60);
    EXPECT_NEAR(*first.meanSpeedKmh, 3 * kStepKm * 60, 1e-3);
    EXPECT_NEAR(second.distanceKm, kStepKm, 1e-5);
    EXPECT_EQ(second.seconds, 20);
    EXPECT_FALSE(first.meanHeartRate);
    EXPECT_NEAR(first.distanceKm + second.distanceKm, result.summary.distanceKm, 1e-5);
    EXPECT_EQ(lapText(first, NumberLocale::comma()), "Vuelta 1: 0,3 km en 00h 01' 00'' · 18 km/h");
    EXPECT_EQ(lapText(second, NumberLocale::point()), "Vuelta 2: 0.1 km en 00h 00' 20'' · 18 km/h");
    // Running: 0.4 km in 80 s of motion is 18 km/h, 3'20'' a km.
    EXPECT_EQ(paceText(result), "3'20'' /km");
    EXPECT_EQ(activityDateText(result), "01/05/2024");
}

TEST_F(TracksAndLaps, ChainedFitActivitiesAreTracksWithTheirLapsAndSport) {
    const std::uint32_t t0 = static_cast<std::uint32_t>(k10h - kFitEpoch);
    const std::string path = dir_.write(
        "cadena.fit", fitActivity(t0, 6, {0, 2, 5}, 1) + fitActivity(t0 + 7200, 4, {0}, 2));
    const std::vector<TrackListing> tracks = listTracks(path);
    ASSERT_EQ(tracks.size(), 2u);
    EXPECT_EQ(tracks[0].points, 6);
    EXPECT_TRUE(tracks[0].onFoot);
    EXPECT_EQ(tracks[1].points, 4);
    EXPECT_FALSE(tracks[1].onFoot);  // cycling

    const AnalysisResult first = analyse(path);
    EXPECT_EQ(lapRows(first), (std::vector<int>{1, 3, 6}));
    EXPECT_EQ(first.laps[1].seconds, 60);
    EXPECT_FALSE(first.laps[2].meanSpeedKmh);  // a lap of one point has no time to run in
    const AnalysisResult second = analyse(path, 2);
    EXPECT_EQ(lapRows(second), std::vector<int>{1});
    EXPECT_EQ(paceText(second), "");
}

}  // namespace
}  // namespace at::test
