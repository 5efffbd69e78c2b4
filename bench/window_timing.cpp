// Timing of the window: a recalculation of the largest track file the window takes (32,761 points,
// 32,767 lines read), from the click to both charts repainted with a chosen point and the stops
// marked; the same click split in two, from the click to its labels (beside a track of no points,
// whose time is the command's own) and the repaint it leaves pending, and these two again for a
// day at one point a second as a GPX and a FIT file (86,400 points); a click on the altitude
// profile until both charts show the new mark; the hover read-out's handler; a new horizontal axis
// until both charts are repainted along it; and the start of the program until its window is
// painted.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QToolButton>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "app/frm_ppal.h"
#include "bench/bench_files.h"
#include "bench/paint_counter.h"
#include "charts/profile_chart_widget.h"

extern char** environ;

namespace {

using at::bench::PaintCounter;

// Seven seconds between samples, a long climb with short waves on it, a rest now and then.
std::string largestTrack(int points = 32761) {
    const auto path =
        (std::filesystem::temp_directory_path() / ("at-window-" + std::to_string(points) + ".plt"))
            .string();
    std::ofstream out(path, std::ios::binary);
    for (int h = 0; h < 6; ++h)
        out << "Cabecera " << h << "\r\n";
    int second = 6 * 3600;
    for (int i = 0; i < points; ++i) {
        const double feet = 3000 + 2500 * std::sin(i / 5000.0) + 40 * std::sin(i / 37.0);
        char line[128];
        std::snprintf(line, sizeof line, "%.6f,%.6f,0,%d,45123.25,15-Jul-23,%02d:%02d:%02d",
                      40.0 + i * 0.00002, -3.5 + i * 0.00001, static_cast<int>(feet),
                      second / 3600 % 24, second / 60 % 60, second % 60);
        out << line << "\r\n";
        second += (i % 997 == 0) ? 300 : 7;
    }
    return path;
}

void RecalculateAndRepaint(benchmark::State& state) {
    at::frmPpal window;
    window.findChild<QLineEdit*>(QStringLiteral("txtArchivo"))
        ->setText(QString::fromStdString(largestTrack()));
    auto* recalculate = window.findChild<QToolButton*>(QStringLiteral("Command1"));
    auto* altitude = window.findChild<at::ProfileChartWidget*>(QStringLiteral("MSChart1"));
    auto* speed = window.findChild<at::ProfileChartWidget*>(QStringLiteral("MSChart2"));
    window.show();
    QApplication::processEvents();
    PaintCounter counter;
    altitude->viewport()->installEventFilter(&counter);
    speed->viewport()->installEventFilter(&counter);
    for (auto _ : state) {
        recalculate->click();
        emit altitude->pointSelected(1, 16000, 1, 0);
        altitude->viewport()->repaint();
        speed->viewport()->repaint();
    }
    if (altitude->rowCount() != 32761 || altitude->stopRows().empty() || !speed->markedRow())
        state.SkipWithError("the track was not analysed, or nothing was marked");
    state.counters["chart_paints_per_round"] =
        static_cast<double>(counter.paints) / static_cast<double>(state.iterations());
    state.counters["stops_marked"] = static_cast<double>(altitude->stopRows().size());
}
BENCHMARK(RecalculateAndRepaint)->Unit(benchmark::kMillisecond)->UseRealTime();

// The recalculate click on the track at `path` until it returns with its labels written; the
// charts' repaint is still pending then.
void clickToLabels(benchmark::State& state, const std::string& path) {
    at::frmPpal window;
    window.findChild<QLineEdit*>(QStringLiteral("txtArchivo"))
        ->setText(QString::fromStdString(path));
    auto* recalculate = window.findChild<QToolButton*>(QStringLiteral("Command1"));
    auto* distance = window.findChild<QLabel*>(QStringLiteral("lbl3"));
    window.show();
    QApplication::processEvents();
    for (auto _ : state) {
        state.PauseTiming();
        distance->clear();
        QApplication::processEvents();
        state.ResumeTiming();
        recalculate->click();
    }
    if (distance->text().isEmpty())
        state.SkipWithError("the labels were not written");
}

// What the click on the track at `path` leaves pending, as the event loop runs it: both charts
// rebuilt where they still need it and painted.
void pendingRepaint(benchmark::State& state, const std::string& path, int rows) {
    at::frmPpal window;
    window.findChild<QLineEdit*>(QStringLiteral("txtArchivo"))
        ->setText(QString::fromStdString(path));
    auto* recalculate = window.findChild<QToolButton*>(QStringLiteral("Command1"));
    auto* altitude = window.findChild<at::ProfileChartWidget*>(QStringLiteral("MSChart1"));
    auto* speed = window.findChild<at::ProfileChartWidget*>(QStringLiteral("MSChart2"));
    window.show();
    QApplication::processEvents();
    PaintCounter altitudePaints;
    PaintCounter speedPaints;
    altitude->viewport()->installEventFilter(&altitudePaints);
    speed->viewport()->installEventFilter(&speedPaints);
    for (auto _ : state) {
        state.PauseTiming();
        recalculate->click();
        const int before = altitudePaints.paints + speedPaints.paints;
        state.ResumeTiming();
        QApplication::processEvents();
        if (altitudePaints.paints + speedPaints.paints < before + 2)
            state.SkipWithError("a chart was not painted");
    }
    if (altitude->rowCount32() != rows)
        state.SkipWithError("the track was not analysed");
    state.counters["altitude_paints_per_round"] =
        static_cast<double>(altitudePaints.paints) / static_cast<double>(state.iterations());
    state.counters["speed_paints_per_round"] =
        static_cast<double>(speedPaints.paints) / static_cast<double>(state.iterations());
}

// Run on a track of no points too: its time is the command's own, the rest is the analysis.
void ClickToLabels(benchmark::State& state) {
    clickToLabels(state, largestTrack(static_cast<int>(state.range(0))));
}
BENCHMARK(ClickToLabels)
    ->ArgName("points")
    ->Arg(0)
    ->Arg(32761)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void PendingRepaint(benchmark::State& state) {
    pendingRepaint(state, largestTrack(), 32761);
}
BENCHMARK(PendingRepaint)->Unit(benchmark::kMillisecond)->UseRealTime();

// A whole day at one point a second, 86,400 points, as a GPX (0) or a FIT file (1).
constexpr int kDayPoints = 86400;
std::string dayTrack(benchmark::State& state) {
    return at::bench::dayTrack(
        state.range(0) == 0 ? "analisis-tracks-dia.gpx" : "analisis-tracks-dia.fit", kDayPoints);
}

void DayClickToLabels(benchmark::State& state) {
    clickToLabels(state, dayTrack(state));
}
BENCHMARK(DayClickToLabels)
    ->ArgName("fit")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void DayPendingRepaint(benchmark::State& state) {
    pendingRepaint(state, dayTrack(state), kDayPoints);
}
BENCHMARK(DayPendingRepaint)
    ->ArgName("fit")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The window after analysing the largest track, a stop chosen in the list (so zoomed in on it).
struct AnalysedWindow {
    at::frmPpal window;
    at::ProfileChartWidget* altitude;
    at::ProfileChartWidget* speed;

    explicit AnalysedWindow(bool zoomOnAStop) {
        window.findChild<QLineEdit*>(QStringLiteral("txtArchivo"))
            ->setText(QString::fromStdString(largestTrack()));
        altitude = window.findChild<at::ProfileChartWidget*>(QStringLiteral("MSChart1"));
        speed = window.findChild<at::ProfileChartWidget*>(QStringLiteral("MSChart2"));
        window.show();
        window.findChild<QToolButton*>(QStringLiteral("Command1"))->click();
        if (zoomOnAStop)
            window.findChild<QListWidget*>(QStringLiteral("lstParada"))->setCurrentRow(10);
        QApplication::processEvents();
    }
    // A point of the plot area, `share` of the way across, in the viewport.
    QPointF plotPoint(double share) const {
        const QRectF plot = altitude->chart()->plotArea();
        return altitude->viewportTransform().map(altitude->chart()->mapToScene(
            QPointF(plot.left() + share * plot.width(), plot.center().y())));
    }
};

void ClickPointAndRepaint(benchmark::State& state) {
    AnalysedWindow w(state.range(0) != 0);
    int round = 0;
    for (auto _ : state) {
        const QPointF at = w.plotPoint(0.2 + 0.1 * (round++ % 6));
        QMouseEvent press(QEvent::MouseButtonPress, at, w.altitude->viewport()->mapToGlobal(at),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w.altitude->viewport(), &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, w.altitude->viewport()->mapToGlobal(at),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w.altitude->viewport(), &release);
        w.altitude->viewport()->repaint();
        w.speed->viewport()->repaint();
    }
    if (!w.speed->markedRow() || w.altitude->stopRows().empty())
        state.SkipWithError("the click chose nothing");
}
BENCHMARK(ClickPointAndRepaint)
    ->ArgName("zoomed_on_a_stop")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The handler only: the row under the mouse and the request for a repaint; the paint comes with
// the next frame.
void HoverHandler(benchmark::State& state) {
    AnalysedWindow w(false);
    int round = 0;
    for (auto _ : state) {
        w.altitude->hoverAt(w.plotPoint(0.05 + 0.009 * (round++ % 100)));
        benchmark::DoNotOptimize(w.altitude->hoverText());
    }
    if (w.altitude->hoverText().size() < 5)
        state.SkipWithError("no read-out");
}
BENCHMARK(HoverHandler)->Unit(benchmark::kMicrosecond)->UseRealTime();

// A new horizontal axis chosen on the altitude profile, in turn distance, time and points, until
// both profiles are repainted along it.
void SwitchAxisAndRepaint(benchmark::State& state) {
    AnalysedWindow w(false);
    PaintCounter counter;
    w.altitude->viewport()->installEventFilter(&counter);
    w.speed->viewport()->installEventFilter(&counter);
    const QString axes[] = {QStringLiteral("distancia"), QStringLiteral("hora"),
                            QStringLiteral("puntos")};
    int round = 0;
    for (auto _ : state) {
        const QString& axis = axes[round++ % 3];
        w.altitude->setHorizontalAxis(axis);
        w.altitude->viewport()->repaint();
        w.speed->viewport()->repaint();
        if (w.speed->horizontalAxis() != axis) {
            state.SkipWithError("the speed profile did not follow");
            break;
        }
    }
    if (w.altitude->rowCount() != 32761 || std::isnan(w.speed->rowPosition(32761)))
        state.SkipWithError("the track was not analysed");
    state.counters["chart_paints_per_round"] =
        static_cast<double>(counter.paints) / static_cast<double>(state.iterations());
}
BENCHMARK(SwitchAxisAndRepaint)->Unit(benchmark::kMillisecond)->UseRealTime();

// The whole program start: process, libraries, window, first paint.
void StartToWindowShown(benchmark::State& state) {
    const std::string program = AT_SNAPSHOT_PROGRAM;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    for (auto _ : state) {
        char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>("--exit-when-shown"),
                        nullptr};
        pid_t pid = 0;
        if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ) != 0) {
            state.SkipWithError("the program did not start");
            break;
        }
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the program did not end cleanly");
            break;
        }
    }
}
BENCHMARK(StartToWindowShown)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

}  // namespace
