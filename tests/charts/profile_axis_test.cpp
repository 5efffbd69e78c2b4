#include <gtest/gtest.h>

#include <cmath>

#include "charts/point_readout.h"
#include "charts/profile_axis.h"
#include "charts/profile_drawing.h"

namespace at {
namespace {

PointDetail point(int row, float km, double hours, double metres = 0.0) {
    PointDetail p;
    p.point = static_cast<std::int16_t>(row);
    p.distanceKm = km;
    p.timeOfDay = hours / 24.0;
    p.altitudeMetres = metres;
    return p;
}

// A walk of five points with a stop at 0.3 km (rows 3 to 5 share the place), then on.
std::vector<PointDetail> walkWithAStop() {
    return {point(1, 0.0f, 23.5), point(2, 0.1f, 23.75), point(3, 0.3f, 24.0),
            point(4, 0.3f, 24.5), point(5, 0.3f, 25.0),  point(6, 0.5f, 25.25)};
}

TEST(ProfileAxis, NearestRowIsTheLowestOfThoseAtTheNearestPlace) {
    const std::vector<PointDetail> points = walkWithAStop();
    const ProfileAxis distance(AxisMode::Distance, points, 6);
    const ProfileAxis time(AxisMode::Time, points, 6);
    const ProfileAxis rows(6);
    const struct {
        const ProfileAxis& axis;
        double x;
        int row;
    } cases[] = {
        {distance, -5.0, 1}, {distance, 0.19, 2}, {distance, 0.39, 3}, {distance, 0.41, 6},
        {distance, 9.0, 6},  {time, 24.3, 4},     {rows, 3.6, 4},      {rows, 99.0, 6},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.axis.nearestRow(c.x), c.row) << axisModeName(c.axis.mode()) << " " << c.x;
    EXPECT_FALSE(ProfileAxis(AxisMode::Distance, {}, 6).nearestRow(0.0));

    // A time that goes back (a damaged file) still finds its nearest row.
    std::vector<PointDetail> back = points;
    back[3].timeOfDay = 23.0 / 24;
    EXPECT_EQ(ProfileAxis(AxisMode::Time, back, 6).nearestRow(23.1), 4);
}

TEST(ProfileAxis, PlacesExtentsAndRowsToDraw) {
    using Rows = std::pair<std::size_t, std::size_t>;
    const std::vector<PointDetail> points = walkWithAStop();
    // Rows beyond the points (a track that ended early) have no place.
    const ProfileAxis time(AxisMode::Time, points, 8);
    EXPECT_EQ(time.placedRows(), 6);
    EXPECT_EQ(time.extent(), std::pair(23.5, 25.25));
    EXPECT_NEAR(time.narrowestRange(), 3.5, 1e-12);  // ten times the mean spacing
    EXPECT_EQ(time.rowsToDraw(23.9, 24.6), Rows(1, 5));

    const ProfileAxis rows(1000);
    EXPECT_EQ(rows.extent(), std::pair(1.0, 1000.0));
    EXPECT_EQ(rows.narrowestRange(), 10.0);
    EXPECT_EQ(rows.rowsToDraw(100.5, 200.5), Rows(98, 202));
    // A track that never moves still has a range to draw.
    const std::vector<PointDetail> still = {point(1, 2.0f, 10.0), point(2, 2.0f, 10.0)};
    EXPECT_EQ(ProfileAxis(AxisMode::Distance, still, 2).extent(), std::pair(1.0, 3.0));
    EXPECT_FALSE(hasMovingTime(still));
    EXPECT_TRUE(hasMovingTime(points));
}

TEST(ProfileAxis, NamesAndTicks) {
    for (const AxisMode mode : {AxisMode::Points, AxisMode::Distance, AxisMode::Time})
        EXPECT_EQ(axisModeNamed(axisModeName(mode)), mode);
    EXPECT_FALSE(axisModeNamed("Distancia"));

    const auto labels = [](AxisMode mode, double low, double high, const NumberLocale& locale) {
        std::vector<std::string> out;
        for (const AxisTick& tick : axisTicks(mode, low, high, locale))
            out.push_back(tick.label);
        return out;
    };
    using L = std::vector<std::string>;
    EXPECT_EQ(labels(AxisMode::Distance, 2.1, 4.3, NumberLocale::comma()),
              L({"2,5 km", "3 km", "3,5 km", "4 km"}));
    // Hours go on past midnight.
    EXPECT_EQ(labels(AxisMode::Time, 24.0 + 10.0 / 60, 24.0 + 40.0 / 60, NumberLocale::point()),
              L({"24:10", "24:20", "24:30", "24:40"}));
    EXPECT_EQ(labels(AxisMode::Time, 9.0, 9.0 + 20.0 / 3600, NumberLocale::point()),
              L({"9:00:00", "9:00:05", "9:00:10", "9:00:15", "9:00:20"}));
    EXPECT_TRUE(labels(AxisMode::Points, 1.0, 100.0, NumberLocale::point()).empty());
}

TEST(ProfileDrawing, RowsAlongAnAxisKeepPeaksAndDrawAStopOnce) {
    // 1000 rows: a stop where rows 100 to 899 share one place, with a spike among them.
    std::vector<double> values(1000, 1.0);
    std::vector<double> positions(1000);
    for (std::size_t i = 0; i < positions.size(); ++i)
        positions[i] = i < 100 ? double(i) : i < 900 ? 100.0 : double(i) - 799.0;
    values[500] = 9.0;
    const std::vector<std::size_t> rows =
        drawnRowsAlong(values, positions, 0, 1000, 0.0, 200.0, 50);
    EXPECT_LE(rows.size(), 100u);
    EXPECT_TRUE(std::is_sorted(rows.begin(), rows.end()));
    EXPECT_NE(std::find(rows.begin(), rows.end(), 500u), rows.end());
}

TEST(PointReadout, SlopeFromTheLatestPointAHundredMetresBack) {
    const std::vector<PointDetail> points = {
        point(1, 0.0f, 9.0, 1000.0),  point(2, 0.06f, 9.1, 1003.0), point(3, 0.12f, 9.2, 1004.2),
        point(4, 0.19f, 9.3, 1005.0), point(5, 0.30f, 9.4, 1000.0), point(6, 0.30f, 9.5, 1000.0),
    };
    const struct {
        std::size_t index;
        const char* line;  // none before 100 m
    } cases[] = {
        {0, nullptr},
        {1, nullptr},
        {2, "Pendiente: 3,5 %"},   // 4.2 m over the 120 m from point 1
        {3, "Pendiente: 1,5 %"},   // 2 m over the 130 m from point 2 (point 3 is 70 m back)
        {4, "Pendiente: -4,5 %"},  // -5 m over the 110 m from point 4
        {5, "Pendiente: -4,5 %"},  // a stop keeps the slope it arrived with
    };
    for (const auto& c : cases) {
        const std::vector<std::string> lines =
            pointReadout(points[c.index], NumberLocale::comma(), slopePercent(points, c.index));
        if (c.line == nullptr) {
            EXPECT_EQ(lines.size(), 5u) << c.index;
        } else {
            ASSERT_EQ(lines.size(), 6u) << c.index;
            EXPECT_EQ(lines[2], c.line) << c.index;
        }
    }
    // A point without an altitude of its own has no slope, nor one measured from such a point.
    std::vector<PointDetail> gaps = points;
    gaps[1].hasAltitude = false;
    gaps[2].hasAltitude = false;
    EXPECT_FALSE(slopePercent(gaps, 2));
    EXPECT_FALSE(slopePercent(gaps, 3));
    EXPECT_TRUE(slopePercent(gaps, 4));
}

}  // namespace
}  // namespace at
