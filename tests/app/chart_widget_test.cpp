#include <gtest/gtest.h>

#include <QAreaSeries>
#include <QLineSeries>
#include <QSignalSpy>
#include <QTest>
#include <QValueAxis>

#include "charts/profile_chart_widget.h"

namespace at::test {
namespace {

QValueAxis* valueAxis(ProfileChartWidget& chart) {
    return qobject_cast<QValueAxis*>(chart.chart()->axes(Qt::Vertical).front());
}

QList<QPointF> drawnPoints(ProfileChartWidget& chart) {
    QAbstractSeries* series = chart.chart()->series().front();
    if (auto* area = qobject_cast<QAreaSeries*>(series))
        return area->upperSeries()->points();
    return qobject_cast<QLineSeries*>(series)->points();
}

TEST(ProfileChartWidget, RowsReadBackInEitherLocale) {
    const struct {
        const char* separator;
        const char* text;
        double stored;  // 7 when the text was refused
    } cases[] = {
        {".", "812.4", 812.4}, {".", "-3", -3.0}, {".", "1E+20", 1e20},     {".", " 15 ", 15.0},
        {".", "812,4", 7.0},   {".", "", 7.0},    {".", "abc", 7.0},        {",", "812,4", 812.4},
        {",", "812.4", 7.0},   {",", "0,5", 0.5}, {",", "1,5E-05", 1.5e-5},
    };
    for (const auto& c : cases) {
        ProfileChartWidget chart(ProfileChartWidget::Style::Line, QStringLiteral("Velocidad"));
        chart.setNumberLocale(NumberLocale{c.separator});
        chart.setRowCount(3);
        chart.setRow(2);
        chart.setRowValue(QStringLiteral("7"));
        chart.setRowValue(QString::fromUtf8(c.text));
        EXPECT_DOUBLE_EQ(chart.rowValue(2), c.stored) << c.separator << " " << c.text;
        EXPECT_EQ(chart.rowValue(1), 0.0);
    }
}

TEST(ProfileChartWidget, RowCountsAndRowsOutsideThem) {
    ProfileChartWidget chart(ProfileChartWidget::Style::Area, QStringLiteral("Metros"));
    EXPECT_EQ(chart.rowCount(), 0);  // nothing invented before the first track
    const struct {
        qint16 set;
        qint16 read;
    } counts[] = {{5, 5}, {0, 0}, {-6, 0}, {-32768, 0}, {32767, 32767}, {1, 1}};
    for (const auto& c : counts) {
        chart.setRowCount(c.set);
        EXPECT_EQ(chart.rowCount(), c.read) << c.set;
    }

    chart.setRowCount(4);
    chart.setRow(4);
    chart.setRowValue(QStringLiteral("9"));
    for (const qint16 outside : {0, 5, -1}) {
        chart.setRow(outside);
        chart.setRowValue(QStringLiteral("1"));
    }
    EXPECT_EQ(chart.rowValue(4), 9.0);
    EXPECT_EQ(chart.rowValue(5), 0.0);
    EXPECT_EQ(chart.rowValue(0), 0.0);

    // A new count keeps the rows it still covers.
    chart.setRowCount(10);
    EXPECT_EQ(chart.rowValue(4), 9.0);
    EXPECT_EQ(chart.rowValue(10), 0.0);
}

TEST(ProfileChartWidget, AcceptsAnyValueAxisRange) {
    ProfileChartWidget chart(ProfileChartWidget::Style::Area, QStringLiteral("Metros"));
    const struct {
        double minimum, maximum;
        double drawnLow, drawnHigh;
    } cases[] = {
        {807, 1209, 807, 1209},
        {5995, 5, 5, 5995},  // a track without points
        {100, 100, 99, 101},
    };
    for (const auto& c : cases) {
        chart.setRowCount(0);
        chart.setValueAxisMinimum(c.minimum);
        chart.setValueAxisMaximum(c.maximum);
        chart.refresh();
        EXPECT_EQ(chart.valueAxisMinimum(), c.minimum);
        EXPECT_EQ(chart.valueAxisMaximum(), c.maximum);
        EXPECT_EQ(valueAxis(chart)->min(), c.drawnLow);
        EXPECT_EQ(valueAxis(chart)->max(), c.drawnHigh);
    }
    EXPECT_FALSE(chart.grab().isNull());
}

TEST(ProfileChartWidget, SpeedAxisFollowsTheData) {
    ProfileChartWidget chart(ProfileChartWidget::Style::Line, QStringLiteral("Velocidad"));
    chart.setRowCount(3);
    for (qint16 row = 1; row <= 3; ++row) {
        chart.setRow(row);
        chart.setRowValue(QString::number(row * 11.5));
    }
    chart.refresh();
    EXPECT_LE(valueAxis(chart)->min(), 0.0);
    EXPECT_GE(valueAxis(chart)->max(), 34.5);
    EXPECT_LT(valueAxis(chart)->max(), 60.0);
}

TEST(ProfileChartWidget, OperationsAreInvokable) {
    ProfileChartWidget chart(ProfileChartWidget::Style::Line, QStringLiteral("Velocidad"));
    ASSERT_TRUE(QMetaObject::invokeMethod(&chart, "setRowCount", Q_ARG(qint16, 2)));
    ASSERT_TRUE(QMetaObject::invokeMethod(&chart, "setRow", Q_ARG(qint16, 2)));
    ASSERT_TRUE(QMetaObject::invokeMethod(&chart, "setRowValue", Q_ARG(QString, "4.5")));
    ASSERT_TRUE(QMetaObject::invokeMethod(&chart, "setValueAxisMaximum", Q_ARG(double, 12)));
    double value = 0;
    ASSERT_TRUE(
        QMetaObject::invokeMethod(&chart, "rowValue", Q_RETURN_ARG(double, value), Q_ARG(int, 2)));
    EXPECT_EQ(value, 4.5);
    qint16 count = 0;
    ASSERT_TRUE(QMetaObject::invokeMethod(&chart, "rowCount", Q_RETURN_ARG(qint16, count)));
    EXPECT_EQ(count, 2);
    EXPECT_EQ(chart.valueAxisMaximum(), 12.0);
}

TEST(ProfileChartWidget, DrawsManyRowsThinnedButKeepsEveryPeak) {
    ProfileChartWidget chart(ProfileChartWidget::Style::Area, QStringLiteral("Metros"));
    chart.resize(649, 261);
    chart.setRowCount(32767);
    for (int row = 1; row <= 32767; ++row) {
        chart.setRow(static_cast<qint16>(row));
        chart.setRowValue(row == 20000 ? QStringLiteral("1000") : QStringLiteral("500"));
    }
    chart.setRow(17);
    chart.setRowValue(QStringLiteral("-40"));
    chart.refresh();
    const QList<QPointF> points = drawnPoints(chart);
    EXPECT_LT(points.size(), 4000);
    double low = 0, high = 0;
    for (const QPointF& p : points) {
        low = std::min(low, p.y());
        high = std::max(high, p.y());
    }
    EXPECT_EQ(high, 1000.0);
    EXPECT_EQ(low, -40.0);
    EXPECT_EQ(chart.rowValue(20000), 1000.0);  // read-backs use every row
    EXPECT_EQ(chart.rowValue(20001), 500.0);
}

TEST(ProfileChartWidget, RowsWrittenInOneGoAreDrawnAfterwards) {
    ProfileChartWidget chart(ProfileChartWidget::Style::Line, QStringLiteral("Velocidad"));
    chart.setRowCount(3);
    chart.setRow(3);
    chart.setRowValue(QStringLiteral("8"));
    EXPECT_NE(drawnPoints(chart).size(), 3);  // not yet drawn
    QCoreApplication::processEvents();        // the deferred refresh
    const QList<QPointF> points = drawnPoints(chart);
    ASSERT_EQ(points.size(), 3);
    EXPECT_EQ(points[2], QPointF(3, 8));
}

TEST(ProfileChartWidget, AClickAnywhereInThePlotChoosesTheNearestRow) {
    ProfileChartWidget chart(ProfileChartWidget::Style::Area, QStringLiteral("Metros"));
    chart.resize(649, 261);
    chart.show();
    chart.setRowCount(50);
    for (qint16 row = 1; row <= 50; ++row) {
        chart.setRow(row);
        chart.setRowValue(QString::number(100 + row));
    }
    chart.setValueAxisMinimum(0);
    chart.setValueAxisMaximum(200);
    chart.refresh();
    QCoreApplication::processEvents();

    const auto toView = [&](double row, double value) {
        const QPointF local = chart.chart()->mapToPosition(QPointF(row, value));
        return chart.mapFromScene(chart.chart()->mapToScene(local));
    };
    const struct {
        double row, value;
        std::optional<int> chosen;
    } cases[] = {
        {20, 120, 20},
        {20, 190, 20},  // on the profile and far above it
        {20.4, 5, 20},
        {20.6, 5, 21},  // the nearest row by x, down in the filled area
        {1, 199, 1},
        {50, 1, 50},              // the corners of the plot
        {-3, 100, std::nullopt},  // left of the plot, among the axis labels
        {25, -30, std::nullopt},  // below it
    };
    for (const auto& c : cases)
        EXPECT_EQ(chart.rowAt(toView(c.row, c.value)), c.chosen) << c.row << " " << c.value;

    QSignalSpy spy(&chart, &ProfileChartWidget::pointSelected);
    QTest::mouseClick(chart.viewport(), Qt::LeftButton, {}, toView(33, 133));
    QTest::mouseClick(chart.viewport(), Qt::LeftButton, {}, toView(33, 20));
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy[0][1].value<qint16>(), 33);
    EXPECT_EQ(spy[1][1].value<qint16>(), 33);
    EXPECT_EQ(chart.markedRow(), 33);
    EXPECT_EQ(chart.rowCount(), 50);  // choosing changes no row
    EXPECT_EQ(chart.rowValue(33), 133.0);
}

}  // namespace
}  // namespace at::test
