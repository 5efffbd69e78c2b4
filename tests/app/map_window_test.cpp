#include <QTest>

#include "app/map_window.h"
#include "charts/map_widget.h"
#include "tests/app/window_fixture.h"
#include "tests/support/tile_server.h"
#include "tests/support/track_text.h"

namespace at::test {
namespace {

// The window with a map over tiles from a server on 127.0.0.1, and a walk of 100 points north
// with a rest of 200 s after point 40.
class MapWindowTest : public WindowTest {
  protected:
    void SetUp() override {
        qputenv("ANALISIS_TRACKS_TESELAS", server.urlTemplate().toUtf8());
        WindowTest::SetUp();
        window->show();
    }
    void TearDown() override { qputenv("ANALISIS_TRACKS_TESELAS", tilesBefore); }
    void loadWalk() {
        std::vector<std::string> lines;
        for (int i = 0; i < 100; ++i) {
            const int second = 36000 + 20 * i + (i >= 40 ? 180 : 0);
            lines.push_back(
                pointLine(40.0 + 0.001 * i, 3.0 + 0.0004 * (i % 7), 1000, clock(second)));
        }
        setText("txtArchivo", QString::fromStdString(dir.write("cien.plt", trackText(lines))));
        click("Command1");
        ASSERT_TRUE(messages->shown.empty());
    }
    MapWidget* map() const { return &window->mapWindow()->map(); }

    TileServer server;
    const QByteArray tilesBefore = qgetenv("ANALISIS_TRACKS_TESELAS");
};

TEST_F(MapWindowTest, OpensWithItsButtonOrCtrlMAndFollowsEveryAnalysis) {
    EXPECT_EQ(window->mapWindow(), nullptr);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(window.get(), Qt::Key_M, Qt::ControlModifier);
    ASSERT_NE(window->mapWindow(), nullptr);
    EXPECT_TRUE(window->mapWindow()->isVisible());
    EXPECT_EQ(window->mapWindow()->windowTitle(), QStringLiteral("Mapa"));
    EXPECT_EQ(map()->zoomLevel(), 0);
    EXPECT_EQ(map()->attribution(),
              QStringLiteral("Teselas: 127.0.0.1:%1").arg(QUrl(server.urlTemplate()).port()));

    window->mapWindow()->close();
    loadWalk();
    EXPECT_EQ(window->mapWindow()->windowTitle(), QStringLiteral("Mapa — cien.plt"));
    EXPECT_EQ(text("Label8"), QStringLiteral("1"));
    click("cmdMapa");
    EXPECT_TRUE(window->mapWindow()->isVisible());
    EXPECT_EQ(map()->track().rowCount(), 100);
    ASSERT_EQ(map()->marks().size(), 1u);
    EXPECT_EQ(map()->marks()[0].row, 40);
    EXPECT_EQ(map()->marks()[0].label, "1");
    EXPECT_EQ(QString::fromStdString(map()->marks()[0].tooltip), stops().front());
    EXPECT_EQ(map()->markTextAt(map()->rowPosition(40) - QPointF(0, 15)), stops().front());

    const int fitted = map()->zoomLevel();
    EXPECT_GE(fitted, 10);
    click("cmdAcercar");
    EXPECT_EQ(map()->zoomLevel(), fitted + 1);
    QTest::mouseDClick(map(), Qt::LeftButton, {}, QPoint(5, 200));
    EXPECT_EQ(map()->zoomLevel(), fitted);
}

TEST_F(MapWindowTest, AClickOnTheTrackChoosesItsPointAsTheAltitudeProfileDoes) {
    loadWalk();
    click("cmdMapa");
    // The kept figures of the read-out's own test: row 53 of 106 lines over 10 km.
    window->keepForReadout(106, 10.0f);
    const QPoint onTrack = map()->rowPosition(53).toPoint() + QPoint(2, 1);
    QTest::mouseClick(map(), Qt::LeftButton, {}, onTrack);
    EXPECT_EQ(text("lblKm"), QStringLiteral("Km Seleccionado: 5"));
    EXPECT_EQ(control<ProfileChartWidget>("MSChart1")->markedRow(), 53);
    EXPECT_EQ(control<ProfileChartWidget>("MSChart2")->markedRow(), 53);
    EXPECT_EQ(map()->chosenRow(), 53);

    // Too far from the track, or a drag: nothing is chosen; the drag moves the map.
    QTest::mouseClick(map(), Qt::LeftButton, {}, onTrack + QPoint(40, 0));
    const ScreenPoint before = map()->view().toScreen(*map()->track().at(10));
    const QPoint from = map()->rowPosition(10).toPoint();
    QTest::mousePress(map(), Qt::LeftButton, {}, from);
    QTest::mouseMove(map(), from + QPoint(3, 3));
    QTest::mouseMove(map(), from + QPoint(30, 3));
    QTest::mouseRelease(map(), Qt::LeftButton, {}, from + QPoint(30, 3));
    EXPECT_EQ(map()->chosenRow(), 53);
    EXPECT_EQ(text("lblKm"), QStringLiteral("Km Seleccionado: 5"));
    const ScreenPoint after = map()->view().toScreen(*map()->track().at(10));
    EXPECT_NEAR(after.x - before.x, 30, 1e-6);
}

TEST_F(MapWindowTest, TheProfilesAndTheStopListShowOnTheMap) {
    loadWalk();
    click("cmdMapa");
    auto* altitude = control<ProfileChartWidget>("MSChart1");
    auto* speed = control<ProfileChartWidget>("MSChart2");
    emit speed->pointSelected(1, 70, 1, 0);
    EXPECT_EQ(map()->chosenRow(), 70);
    emit altitude->hoveredRowChanged(30);
    EXPECT_EQ(map()->hoverRow(), 30);
    altitude->setStretch(std::pair(10, 45));
    EXPECT_EQ(std::pair(map()->stretchFirst(), map()->stretchLast()), std::pair(10, 45));

    map()->zoomIn();
    control<QListWidget>("lstParada")->setCurrentRow(0);
    const WorldPoint stop = *map()->track().at(40);
    EXPECT_NEAR(map()->view().centre.x, stop.x, 1e-12);
    EXPECT_NEAR(map()->view().centre.y, stop.y, 1e-12);
}

}  // namespace
}  // namespace at::test
