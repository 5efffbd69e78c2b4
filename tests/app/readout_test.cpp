#include <QSignalSpy>
#include <QTest>

#include "tests/app/window_fixture.h"
#include "tests/support/track_text.h"

namespace at::test {
namespace {

using Readout = WindowTest;

TEST_F(Readout, ProportionalKilometreOfTheChosenPoint) {
    const struct {
        std::int16_t linesRead;
        float distanceKm;
        int point;
        const char* caption;
    } cases[] = {
        {106, 10.0f, 1, "Km Seleccionado: 0.09"},
        {106, 10.0f, 53, "Km Seleccionado: 5"},
        {106, 10.0f, 100, "Km Seleccionado: 9.43"},
        {406, 37.6f, 250, "Km Seleccionado: 23.15"},
    };
    for (const auto& c : cases) {
        window->keepForReadout(c.linesRead, c.distanceKm);
        choosePoint(c.point);
        EXPECT_EQ(text("lblKm"), QString::fromUtf8(c.caption)) << c.point;
        // The whole figure stays readable inside its box.
        auto* label = control<QLabel>("lblKm");
        EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()));
    }
}

TEST_F(Readout, NothingChangesBeforeAnAnalysisHasEnded) {
    choosePoint(1);
    choosePoint(250);
    EXPECT_EQ(text("lblKm"), QStringLiteral("Km seleccionado"));
}

TEST_F(Readout, OnlyTheAltitudeChartHasAReadout) {
    window->keepForReadout(106, 10.0f);
    emit control<ProfileChartWidget>("MSChart2")->pointSelected(1, 53, 1, 0);
    EXPECT_EQ(text("lblKm"), QStringLiteral("Km seleccionado"));
}

TEST_F(Readout, AClickOnTheAltitudeProfileChoosesItsPoint) {
    std::vector<std::string> lines;
    for (int i = 0; i < 100; ++i) {
        lines.push_back(pointLine(40.0 + 0.001 * i, 3.0, 1000 + 10 * i, clock(36000 + 20 * i)));
    }
    setText("txtArchivo", QString::fromStdString(dir.write("cien.plt", trackText(lines))));
    window->show();
    click("Command1");
    ASSERT_TRUE(messages->shown.empty());

    auto* chart = control<ProfileChartWidget>("MSChart1");
    QSignalSpy spy(chart, &ProfileChartWidget::pointSelected);
    const QPointF inChart = chart->chart()->mapToPosition(QPointF(60, chart->rowValue(60)));
    const QPoint at = chart->mapFromScene(chart->chart()->mapToScene(inChart));
    QTest::mouseClick(chart->viewport(), Qt::LeftButton, {}, at);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy[0][1].value<qint16>(), 60);
    EXPECT_TRUE(text("lblKm").startsWith(QStringLiteral("Km Seleccionado: ")));
}

}  // namespace
}  // namespace at::test
