// The sensors in the window: the speed profile draws one of them when chosen, its rows keep the
// speeds, and the read-outs show their values.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <cmath>
#include <memory>

#include "app/result_sharing.h"
#include "tests/app/window_fixture.h"
#include "tests/support/sensor_tracks.h"
#include "tests/support/track_formats.h"
#include "tests/support/track_text.h"

namespace at::test {
namespace {

class SensorSeries : public WindowTest {
  protected:
    void SetUp() override {
        makeWindow(NumberLocale::comma());
        window->show();
        speed = control<ProfileChartWidget>("MSChart2");
    }

    void load(const std::string& name, const std::string& text) {
        window->openTrack(QString::fromStdString(dir.write(name, text)));
        QApplication::processEvents();
    }

    // The entries of the speed profile's menu, the checked one marked with "*"; the entry
    // `chosen`, if any, is triggered.
    QStringList menu(const QString& chosen = {}) {
        std::unique_ptr<QMenu> menu(window->sharing().chartMenu(*speed));
        QStringList entries;
        for (QAction* action : menu->actions()) {
            if (action->text() == chosen)
                action->trigger();
            if (!action->isSeparator())
                entries << action->text() + (action->isChecked() ? "*" : "");
        }
        return entries;
    }

    ScopedTimeZone utc{"UTC0"};
    ProfileChartWidget* speed = nullptr;
};

TEST_F(SensorSeries, TheSpeedProfileDrawsAChosenSensorAndItsRowsKeepTheSpeeds) {
    load("s.gpx", gpxWithSensors());
    EXPECT_EQ(menu(), QStringList({"Eje horizontal", "Velocidad media en movimiento", "Velocidad*",
                                   "Pulso", "Cadencia", "Potencia", "Temperatura",
                                   "Guardar imagen…", "Copiar imagen"}));
    EXPECT_EQ(control<ProfileChartWidget>("MSChart1")->seriesChoices(), QStringList({"Metros"}));
    const std::vector<double> speeds = {speed->rowValue(1), speed->rowValue(2), speed->rowValue(3)};

    menu("Pulso");
    EXPECT_EQ(speed->shownSeries(), "Pulso");
    EXPECT_EQ(speed->valueAxisTitle(), "Pulso (ppm)");
    EXPECT_EQ(speed->shownValue(1), 120.0);
    EXPECT_TRUE(std::isnan(speed->shownValue(2)));  // no heart rate: nothing drawn, no 0
    EXPECT_EQ(speed->shownValue(3), 131.0);
    EXPECT_EQ(std::vector<double>({speed->rowValue(1), speed->rowValue(2), speed->rowValue(3)}),
              speeds);
    EXPECT_EQ(text("Label3"), "Velocidad");
    EXPECT_EQ(menu().mid(2, 2), QStringList({"Velocidad", "Pulso*"}));

    EXPECT_TRUE(speed->showSeries("Temperatura"));
    EXPECT_EQ(speed->valueAxisTitle(), "Temperatura (°C)");

    // A track without that sensor shows the speed; the choice comes back with one that has it.
    load("s.tcx", tcxWithSensors());
    EXPECT_EQ(speed->shownSeries(), "Velocidad");
    EXPECT_EQ(speed->seriesChoices(), QStringList({"Velocidad", "Pulso", "Cadencia", "Potencia"}));
    load("s.gpx", gpxWithSensors());
    EXPECT_EQ(speed->shownSeries(), "Temperatura");
    EXPECT_TRUE(speed->showSeries("Velocidad"));
    EXPECT_EQ(speed->shownValue(3), speeds[2]);

    // A track file has no sensors, and the menu no choice.
    load("p.plt", trackText({pointLine(40, -3.5, 1000, "10:00:00")}));
    EXPECT_EQ(menu(), QStringList({"Eje horizontal", "Velocidad media en movimiento",
                                   "Guardar imagen…", "Copiar imagen"}));
    EXPECT_FALSE(speed->showSeries("Pulso"));
}

TEST_F(SensorSeries, ReadOutsShowEveryValueOfThePointAndTheStretchsMeans) {
    load("s.fit", fitWithSensors());
    speed->setStretch(std::pair(1, 3));
    const QStringList stretch = speed->stretchText();
    EXPECT_EQ(stretch.mid(stretch.size() - 4),
              QStringList({"Pulso medio: 125,5 ppm", "Cadencia media: 80 rpm",
                           "Potencia media: 210 W", "Temperatura media: -5 °C"}));
    speed->setStretch(std::pair(2, 3));
    EXPECT_EQ(speed->stretchText().last(), "Pulso medio: 131 ppm");

    const QRectF plot = speed->chart()->plotArea();
    const auto hover = [&](double share) {
        speed->hoverAt(speed->viewportTransform().map(speed->chart()->mapToScene(
            QPointF(plot.left() + share * plot.width(), plot.center().y()))));
        return speed->hoverText();
    };
    const QStringList first = hover(0.0);
    EXPECT_EQ(first.mid(first.size() - 4), QStringList({"Pulso: 120 ppm", "Cadencia: 80 rpm",
                                                        "Potencia: 210 W", "Temperatura: -5 °C"}));
    EXPECT_FALSE(hover(0.5).join(" ").contains("Pulso"));
    EXPECT_EQ(hover(1.0).last(), "Pulso: 131 ppm");
}

}  // namespace
}  // namespace at::test
