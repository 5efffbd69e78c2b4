#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/cli/cli_run.h"
#include "tests/support/sensor_tracks.h"
#include "tests/support/temp_dir.h"
#include "tests/support/track_formats.h"
#include "tests/support/track_text.h"

namespace at::test {
namespace {

// Three points going north, 100 s and 180 s apart; the distances below are worked out by hand
// from the flat projection (0.1112619 km, then 0.1190894 km more).
std::string threePoints() {
    return trackText({"40.000000,-3.500000,0,1000,0,x,10:00:00",
                      "40.001000,-3.500000,0,1100,0,x,10:01:40",
                      "40.002000,-3.500500,0,1050,0,x,10:04:40"});
}

TEST(PointsCsv, OneLinePerPointInEitherLocale) {
    TempDir dir;
    const std::string track = dir.write("t.plt", threePoints());
    const struct {
        NumberLocale locale;
        std::string expected;
    } cases[] = {
        {NumberLocale::point(),
         "archivo,Punto,Hora,Latitud (°),Longitud (°),Altitud (m),Distancia (km),Velocidad "
         "(km/h),Pulso (ppm),Cadencia (rpm),Potencia (W),Temperatura (°C)\r\n" +
             track + ",1,10:00:00,40,-3.5,304.8,0,0,,,,\r\n" + track +
             ",2,10:01:40,40.001,-3.5,335.3,0.111,0,,,,\r\n" + track +
             ",3,10:04:40,40.002,-3.5005,320,0.23,0,,,,\r\n"},
        {NumberLocale::comma(),
         "archivo;Punto;Hora;Latitud (°);Longitud (°);Altitud (m);Distancia (km);Velocidad "
         "(km/h);Pulso (ppm);Cadencia (rpm);Potencia (W);Temperatura (°C)\r\n" +
             track + ";1;10:00:00;40;-3,5;304,8;0;0;;;;\r\n" + track +
             ";2;10:01:40;40,001;-3,5;335,3;0,111;0;;;;\r\n" + track +
             ";3;10:04:40;40,002;-3,5005;320;0,23;0;;;;\r\n"},
    };
    for (const auto& c : cases) {
        const CliRun run = runCli({"resumen", track, "--csv"}, c.locale);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, c.expected);
    }
}

// Several files make one table: the heading once, each line naming its file, and a date column
// as soon as one of them gives dates (each point its own, past midnight too); a file that fails
// only leaves its lines out.
TEST(PointsCsv, SeveralFilesMakeOneTable) {
    ScopedTimeZone utc("UTC0");
    TempDir dir;
    const std::string undated = dir.write("sin fecha.plt", threePoints());
    constexpr std::int64_t kMidnight = 1714608000;  // 2024-05-02T00:00:00Z
    const std::string dated =
        dir.write("noche,1.gpx", gpxText({{{"40", "-3.5", "300", kMidnight - 10},
                                           {"40.001", "-3.5", "300", kMidnight + 10}}}));
    const CliRun run = runCli({"resumen", "--csv", undated, dir.file("falta.plt"), dated});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("falta.plt"), std::string::npos);
    const std::string heading =
        "archivo,Punto,Fecha,Hora,Latitud (°),Longitud (°),Altitud (m),Distancia (km),"
        "Velocidad (km/h),Pulso (ppm),Cadencia (rpm),Potencia (W),Temperatura (°C)\r\n";
    ASSERT_EQ(run.out.substr(0, heading.size()), heading);
    EXPECT_EQ(run.out.find("archivo", 1), std::string::npos);  // once
    EXPECT_NE(run.out.find(undated + ",3,,10:04:40,"), std::string::npos) << run.out;
    for (const char* line : {",1,2024-05-01,23:59:50,", ",2,2024-05-02,00:00:10,"})
        EXPECT_NE(run.out.find("\"" + dated + "\"" + line), std::string::npos) << run.out;
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 6);
    // A track file's date is its field 5.
    const std::string plt = dir.write("p.plt", trackText({pointLine(40, -3.5, 1000, "10:00:00")}));
    EXPECT_EQ(runCli({"resumen", "--csv", plt}).out.substr(0, heading.size()), heading);
}

TEST(PointsCsv, UsageMistakes) {
    const struct {
        std::vector<std::string> args;
        const char* says;
    } cases[] = {
        {{"resumen", "a.plt", "--csv", "--json"}, "--json y --csv"},
        {{"resumen", "a.plt", "--pdf", "b.pdf"}, "--pdf"},
        {{"informe", "a.plt"}, "informe necesita"},
        {{"informe", "--pdf", "b.pdf"}, "informe necesita"},
        {{"informe", "a.plt", "c.plt", "--pdf", "b.pdf"}, "informe necesita"},
        {{"informe", "a.plt", "--pdf"}, "falta el valor de «--pdf»"},
    };
    for (const auto& c : cases) {
        const CliRun run = runCli(c.args);
        EXPECT_EQ(run.status, 2) << c.args.back();
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
        EXPECT_TRUE(run.out.empty());
    }
}

TEST(Report, WritesOnePdfOrSaysWhyNot) {
    TempDir dir;
    const std::string track = dir.write("t.plt", threePoints());
    const std::string pdf = dir.file("informe.pdf");
    CliRun run = runCli({"informe", track, "--pdf", pdf, "--desnivel", "30"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string bytes = readBytes(pdf);
    EXPECT_EQ(bytes.substr(0, 5), "%PDF-");
    EXPECT_NE(bytes.find("/Count 2"), std::string::npos);  // the route on the second page

    run = runCli({"informe", dir.file("falta.plt"), "--pdf", dir.file("b.pdf")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("falta.plt"), std::string::npos);
    run = runCli({"informe", track, "--pdf", dir.file("no/hay/b.pdf")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("no/hay/b.pdf"), std::string::npos);
}

// The activity's date where the track gives one, the report's own as such, and every stop, on a
// second page when the first is full.
TEST(Report, TheActivitysDateAndEveryStopOverAsManyPagesAsItTakes) {
    std::vector<std::string> lines;
    for (int i = 0; i <= 200; ++i)  // 100 s apart: 200 stops of 1'40''
        lines.push_back(pointLine(40.0 + 0.001 * i, -3.5, 1000 + i, clock(28800 + 100 * i)));
    TempDir dir;
    const std::string pdf = dir.file("informe.pdf");
    const auto reportText = [&](const std::string& track) {
        EXPECT_EQ(runCli({"informe", track, "--pdf", pdf}).status, 0);
        const std::string textFile = dir.file("informe.txt");
        EXPECT_EQ(std::system(("pdftotext '" + pdf + "' '" + textFile + "'").c_str()), 0);
        return readBytes(textFile);
    };
    const std::string text = reportText(dir.write("paradas.plt", trackText(lines)));
    EXPECT_NE(readBytes(pdf).find("/Count 2"), std::string::npos);
    int stops = 0;
    for (std::size_t at = text.find("(1'40'')"); at != std::string::npos;
         at = text.find("(1'40'')", at + 1))
        ++stops;
    EXPECT_EQ(stops, 200);
    EXPECT_NE(text.find("22.03 (1'40'')"), std::string::npos);  // the last one
    EXPECT_NE(text.find("Fecha de la actividad: 13/08/2007"), std::string::npos) << text;
    char today[16];
    const std::time_t now = std::time(nullptr);
    std::strftime(today, sizeof today, "%d/%m/%Y", std::localtime(&now));
    EXPECT_NE(text.find(std::string("Fecha del informe: ") + today), std::string::npos);

    // A track file without dates names none.
    EXPECT_EQ(reportText(dir.write("t.plt", threePoints())).find("actividad"), std::string::npos);
}

// The track is never the output, whatever the path or link that leads to it; a link where the
// report goes is replaced, not written through.
TEST(Report, NeverWritesOverTheTrackNorThroughALink) {
    TempDir dir;
    const std::string track = dir.write("t.plt", threePoints());
    std::filesystem::create_symlink(track, dir.file("enlace.pdf"));
    std::filesystem::create_hard_link(track, dir.file("duro.pdf"));
    for (const std::string& pdf :
         {track, dir.file("./t.plt"), dir.file("enlace.pdf"), dir.file("duro.pdf")}) {
        const CliRun run = runCli({"informe", track, "--pdf", pdf});
        EXPECT_EQ(run.status, 2) << pdf;
        EXPECT_NE(run.err.find("SALIDA es el mismo archivo que ARCHIVO («" + pdf + "»)"),
                  std::string::npos)
            << run.err;
        EXPECT_EQ(readBytes(track), threePoints());
    }

    const std::string other = dir.write("otro.txt", "intacto");
    std::filesystem::create_symlink(other, dir.file("enlace2.pdf"));
    ASSERT_EQ(runCli({"informe", track, "--pdf", dir.file("enlace2.pdf")}).status, 0);
    EXPECT_EQ(readBytes(other), "intacto");
    EXPECT_EQ(readBytes(dir.file("enlace2.pdf")).substr(0, 5), "%PDF-");
}

// The text of the report "informe" writes for `track`.
std::string reportOf(const TempDir& dir, const std::string& track, const NumberLocale& locale) {
    const std::string pdf = dir.file("informe.pdf");
    EXPECT_EQ(runCli({"informe", track, "--pdf", pdf}, locale).status, 0);
    EXPECT_EQ(std::system(("pdftotext '" + pdf + "' '" + dir.file("informe.txt") + "'").c_str()),
              0);
    return readBytes(dir.file("informe.txt"));
}

// A small profile per sensor the track has, titled with its lowest, mean and highest value in the
// user's number format; the route still opens the second page. A track file adds none.
TEST(Report, AProfilePerSensorWithItsFigures) {
    ScopedTimeZone utc("UTC0");
    TempDir dir;
    const std::string text =
        reportOf(dir, dir.write("s.gpx", gpxWithSensors()), NumberLocale::comma());
    for (const char* title : {"Pulso (ppm): mínimo 120 · media 125,5 · máximo 131",
                              "Cadencia (rpm): mínimo 80 · media 80 · máximo 80",
                              "Potencia (W): mínimo 210 · media 210 · máximo 210",
                              "Temperatura (°C): mínimo 19,5 · media 19,5 · máximo 19,5"})
        EXPECT_NE(text.find(title), std::string::npos) << title << "\n" << text;
    EXPECT_NE(text.find("Recorrido"), std::string::npos) << text;
    EXPECT_EQ(
        reportOf(dir, dir.write("t.plt", threePoints()), NumberLocale::comma()).find("mínimo"),
        std::string::npos);
}

// The range written beside each profile is the analysis's own (the altitude axis it fitted) in the
// user's number format.
TEST(Report, ProfileRangesInTheUsersNumberFormat) {
    std::vector<std::string> lines;
    for (int i = 0; i < 6; ++i) {  // 1275 millionths north every 20 s: 25.5 km/h from point 5
        char coordinates[40];
        std::snprintf(coordinates, sizeof coordinates, "40.%06d,-3.500000,0,", 1275 * i);
        lines.push_back(coordinates + std::to_string(1000 + 10 * i) + ",0,x," +
                        clock(36000 + 20 * i));
    }
    TempDir dir;
    const std::string track = dir.write("t.plt", trackText(lines));
    const std::string pdf = dir.file("informe.pdf");
    const CliRun run = runCli({"informe", track, "--pdf", pdf}, NumberLocale::comma());
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string textFile = dir.file("informe.txt");
    ASSERT_EQ(std::system(("pdftotext '" + pdf + "' '" + textFile + "'").c_str()), 0);
    const std::string text = readBytes(textFile);
    EXPECT_NE(text.find("25,5"), std::string::npos) << text;  // the highest speed
    EXPECT_EQ(text.find("25.5"), std::string::npos) << text;
    // 1000 to 1050 ft: 304.8 to 320 m, fitted to whole metres and 5 m more on each side.
    EXPECT_NE(text.find("300"), std::string::npos) << text;
    EXPECT_NE(text.find("325"), std::string::npos) << text;
}

}  // namespace
}  // namespace at::test
