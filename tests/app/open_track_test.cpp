// Other ways into "Cargar": a file named on the command line or dropped on the window is loaded
// and analysed as if chosen in the file dialog, whatever its format; a bad one shows the usual
// error box and leaves the window usable.
#include <filesystem>

#include <QApplication>
#include <QComboBox>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include "tests/app/window_fixture.h"
#include "tests/support/track_formats.h"

namespace at::test {
namespace {

constexpr std::int64_t k10h = 1714557600;

std::vector<RecordedPoint> points() {
    return {{"40.1", "-3.1", "700", k10h},
            {"40.101", "-3.1", "705", k10h + 30},
            {"40.102", "-3.1", "710", k10h + 200}};
}

class OpenTrack : public WindowTest {
  protected:
    ScopedTimeZone zone_{"UTC0"};

    // Drops `urls` on the window as a file manager does.
    bool drop(const QList<QUrl>& urls) {
        QMimeData data;
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(window.get(), &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent dropped(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &dropped);
        return true;
    }
};

TEST_F(OpenTrack, EveryWayAndEveryFormatGivesTheSameWindowAsCargar) {
    const std::string plt = dir.write("ruta.plt", pltText(points()));
    dialog->answers.push_back({true, QString::fromStdString(plt)});
    click("cmdCargar");
    const QString distance = text("lbl3");
    const QStringList stopList = stops();
    ASSERT_FALSE(distance.isEmpty());
    ASSERT_EQ(stopList.size(), 1);
    EXPECT_EQ(control<QListWidget>("lstParada")->item(0)->toolTip(), stopList[0]);

    const std::string gpx = dir.write("ruta.gpx", gpxText({points()}));
    const std::string tcx = dir.write("ruta.tcx", tcxText({points()}));
    const std::string fit = dir.write("ruta.fit", fitFile(points()));

    makeWindow(NumberLocale::point());
    window->openTrack(QString::fromStdString(gpx));
    EXPECT_EQ(text("txtArchivo"), QString::fromStdString(gpx));
    EXPECT_EQ(dialog->fileName(), QString::fromStdString(gpx));  // "Cargar" opens beside it
    EXPECT_EQ(text("lbl3"), distance);
    EXPECT_EQ(stops(), stopList);

    for (const std::string& path : {tcx, fit}) {
        makeWindow(NumberLocale::point());
        ASSERT_TRUE(drop({QUrl::fromLocalFile(QString::fromStdString(path))}));
        EXPECT_EQ(text("txtArchivo"), QString::fromStdString(path));
        EXPECT_EQ(dialog->fileName(), QString::fromStdString(path));
        EXPECT_EQ(text("lbl3"), distance) << path;
        EXPECT_EQ(stops(), stopList) << path;
    }
    EXPECT_TRUE(messages->shown.empty());
    EXPECT_EQ(dialog->shown, 0);
}

TEST_F(OpenTrack, ADragWithoutALocalFileIsRefused) {
    EXPECT_FALSE(drop({QUrl(QStringLiteral("https://example.org/ruta.gpx"))}));
    EXPECT_FALSE(drop({}));
    EXPECT_EQ(text("txtArchivo"), QStringLiteral("-vacio-"));
}

TEST_F(OpenTrack, ABadFileShowsTheErrorBoxAndTheWindowGoesOn) {
    auto bad = points();
    bad[1].latitude = "91";
    const std::string gpx = dir.write("fuera.gpx", gpxText({bad}));
    const int openBefore = openFileCount();
    window->openTrack(QString::fromStdString(gpx));
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].kind, QStringLiteral("warning"));
    EXPECT_TRUE(messages->shown[0].text.contains(QStringLiteral("La latitud no está")));
    EXPECT_TRUE(messages->shown[0].text.contains(QStringLiteral("Línea: 8")));
    EXPECT_EQ(openFileCount(), openBefore);
    EXPECT_EQ(text("txtArchivo"), QString::fromStdString(gpx));

    const std::string good = dir.write("buena.gpx", gpxText({points()}));
    window->openTrack(QString::fromStdString(good));
    EXPECT_EQ(messages->shown.size(), 1u);
    EXPECT_FALSE(text("lbl3").isEmpty());
}

// A route without times nor altitudes: "—" for what it lacks, the hints in both charts, the
// points without time beside the path; "Cortar" refuses it and writes nothing.
TEST_F(OpenTrack, ARouteWithoutTimesOrAltitudesSaysWhatItLacks) {
    std::vector<RecordedPoint> route = points();
    for (RecordedPoint& p : route) {
        p.elevation.reset();
        p.unixSeconds.reset();
    }
    const std::string gpx = dir.write("ruta.gpx", gpxText({route}));
    window->openTrack(QString::fromStdString(gpx));
    EXPECT_TRUE(messages->shown.empty());
    EXPECT_EQ(text("lbl3"), QStringLiteral("0.2 km"));
    for (const char* absent :
         {"lbl1", "lbl4", "lbl5", "lbl6", "lbl7", "lblTiempo", "Label8", "Label10", "Label14"})
        EXPECT_EQ(text(absent), QStringLiteral("—")) << absent;
    EXPECT_EQ(control("txtArchivo")->toolTip(), QStringLiteral("3 puntos sin hora"));
    EXPECT_EQ(control<ProfileChartWidget>("MSChart1")->hintText(),
              QStringLiteral("Este track no tiene altitudes"));
    EXPECT_EQ(control<ProfileChartWidget>("MSChart2")->hintText(),
              QStringLiteral("Este track no tiene horas"));

    control<QComboBox>("Combo1")->setCurrentText(QStringLiteral("250"));
    dialog->answers = {{true, QString::fromStdString(gpx)}};
    click("cmdCortar");
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_TRUE(messages->shown[0].text.contains(QStringLiteral("El track no tiene horas")));
    EXPECT_FALSE(std::filesystem::exists(gpx + ".1.plt"));
}

}  // namespace
}  // namespace at::test
