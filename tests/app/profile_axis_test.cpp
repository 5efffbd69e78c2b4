#include <QAction>
#include <cmath>

#include "tests/app/window_fixture.h"
#include "tests/support/track_text.h"

namespace at::test {
namespace {

// Eight points 111.26 m apart northwards, from 23:58:00 across midnight; at 00:00:00 the walker
// stops, stays on the spot until 00:10:30 (a stop of 600 s from row 6) and walks on.
class ProfileAxisWindow : public WindowTest {
  protected:
    void SetUp() override {
        makeWindow(NumberLocale::comma());
        const struct {
            int metresNorth, second;
        } points[] = {{0, 86280}, {1, 86310}, {2, 86340}, {3, 86370},
                      {4, 0},     {4, 30},    {4, 630},   {5, 660}};
        std::vector<std::string> lines;
        for (const auto& p : points)
            lines.push_back(pointLine(40.0 + 0.001 * p.metresNorth, 3.0, 2000, clock(p.second)));
        setText("txtArchivo",
                QString::fromStdString(dir.write("medianoche.plt", trackText(lines))));
        window->show();
        click("Command1");
        ASSERT_TRUE(messages->shown.empty());
        altitude = control<ProfileChartWidget>("MSChart1");
        speed = control<ProfileChartWidget>("MSChart2");
    }

    QAction* action(const char* name) const {
        auto* found = window->findChild<QAction*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    ProfileChartWidget* altitude = nullptr;
    ProfileChartWidget* speed = nullptr;
};

TEST_F(ProfileAxisWindow, DistanceAndTimePlaceEveryRowWhereItsPointIs) {
    const double km[] = {0, 0.111262, 0.222524, 0.333786, 0.445048, 0.445048, 0.445048, 0.55631};
    const double hours[] = {23 + 58 / 60.0, 23 + 58.5 / 60, 23 + 59 / 60.0, 23 + 59.5 / 60,
                            24.0,           24 + 0.5 / 60,  24 + 10.5 / 60, 24 + 11 / 60.0};
    EXPECT_EQ(altitude->horizontalAxis(), QStringLiteral("puntos"));
    for (int row = 1; row <= 8; ++row)
        EXPECT_EQ(altitude->rowPosition(row), row);

    action("mnuEjeDistancia")->trigger();
    for (ProfileChartWidget* chart : {altitude, speed}) {
        EXPECT_EQ(chart->horizontalAxis(), QStringLiteral("distancia"));
        for (int row = 1; row <= 8; ++row)
            EXPECT_NEAR(chart->rowPosition(row), km[row - 1], 1e-6) << row;
        EXPECT_TRUE(std::isnan(chart->rowPosition(9)));
    }
    // The stop's three rows share one place: the lowest of them is chosen there.
    EXPECT_EQ(altitude->rowNearestPosition(0.445048), 5);
    EXPECT_EQ(altitude->rowNearestPosition(0.5), 5);
    EXPECT_EQ(altitude->rowNearestPosition(0.51), 8);

    // A choice made on the speed profile holds for both, and the menu shows it.
    EXPECT_TRUE(speed->setHorizontalAxis(QStringLiteral("hora")));
    EXPECT_TRUE(action("mnuEjeHora")->isChecked());
    for (ProfileChartWidget* chart : {altitude, speed}) {
        EXPECT_EQ(chart->horizontalAxis(), QStringLiteral("hora"));
        for (int row = 1; row <= 8; ++row)
            EXPECT_NEAR(chart->rowPosition(row), hours[row - 1], 1e-9) << row;
    }
    // The stop is marked where it began, 00:00:30.
    EXPECT_EQ(altitude->stopRows(), std::vector<int>{6});
    EXPECT_EQ(altitude->rowNearestPosition(24.1), 7);

    EXPECT_FALSE(altitude->setHorizontalAxis(QStringLiteral("kilómetros")));
    EXPECT_EQ(altitude->horizontalAxis(), QStringLiteral("hora"));
}

TEST_F(ProfileAxisWindow, TheMeanSpeedInMotionLineIsOffUntilChosen) {
    EXPECT_FALSE(speed->meanLineShown());
    EXPECT_FALSE(action("mnuVelocidadMedia")->isChecked());
    action("mnuVelocidadMedia")->trigger();
    ASSERT_TRUE(speed->meanLineShown());
    // 0.55631 km in the 180 s the walker was not stopped.
    EXPECT_NEAR(speed->meanLineValue(), 11.12619, 1e-4);
    EXPECT_EQ(speed->meanLineCaption(), QStringLiteral("Media en movimiento: 11,1 km/h"));
    EXPECT_FALSE(altitude->meanLineShown());
}

}  // namespace
}  // namespace at::test
