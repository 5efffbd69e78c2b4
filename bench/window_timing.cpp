// Timing of the window: a recalculation of the largest track the window takes (32,761 points,
// 32,767 lines read), from the click to both charts repainted, and the start of the program
// until its window is painted.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>

#include <QApplication>
#include <QLineEdit>
#include <QToolButton>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "app/frm_ppal.h"
#include "charts/profile_chart_widget.h"

extern char** environ;

namespace {

// Counts the paints that reach the charts, to be sure each round really draws them.
class PaintCounter : public QObject {
  public:
    int paints = 0;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

// Seven seconds between samples, a long climb with short waves on it, a rest now and then.
std::string largestTrack() {
    const auto path = (std::filesystem::temp_directory_path() / "at-window-32761.plt").string();
    std::ofstream out(path, std::ios::binary);
    for (int h = 0; h < 6; ++h)
        out << "Cabecera " << h << "\r\n";
    int second = 6 * 3600;
    for (int i = 0; i < 32761; ++i) {
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
        altitude->viewport()->repaint();
        speed->viewport()->repaint();
    }
    if (altitude->rowCount() != 32761)
        state.SkipWithError("the track was not analysed");
    state.counters["chart_paints_per_round"] =
        static_cast<double>(counter.paints) / static_cast<double>(state.iterations());
}
BENCHMARK(RecalculateAndRepaint)->Unit(benchmark::kMillisecond)->UseRealTime();

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

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
