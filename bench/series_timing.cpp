// Timing of the speed profile's series choice on the largest track the window takes (32,761
// points, every one with heart rate, cadence, power and temperature): from the choice to the
// chart repainted with the sensor drawn, and back to the speed. The goal is 50 ms a switch.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QToolButton>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "app/frm_ppal.h"
#include "bench/paint_counter.h"
#include "charts/profile_chart_widget.h"

namespace {

using at::bench::PaintCounter;

// One point a second along a climb, the pulse following it, a dropout of the heart rate strap now
// and then.
std::string largestTrackWithSensors() {
    constexpr int kPoints = 32761;
    const auto path = (std::filesystem::temp_directory_path() / "at-series-32761.gpx").string();
    std::ofstream out(path, std::ios::binary);
    out << "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" xmlns:tpx=\"http://www.garmin.com/"
           "xmlschemas/TrackPointExtension/v1\"><trk><trkseg>\n";
    for (int i = 0; i < kPoints; ++i) {
        const int second = 6 * 3600 + i;
        char heartRate[48] = "";
        if (i % 1000 >= 30)
            std::snprintf(heartRate, sizeof heartRate, "<tpx:hr>%d</tpx:hr>",
                          120 + static_cast<int>(30 * std::sin(i / 900.0)));
        char line[512];
        std::snprintf(line, sizeof line,
                      "<trkpt lat=\"%.6f\" lon=\"%.6f\"><ele>%.1f</ele>"
                      "<time>2024-05-01T%02d:%02d:%02dZ</time><extensions><power>%d</power>"
                      "<tpx:TrackPointExtension>%s<tpx:cad>%d</tpx:cad><tpx:atemp>%.1f</tpx:atemp>"
                      "</tpx:TrackPointExtension></extensions></trkpt>\n",
                      40.0 + i * 0.00002, -3.5 + i * 0.00001, 900 + 700 * std::sin(i / 5000.0),
                      second / 3600 % 24, second / 60 % 60, second % 60,
                      200 + static_cast<int>(60 * std::sin(i / 37.0)), heartRate, 80 + i % 11,
                      15 + i / 4000.0);
        out << line;
    }
    out << "</trkseg></trk></gpx>\n";
    return path;
}

void SwitchSeriesAndRepaint(benchmark::State& state) {
    at::frmPpal window;
    window.findChild<QLineEdit*>(QStringLiteral("txtArchivo"))
        ->setText(QString::fromStdString(largestTrackWithSensors()));
    auto* speed = window.findChild<at::ProfileChartWidget*>(QStringLiteral("MSChart2"));
    window.show();
    window.findChild<QToolButton*>(QStringLiteral("Command1"))->click();
    QApplication::processEvents();
    PaintCounter counter;
    speed->viewport()->installEventFilter(&counter);
    const QStringList series = {QStringLiteral("Pulso"), QStringLiteral("Velocidad")};
    int round = 0;
    for (auto _ : state) {
        if (!speed->showSeries(series[round++ % 2]))
            state.SkipWithError("the track has no heart rate");
        speed->viewport()->repaint();
    }
    if (speed->rowCount() != 32761)
        state.SkipWithError("the track was not analysed");
    state.counters["paints_per_switch"] =
        static_cast<double>(counter.paints) / static_cast<double>(state.iterations());
}
BENCHMARK(SwitchSeriesAndRepaint)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
