#include "tests/app/window_fixture.h"
#include "tests/support/track_text.h"

namespace at::test {
namespace {

// Eight points along a meridian, 0.00112° (1120 millionths) apart: every step is
// 1120 / 8987.8 = 0.124613 km, 7 steps make 0.872294 km. Samples 20 s apart, so every speed
// from point 5 on spans one gap: 0.124613 km in 20 s = 22.43 km/h, and 4.486 km/h across the
// 100 s rest before point 6, the one stop (over the default 70 s), entered at the distance
// after point 4: 3 steps = 0.37 km.
// Altitudes 1000, 1030, 1060, 1200, 1100, 1120, 1150, 1100 ft: rises of 9.144 m count as climb
// (three of them plus 6.096 m = 33.528 m), the 42.672 m jump to point 4 is a discarded sample.
std::string knownTrack() {
    const struct {
        int feet;
        const char* time;
    } points[] = {{1000, "10:00:00"}, {1030, "10:00:20"}, {1060, "10:00:40"}, {1200, "10:01:00"},
                  {1100, "10:01:20"}, {1120, "10:03:00"}, {1150, "10:03:20"}, {1100, "10:03:40"}};
    std::vector<std::string> lines;
    int i = 0;
    for (const auto& p : points)
        lines.push_back(pointLine(40.0 + 0.00112 * i++, 3.0, p.feet, p.time));
    return trackText(lines);
}

struct Expected {
    const char* separator;
    const char* climb;
    const char* distance;
    const char* lowest;
    const char* highest;
    const char* highestSpeed;
    const char* stop;
    const char* readout;
};

class FullAnalysis : public WindowTest, public testing::WithParamInterface<Expected> {};

TEST_P(FullAnalysis, FillsEveryLabel) {
    const Expected& e = GetParam();
    makeWindow(NumberLocale{e.separator});
    setText("txtArchivo", QString::fromStdString(dir.write("conocida.plt", knownTrack())));
    choosePoint(7);  // before any analysis: nothing to divide by, nothing changes
    EXPECT_EQ(text("lblKm"), QStringLiteral("Km seleccionado"));

    click("Command1");
    ASSERT_TRUE(messages->shown.empty()) << messages->shown[0].text.toStdString();

    const struct {
        const char* label;
        QString text;
    } labels[] = {
        {"lbl1", QString::fromUtf8(e.climb)},
        {"lbl2", "1"},
        {"lbl3", QString::fromUtf8(e.distance)},
        {"lbl4", QString::fromUtf8(e.lowest)},
        {"lbl5", QString::fromUtf8(e.highest)},
        {"lbl6", "0 km/h"},
        {"lbl7", QString::fromUtf8(e.highestSpeed)},
        {"lblTiempo", "00h 03' 40''"},
        {"Label8", "1"},
        {"Label10", "00h 01' 40''"},
        {"Label14", "00h 02' 00''"},
    };
    for (const auto& l : labels)
        EXPECT_EQ(text(l.label), l.text) << l.label;
    EXPECT_EQ(stops(), QStringList{QString::fromUtf8(e.stop)});

    auto* altitude = control<ProfileChartWidget>("MSChart1");
    auto* speed = control<ProfileChartWidget>("MSChart2");
    ASSERT_EQ(altitude->rowCount(), 8);
    ASSERT_EQ(speed->rowCount(), 8);
    EXPECT_NEAR(altitude->rowValue(4), 365.76, 1e-9);  // the discarded sample is drawn too
    EXPECT_NEAR(altitude->rowValue(8), 335.28, 1e-9);
    for (int row = 1; row <= 4; ++row)
        EXPECT_EQ(speed->rowValue(row), 0.0) << row;
    EXPECT_NEAR(speed->rowValue(5), 22.4304, 1e-3);
    EXPECT_NEAR(speed->rowValue(6), 4.4861, 1e-3);
    // 304.8 → 305 − 5 and 365.76 → 366 + 5.
    EXPECT_EQ(altitude->valueAxisMinimum(), 300.0);
    EXPECT_EQ(altitude->valueAxisMaximum(), 371.0);

    // 7 × 0.872294 km / 14 lines read.
    choosePoint(7);
    EXPECT_EQ(text("lblKm"), QString::fromUtf8(e.readout));
}

INSTANTIATE_TEST_SUITE_P(
    DecimalSeparators, FullAnalysis,
    testing::Values(Expected{".", "33 mts", "0.9 km", "304.8 mts", "365.8 mts", "22.4 km/h",
                             "0.37 (1'40'')", "Km Seleccionado: 0.44"},
                    Expected{",", "33 mts", "0,9 km", "304,8 mts", "365,8 mts", "22,4 km/h",
                             "0,37 (1'40'')", "Km Seleccionado: 0,44"}),
    [](const auto& info) { return std::string(info.param.separator) == "." ? "point" : "comma"; });

}  // namespace
}  // namespace at::test
