// A file of several tracks asks which to analyse; the choice holds for recalculation and "Cortar"
// until another file is loaded. Laps are marked on both profiles.
#include <QLabel>
#include <filesystem>

#include "analysis/analyse_track.h"
#include "app/result_sharing.h"
#include "charts/report_page.h"
#include "formats/splitter.h"
#include "tests/app/window_fixture.h"
#include "tests/support/track_formats.h"

namespace at::test {
namespace {

class TrackChoice : public WindowTest {
  protected:
    ScopedTimeZone zone_{"UTC0"};
    QString threeTracks_ = QString::fromStdString(dir.write("tres.gpx", threeTrackGpx()));
};

TEST_F(TrackChoice, TheFirstIsAnalysedAndAnotherCanBeChosenUntilAnotherFileIsLoaded) {
    window->openTrack(threeTracks_);
    EXPECT_EQ(window->trackCount(), 3);
    EXPECT_EQ(window->chosenTrack(), 1);
    auto* list = control<QListWidget>("lstTracks");
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(control("frmTracks")->isVisible());
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("2 · Tarde · 01/05/2024 · 3 puntos · 0.2 km"));
    EXPECT_EQ(control<ProfileChartWidget>("MSChart1")->rowCount(), 4);

    window->chooseTrack(3);
    EXPECT_EQ(control<ProfileChartWidget>("MSChart1")->rowCount(), 5);
    click("Command1");
    EXPECT_EQ(window->chosenTrack(), 3);
    EXPECT_EQ(control<ProfileChartWidget>("MSChart2")->rowCount(), 5);

    // "Cortar" on the same file cuts the track chosen.
    control<QComboBox>("Combo1")->setCurrentText(QStringLiteral("250"));
    dialog->answers.push_back({true, threeTracks_});
    click("cmdCortar");
    EXPECT_NE(readBytes(splitFileName(threeTracks_.toStdString(), 1)).find("41.103600"),
              std::string::npos);

    const QString single = QString::fromStdString(dir.write(
        "uno.gpx",
        gpxText({{{"41.1", "2.1", "120", 1714557600}, {"41.2", "2.1", "120", 1714557660}}})));
    window->openTrack(single);
    EXPECT_EQ(window->trackCount(), 0);
    EXPECT_FALSE(control("frmTracks")->isVisible());
    EXPECT_EQ(control<ProfileChartWidget>("MSChart1")->rowCount(), 2);
}

TEST_F(TrackChoice, LapsAreMarkedOnBothProfilesWithTheirFigures) {
    const std::vector<RecordedPoint> lap1 = {{"41.1", "2.1", "120", 1714557600},
                                             {"41.1009", "2.1", "120", 1714557630}};
    const std::vector<RecordedPoint> lap2 = {{"41.1018", "2.1", "120", 1714557660}};
    const std::string path = dir.write("v.tcx", tcxText({lap1, lap2}));
    window->openTrack(QString::fromStdString(path));
    for (const char* chart : {"MSChart1", "MSChart2"}) {
        auto* profile = control<ProfileChartWidget>(chart);
        ASSERT_EQ(profile->lapCount(), 2) << chart;
        EXPECT_EQ(profile->lapRow(0), 1);
        EXPECT_EQ(profile->lapRow(1), 3);
        EXPECT_EQ(profile->lapToolTip(0),
                  QStringLiteral("Vuelta 1: 0.2 km en 00h 01' 00'' · 12 km/h"));
    }
    // The clipboard and the report list them, and give the mean speed in motion.
    const QString copied = window->sharing().summaryText();
    EXPECT_TRUE(copied.contains(QStringLiteral("Velocidad media en ruta: 12 km/h\nParadas\n")))
        << copied.toStdString();
    EXPECT_TRUE(
        copied.endsWith(QStringLiteral("Vueltas\nVuelta 1: 0.2 km en 00h 01' 00'' · 12 "
                                       "km/h\nVuelta 2: 0 km en 00h 00' 00''\n")))
        << copied.toStdString();
    const ReportContent report = reportContent(
        analyseTrack({path, {"20", "1", "10"}}, NumberLocale::point()), NumberLocale::point());
    EXPECT_EQ(report.laps.size(), 2u);
    EXPECT_EQ(report.activity, std::vector<std::string>{"Velocidad media en ruta: 12 km/h"});
    // A track file of point lines has none.
    window->openTrack(QString::fromStdString(dir.write("r.plt", pltText(lap1))));
    EXPECT_EQ(control<ProfileChartWidget>("MSChart1")->lapCount(), 0);
}

}  // namespace
}  // namespace at::test
