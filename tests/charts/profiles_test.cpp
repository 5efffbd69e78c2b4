#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "analysis/profiles.h"
#include "charts/profile_drawing.h"
#include "charts/readout.h"
#include "platform/runtime_error.h"
#include "tests/support/memory_chart.h"

namespace at {
namespace {

TEST(Profiles, BothChartsGetTheCountTheAltitudeChartReports) {
    MemoryProfileChart altitude;
    MemoryProfileChart speed;
    Profiles profiles(altitude, speed);
    profiles.sizeProfiles(3);
    EXPECT_EQ(altitude.rowCount(), 3);
    EXPECT_EQ(speed.rowCount(), 3);
    profiles.sizeProfiles(-6);  // a file of no lines: the chart holds none
    EXPECT_EQ(altitude.rowCount(), 0);
    EXPECT_EQ(speed.rowCount(), 0);
    profiles.sizeProfiles(32767);
    EXPECT_EQ(speed.rowCount(), 32767);
}

TEST(Profiles, MoreThan32767PointsOverflowBeforeAnyChartChanges) {
    MemoryProfileChart altitude;
    MemoryProfileChart speed;
    Profiles profiles(altitude, speed);
    profiles.sizeProfiles(5);
    try {
        profiles.sizeProfiles(32768);
        FAIL();
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.kind(), ErrorKind::Overflow);
    }
    EXPECT_EQ(altitude.rowCount(), 5);
    EXPECT_EQ(speed.rowCount(), 5);
}

// Each row holds the value as the number rule shows it, not rounded to the labels' decimal.
TEST(Profiles, RowsHoldTheValuesUnrounded) {
    MemoryProfileChart altitude(NumberLocale::comma());
    MemoryProfileChart speed(NumberLocale::comma());
    Profiles profiles(altitude, speed);
    profiles.sizeProfiles(2);
    profiles.selectAltitudeRow(2);
    profiles.setAltitudeValue(344.7288);
    profiles.addSpeedRow(1, 180.00399999);
    EXPECT_EQ(altitude.rows(), (std::vector<std::string>{"", "344,7288"}));
    EXPECT_EQ(speed.rows(), (std::vector<std::string>{"180,00399999", ""}));
}

TEST(Profiles, AltitudeAxisFitsWholeMetresWithAFiveMetreMargin) {
    struct Case {
        double lowest, highest, min, max;
    };
    const Case cases[] = {
        {812.4, 1203.5, 807, 1209},
        {812.4, 1202.5, 807, 1207},
        {6000, 0, 5995, 5},
        {-10.5, 0.5, -15, 5},
    };
    for (const auto& c : cases) {
        MemoryProfileChart altitude;
        MemoryProfileChart speed;
        Profiles(altitude, speed).fitAltitudeAxis(c.lowest, c.highest);
        EXPECT_EQ(altitude.axisMinimum(), c.min);
        EXPECT_EQ(altitude.axisMaximum(), c.max);
        EXPECT_FALSE(speed.axisMinimum().has_value());
    }
}

// A sensor's points without a value are never drawn, whether every row is drawn or the rows are
// thinned to each column's lowest and highest (a column of none draws nothing).
TEST(DrawnRows, RowsWithoutAValueAreNeverDrawn) {
    const double none = std::numeric_limits<double>::quiet_NaN();
    const std::vector<double> values = {1, none, 3, none, none, none, none, none, 9, 2};
    for (const std::size_t columns : {8, 4, 2})
        EXPECT_EQ(drawnRows(values, 0, 10, columns), std::vector<std::size_t>({0, 2, 8, 9}));
}

TEST(Readout, KilometreInProportionToThePointNumber) {
    struct Case {
        std::int32_t point, linesRead;
        float km;
        const char* point_text;
        const char* comma_text;
    };
    const Case cases[] = {
        {1, 106, 10.0f, "Km Seleccionado: 0.09", "Km Seleccionado: 0,09"},
        {53, 106, 10.0f, "Km Seleccionado: 5", "Km Seleccionado: 5"},
        {100, 106, 10.0f, "Km Seleccionado: 9.43", "Km Seleccionado: 9,43"},
        {250, 406, 37.6f, "Km Seleccionado: 23.15", "Km Seleccionado: 23,15"},
        {1, 7, 0.0f, "Km Seleccionado: 0", "Km Seleccionado: 0"},
        // Tracks of other formats number their points in 32 bits.
        {86400, 86406, 100.0f, "Km Seleccionado: 99.99", "Km Seleccionado: 99,99"},
        {50000, 100006, 250.5f, "Km Seleccionado: 125.24", "Km Seleccionado: 125,24"},
        {1000000, 1000006, 3000.0f, "Km Seleccionado: 2999.98", "Km Seleccionado: 2999,98"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(selectedKmCaption(c.point, c.linesRead, c.km, NumberLocale::point()),
                  c.point_text);
        EXPECT_EQ(selectedKmCaption(c.point, c.linesRead, c.km, NumberLocale::comma()),
                  c.comma_text);
    }
}

TEST(Readout, NothingBeforeAnAnalysisHasEnded) {
    EXPECT_FALSE(selectedKmCaption(5, 0, 0.0f, NumberLocale::point()).has_value());
    EXPECT_FALSE(selectedKmCaption(5, 0, 3.0f, NumberLocale::point()).has_value());
}

}  // namespace
}  // namespace at
