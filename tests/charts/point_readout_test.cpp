#include <gtest/gtest.h>

#include "analysis/analysis_pass.h"
#include "analysis/point_csv.h"
#include "charts/point_readout.h"
#include "tests/support/memory_view.h"
#include "tests/support/temp_dir.h"
#include "tests/support/track_text.h"

namespace at {
namespace {

DateTime clockTime(int h, int m, int s) {
    return (h * 3600 + m * 60 + s) / kSecondsPerDay;
}

TEST(PointReadout, TimesOfDay) {
    const struct {
        DateTime time;
        const char* text;
    } cases[] = {
        {0.0, "00:00:00"},
        {clockTime(9, 5, 7), "09:05:07"},
        {clockTime(23, 59, 59), "23:59:59"},
        {1.0 + clockTime(0, 0, 30), "00:00:30"},  // past midnight
        {-clockTime(0, 0, 30), "23:59:30"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatTimeOfDay(c.time), c.text) << c.time;
}

TEST(PointReadout, PointLinesInEitherLocale) {
    PointDetail p;
    p.point = 1200;
    p.timeOfDay = clockTime(10, 25, 30);
    p.altitudeMetres = 1234.56;
    p.speedKmh = 4.25;  // half to even: 4.2
    p.distanceKm = 7.126f;
    const std::vector<std::string> point = {"Punto 1200", "Altitud: 1234.6 m",
                                            "Velocidad: 4.2 km/h", "Hora: 10:25:30",
                                            "Recorrido: 7.13 km"};
    const std::vector<std::string> comma = {"Punto 1200", "Altitud: 1234,6 m",
                                            "Velocidad: 4,2 km/h", "Hora: 10:25:30",
                                            "Recorrido: 7,13 km"};
    EXPECT_EQ(pointReadout(p, NumberLocale::point()), point);
    EXPECT_EQ(pointReadout(p, NumberLocale::comma()), comma);
}

// A point of a route has no time nor speed to show, nor a stretch of it; a point whose leg was a
// GPS jump says so; the CSV leaves a route's time and speed cells empty.
TEST(PointReadout, WhatARouteLacksAndAJump) {
    PointDetail p;
    p.point = 7;
    p.hasTime = false;
    p.altitudeMetres = 812.5;
    p.distanceKm = 2.5f;
    p.gpsJump = true;
    EXPECT_EQ(pointReadout(p, NumberLocale::comma()),
              (std::vector<std::string>{"Punto 7", "Altitud: 812,5 m", "Recorrido: 2,5 km",
                                        "salto del GPS, sin distancia"}));
    EXPECT_EQ(pointReadout(p, NumberLocale::comma(), -3.25),
              (std::vector<std::string>{"Punto 7", "Altitud: 812,5 m", "Pendiente: -3,2 %",
                                        "Recorrido: 2,5 km", "salto del GPS, sin distancia"}));
    PointDetail q = p;
    q.point = 9;
    q.distanceKm = 4.0f;
    EXPECT_EQ(stretchReadout(measureStretch(p, q), NumberLocale::point()),
              (std::vector<std::string>{"Puntos 7 a 9", "Distancia: 1.5 km", "Desnivel: 0 mts"}));
    EXPECT_EQ(pointsCsv({p}, SensorColumns(), NumberLocale::point()),
              "Punto,Hora,Latitud (°),Longitud (°),Altitud (m),Distancia (km),Velocidad (km/h),"
              "Pulso (ppm),Cadencia (rpm),Potencia (W),Temperatura (°C)\r\n"
              "7,,0,0,812.5,2.5,,,,,\r\n");
}

TEST(PointReadout, StretchesAsTheAnalysisWorksThemOut) {
    PointDetail a;
    a.point = 10;
    a.timeOfDay = clockTime(10, 0, 0);
    a.distanceKm = 1.5f;
    a.accumulatedClimb = 100.4;
    PointDetail b = a;
    b.point = 70;
    b.timeOfDay = clockTime(10, 30, 0);
    b.distanceKm = 4.0f;
    b.accumulatedClimb = 350.0;
    const struct {
        PointDetail from, to;
        std::vector<std::string> lines;
    } cases[] = {
        {a,
         b,
         {"Puntos 10 a 70", "Distancia: 2,5 km", "Desnivel: 249 mts", "Tiempo: 00h 30' 00''",
          "Velocidad media: 5 km/h"}},
        {b,
         a,  // chosen backwards: the same stretch
         {"Puntos 10 a 70", "Distancia: 2,5 km", "Desnivel: 249 mts", "Tiempo: 00h 30' 00''",
          "Velocidad media: 5 km/h"}},
        {a,
         a,
         {"Puntos 10 a 10", "Distancia: 0 km", "Desnivel: 0 mts", "Tiempo: 00h 00' 00''",
          "Velocidad media: -"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(stretchReadout(measureStretch(c.from, c.to), NumberLocale::comma()), c.lines);
}

// Figures as a person reads them, rounded half to even (ties chosen exact in binary) and written by
// the summary's number rule; the date where the track gives one.
TEST(PointsCsvText, RoundedFiguresAndDates) {
    PointTable table;
    table.beginTrack();
    PointDetail p;
    p.point = 1;
    p.localDay = 45000;
    p.timeOfDay = 36000.0 / 86400.0;
    p.latitudeDigits = 40123450;
    p.longitudeDigits = -5;  // 0.000005 degrees west
    p.altitudeMetres = 12.75;
    p.distanceKm = 1.0625f;
    p.speedKmh = 2.125;
    table.addPoint(p);
    SensorReading sensors;
    sensors.set(Sensor::HeartRate, 131.0f);
    sensors.set(Sensor::Temperature, 19.5f);
    table.addSensors(sensors);
    p.point = 2;
    p.localDay = 0;  // a point line without its date
    p.altitudeMetres = 0.25;
    p.speedKmh = 4.0;
    table.addPoint(p);
    AnalysisResult dated;
    dated.points = table.points();
    EXPECT_EQ(dated.date(), 45000);

    // The sensors' columns are always there; a point without a value leaves its field empty.
    EXPECT_EQ(pointsCsv(table.points(), table.sensors(), NumberLocale::comma()),
              "Punto;Fecha;Hora;Latitud (°);Longitud (°);Altitud (m);Distancia (km);"
              "Velocidad (km/h);Pulso (ppm);Cadencia (rpm);Potencia (W);Temperatura (°C)\r\n"
              "1;2023-03-15;10:00:00;40,12345;-5E-06;12,8;1,062;2,12;131;;;19,5\r\n"
              "2;;10:00:00;40,12345;-5E-06;0,2;1,062;4;;;;\r\n");
    EXPECT_EQ(csvSeparator(NumberLocale::point()), ',');
    EXPECT_EQ(table.atRow(1)->latitudeDigits, 40123450);
    EXPECT_EQ(table.atRow(3), nullptr);
    EXPECT_EQ(table.atRow(0), nullptr);
}

// The pass hands every point over after its last step, with the totals as they stood then.
TEST(PointDetailsOfThePass, EveryPointWithItsRowAndTotals) {
    test::TempDir dir;
    MemoryAnalysisView view;
    std::vector<std::string> lines;
    for (int i = 0; i < 8; ++i) {
        // 10 ft up per point except a 300 ft jump at the fourth, a minute apart.
        const int feet = 1000 + 10 * i + (i == 3 ? 300 : 0);
        lines.push_back(test::pointLine(40.0 + 0.001 * i, -3.5, feet, test::clock(36000 + 60 * i)));
    }
    view.path = dir.write("t.plt", test::trackText(lines));
    const TrackSummary summary = runAnalysis(view, NumberLocale::point());
    const auto& points = view.points.points();
    ASSERT_EQ(points.size(), 8u);
    for (std::size_t i = 0; i < points.size(); ++i) {
        EXPECT_EQ(points[i].point, static_cast<int>(i + 1));
        EXPECT_EQ(points[i].latitudeDigits, 40000000 + 1000 * static_cast<int>(i));
        EXPECT_EQ(points[i].longitudeDigits, -3500000);
        EXPECT_DOUBLE_EQ(points[i].altitudeMetres, std::stod(view.altitude.rows()[i]));
        EXPECT_DOUBLE_EQ(points[i].speedKmh, std::stod(view.speed.rows()[i]));
        EXPECT_EQ(formatTimeOfDay(points[i].timeOfDay),
                  test::clock(36000 + 60 * static_cast<int>(i)));
    }
    EXPECT_DOUBLE_EQ(points[3].altitudeMetres, 1330 * 0.3048);
    EXPECT_EQ(points.back().distanceKm, summary.distanceKm);
    EXPECT_DOUBLE_EQ(points.back().accumulatedClimb, summary.accumulatedClimb);
    EXPECT_DOUBLE_EQ(points[1].accumulatedClimb, 10 * 0.3048);
    EXPECT_DOUBLE_EQ(points[2].accumulatedClimb, 20 * 0.3048);
    EXPECT_DOUBLE_EQ(points[3].accumulatedClimb, 20 * 0.3048);  // the jump is no climb

    // A new analysis starts a new table.
    view.path = dir.write("u.plt", test::trackText({lines[0]}));
    runAnalysis(view, NumberLocale::point());
    EXPECT_EQ(view.points.points().size(), 1u);
}

}  // namespace
}  // namespace at
