// A GPX track of more points than a track file may hold, in the window: its rows go past 16 bits,
// the charts reach every one of them, and the classic 16-bit operations keep their 16 bits.
#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QSignalSpy>
#include <cstdio>

#include "app/result_sharing.h"
#include "tests/app/window_fixture.h"
#include "tests/support/track_formats.h"

namespace at::test {
namespace {

constexpr int kPoints = 40000;
constexpr std::int64_t k10h = 1714557600;  // 2024-05-01T10:00:00Z

class LongTrack : public WindowTest {
  protected:
    // On the equator, where 9020 millionths of a degree of longitude are exactly 1 km: 45 of them
    // (4.99 m) a point, one point a second (199.58 km in all as the pass sums them in single
    // precision), and a rest of ten minutes after point 36000.
    void SetUp() override {
        WindowTest::SetUp();
        const ScopedTimeZone zone("UTC0");
        std::vector<RecordedPoint> points;
        for (int i = 0; i < kPoints; ++i) {
            char longitude[32];
            std::snprintf(longitude, sizeof longitude, "%.6f", 0.000045 * i);
            points.push_back({"0.000000", longitude, "700", k10h + i + (i >= 36000 ? 600 : 0)});
        }
        setText("txtArchivo", QString::fromStdString(dir.write("dia.gpx", gpxText({points}))));
        window->show();
        click("Command1");
        ASSERT_TRUE(messages->shown.empty()) << messages->shown[0].text.toStdString();
        altitude = control<ProfileChartWidget>("MSChart1");
        altitude->refresh();
    }

    // Where row `row` lies, exactly, halfway up the altitude plot.
    QPointF at(double row) const {
        const QRectF plot = altitude->chart()->plotArea();
        const auto [low, high] = altitude->shownRows();
        const double x = plot.left() + (row - low) / (high - low) * plot.width();
        return altitude->viewportTransform().map(
            altitude->chart()->mapToScene(QPointF(x, plot.center().y())));
    }

    void clickAt(double row) const {
        const QPointF position = at(row);
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(
                type, position, altitude->viewport()->mapToGlobal(position), Qt::LeftButton,
                type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(altitude->viewport(), &event);
        }
    }

    ProfileChartWidget* altitude = nullptr;
};

TEST_F(LongTrack, IsChartedAndExportedWholeAndItsPointsAreChosenByTheirOwnRows) {
    auto* speed = control<ProfileChartWidget>("MSChart2");
    EXPECT_EQ(altitude->rowCount32(), kPoints);
    EXPECT_EQ(speed->rowCount32(), kPoints);
    EXPECT_EQ(altitude->rowCount(), 32767);  // the 16-bit count goes no further
    EXPECT_EQ(text("lbl3"), QStringLiteral("199.6 km"));
    EXPECT_EQ(altitude->stopRows(), std::vector<int>{36000});

    QSignalSpy chosen16(altitude, &ProfileChartWidget::pointSelected);
    QSignalSpy chosen32(altitude, &ProfileChartWidget::pointSelected32);
    // 60 rows to a pixel, yet the exact row under the mouse; 36000 × 199.58 km / 40006 lines read.
    for (const int row : {40000, 36001, 36000}) {
        clickAt(row);
        EXPECT_EQ(chosen32.takeFirst()[1].value<qint32>(), row);
        EXPECT_EQ(speed->markedRow(), row);
    }
    EXPECT_EQ(text("lblKm"), QStringLiteral("Km Seleccionado: 179.59"));
    EXPECT_EQ(chosen16.count(), 0);
    // A row that fits 16 bits is announced both ways, and read out once.
    clickAt(100);
    EXPECT_EQ(chosen16.takeFirst()[1].value<qint16>(), 100);
    EXPECT_EQ(chosen32.count(), 1);
    EXPECT_EQ(text("lblKm"), QStringLiteral("Km Seleccionado: 0.5"));

    // The export takes every point.
    const QString csv = QString::fromStdString(dir.path().string()) + QStringLiteral("/dia.csv");
    QString error;
    ASSERT_TRUE(window->sharing().exportPointsCsv(csv, error)) << error.toStdString();
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    ASSERT_EQ(lines.size(), kPoints + 2);  // heading, points, nothing after the last line end
    EXPECT_TRUE(lines[kPoints].startsWith("40000,2024-05-01,21:16:39,0,")) << lines[kPoints].data();
}

}  // namespace
}  // namespace at::test
