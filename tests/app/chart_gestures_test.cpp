#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include "charts/profile_chart_widget.h"

namespace at::test {
namespace {

// An altitude chart of 1000 rows as the analysis leaves it: row r at 500 + r metres, the point
// behind it 10 s after the one before, 20 m further on and 1 m higher.
class ChartGestures : public testing::Test {
  protected:
    static constexpr int kRows = 1000;

    void SetUp() override {
        chart.setNumberLocale(NumberLocale::comma());
        chart.resize(649, 261);
        chart.show();
        chart.setRowCount(kRows);
        points.beginTrack();
        for (int row = 1; row <= kRows; ++row) {
            chart.setRow(static_cast<qint16>(row));
            chart.setRowValue(QString::number(500 + row));
            PointDetail p;
            p.point = static_cast<std::int16_t>(row);
            p.timeOfDay = (36000.0 + 10.0 * (row - 1)) / 86400.0;  // from 10:00:00
            p.altitudeMetres = 500 + row;
            p.speedKmh = 7.2;
            p.distanceKm = 0.02f * static_cast<float>(row - 1);
            p.accumulatedClimb = row - 1;
            points.addPoint(p);
        }
        chart.setPointTable(&points);
        chart.refresh();
        QCoreApplication::processEvents();
    }

    // Where row `row` is drawn along the plot's middle line, in viewport coordinates.
    QPointF at(double row) const {
        const QRectF plot = chart.chart()->plotArea();
        const auto [low, high] = chart.shownRows();
        const double x = plot.left() + (row - low) / (high - low) * plot.width();
        return chart.viewportTransform().map(
            chart.chart()->mapToScene(QPointF(x, plot.center().y())));
    }

    void wheel(QPointF position, int notches) {
        QWheelEvent event(position, chart.viewport()->mapToGlobal(position), QPoint(),
                          QPoint(0, 120 * notches), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                          false);
        QApplication::sendEvent(chart.viewport(), &event);
    }

    void mouse(QEvent::Type type, QPointF position, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent event(type, position, chart.viewport()->mapToGlobal(position), button, held,
                          Qt::NoModifier);
        QApplication::sendEvent(chart.viewport(), &event);
    }

    void drag(Qt::MouseButton button, QPointF from, QPointF to) {
        mouse(QEvent::MouseButtonPress, from, button, button);
        const QPointF middle = (from + to) / 2;
        mouse(QEvent::MouseMove, middle, Qt::NoButton, button);
        mouse(QEvent::MouseMove, to, Qt::NoButton, button);
        mouse(QEvent::MouseButtonRelease, to, button, Qt::NoButton);
    }

    PointTable points;
    ProfileChartWidget chart{ProfileChartWidget::Style::Area, QStringLiteral("Metros")};
};

TEST_F(ChartGestures, ZoomKeepsTheRowUnderTheMouseAndAClickStillChoosesTheRightRow) {
    QSignalSpy shown(&chart, &ProfileChartWidget::shownRowsChanged);
    wheel(at(250), 3);
    const auto [low, high] = chart.shownRows();
    EXPECT_NEAR(high - low, (kRows - 1) * 0.512, 1.0);  // 0.8 per notch
    EXPECT_LT(low, 250);
    EXPECT_GT(high, 250);
    EXPECT_EQ(shown.count(), 1);

    QSignalSpy chosen(&chart, &ProfileChartWidget::pointSelected);
    for (const int row : {240, 250, 300}) {
        QTest::mouseClick(chart.viewport(), Qt::LeftButton, {}, at(row).toPoint());
        ASSERT_FALSE(chosen.isEmpty());
        EXPECT_NEAR(chosen.takeLast()[1].value<qint16>(), row, 1) << row;
    }
    // Deep in: a click picks the exact row.
    wheel(at(400), 20);
    QTest::mouseClick(chart.viewport(), Qt::LeftButton, {}, at(400).toPoint());
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen[0][1].value<qint16>(), 400);
    EXPECT_LE(chart.shownRows().second - chart.shownRows().first, 20.0);
    EXPECT_EQ(chart.rowCount(), kRows);
    EXPECT_EQ(chart.rowValue(400), 900.0);

    mouse(QEvent::MouseButtonDblClick, at(400), Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(chart.shownRows(), std::pair(1.0, double(kRows)));
}

TEST_F(ChartGestures, RightOrMiddleDragPansARightClickAsksForTheMenu) {
    chart.setShownRows(401, 601);
    QSignalSpy menu(&chart, &ProfileChartWidget::menuRequested);
    QSignalSpy chosen(&chart, &ProfileChartWidget::pointSelected);
    const struct {
        Qt::MouseButton button;
        double fromRow, toRow;
        double low;  // where the shown rows start afterwards
    } drags[] = {
        {Qt::RightButton, 500, 450, 451},   // dragged left: later rows come in
        {Qt::MiddleButton, 500, 550, 401},  // and back
        {Qt::MiddleButton, 500, 950, 1},    // no further than the first row
    };
    for (const auto& d : drags) {
        drag(d.button, at(d.fromRow), at(d.toRow));
        EXPECT_NEAR(chart.shownRows().first, d.low, 1.0) << d.fromRow << " to " << d.toRow;
        EXPECT_NEAR(chart.shownRows().second - chart.shownRows().first, 200, 1.0);
    }
    EXPECT_EQ(menu.count(), 0);
    EXPECT_EQ(chosen.count(), 0);

    QTest::mouseClick(chart.viewport(), Qt::RightButton, {}, at(100).toPoint());
    EXPECT_EQ(menu.count(), 1);
    EXPECT_EQ(chosen.count(), 0);
}

TEST_F(ChartGestures, ALeftDragMeasuresAStretchAndAClickClearsIt) {
    drag(Qt::LeftButton, at(201), at(401));
    ASSERT_TRUE(chart.stretch().has_value());
    EXPECT_EQ(*chart.stretch(), std::pair(201, 401));
    // 200 steps of 20 m, 1 m up and 10 s each: 4 km, 200 m, 2000 s, 7.2 km/h.
    const QStringList expected = {
        QStringLiteral("Puntos 201 a 401"),          QStringLiteral("Distancia: 4 km"),
        QStringLiteral("Desnivel: 200 mts"),         QStringLiteral("Tiempo: 00h 33' 20''"),
        QStringLiteral("Velocidad media: 7,2 km/h"),
    };
    EXPECT_EQ(chart.stretchText(), expected);

    drag(Qt::LeftButton, at(700), at(650));  // leftwards works too
    EXPECT_EQ(*chart.stretch(), std::pair(650, 700));
    QTest::mouseClick(chart.viewport(), Qt::LeftButton, {}, at(10).toPoint());
    EXPECT_FALSE(chart.stretch().has_value());
    EXPECT_TRUE(chart.stretchText().isEmpty());
    EXPECT_EQ(chart.markedRow(), 10);
}

TEST_F(ChartGestures, HoverShowsThePointUnderTheMouse) {
    chart.hoverAt(at(361));
    const QStringList expected = {
        QStringLiteral("Punto 361"),      QStringLiteral("Altitud: 861 m"),
        QStringLiteral("Pendiente: 5 %"), QStringLiteral("Velocidad: 7,2 km/h"),
        QStringLiteral("Hora: 11:00:00"), QStringLiteral("Recorrido: 7,2 km"),
    };
    EXPECT_EQ(chart.hoverText(), expected);
    chart.hoverAt(QPointF(1, 1));  // outside the plot
    EXPECT_TRUE(chart.hoverText().isEmpty());

    // A row the table does not cover shows its own value.
    points.beginTrack();
    chart.setRow(5);
    chart.setRowValue(QStringLiteral("505,5"));
    chart.hoverAt(at(5));
    EXPECT_EQ(chart.hoverText(), QStringList({QStringLiteral("Punto 5"), QStringLiteral("505,5")}));
}

TEST_F(ChartGestures, AChosenStopIsMarkedAndCentred) {
    for (const int row : {120, 640, 990})
        chart.addStopRow(row);
    chart.showStop(1);
    const auto [low, high] = chart.shownRows();
    EXPECT_NEAR((low + high) / 2, 640, 1.0);
    EXPECT_LT(high - low, kRows / 2);
    chart.showStop(2);  // near the end: as close to the middle as the rows allow
    EXPECT_EQ(chart.shownRows().second, double(kRows));
    EXPECT_GT(chart.shownRows().first, 800);

    chart.setRowCount(kRows);  // a new track forgets zoom, marks and stretch, not its stops
    EXPECT_EQ(chart.shownRows(), std::pair(1.0, double(kRows)));
    EXPECT_FALSE(chart.markedRow().has_value());
    EXPECT_EQ(chart.stopRows().size(), 3u);
    chart.clearStopRows();
    EXPECT_TRUE(chart.stopRows().empty());
}

TEST(ChartAtRest, ShowsTheHintUntilItGetsRows) {
    const auto darkPixels = [](ProfileChartWidget& chart) {
        chart.refresh();
        const QImage image = chart.grab().toImage();
        const QRect plot = chart.chart()->plotArea().toRect().adjusted(4, 4, -4, -4);
        int dark = 0;
        for (int y = plot.top(); y < plot.bottom(); ++y)
            for (int x = plot.left(); x < plot.right(); ++x)
                dark += qGray(image.pixel(x, y)) < 160 ? 1 : 0;
        return dark;
    };
    ProfileChartWidget chart(ProfileChartWidget::Style::Area, QStringLiteral("Metros"));
    chart.resize(649, 261);
    EXPECT_EQ(chart.rowCount(), 0);
    const int withHint = darkPixels(chart);
    chart.setRowCount(0);
    EXPECT_GT(withHint, 100);
    EXPECT_LT(darkPixels(chart), withHint / 4);
}

}  // namespace
}  // namespace at::test
