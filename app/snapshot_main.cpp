// A helper beside the desktop program, for the pictures of the documentation and for timing the
// start-up; it is not installed:
//   analisis-tracks-snapshot --exit-when-shown
//       starts like the program and ends as soon as the window has been painted once;
//   analisis-tracks-snapshot TRACK PICTURE.png [POINT] [--eje AXIS] [--media] [--serie SERIES]
//                            [--hover ROW] [--zoom FIRST LAST] [--stretch FIRST LAST]
//       analyses TRACK, chooses data point POINT of the altitude chart, lays both profiles along
//       AXIS ("puntos", "distancia" or "hora"), shows the mean speed in motion, draws SERIES
//       ("Pulso", "Cadencia"...) on the speed profile instead of the speed, puts the mouse
//       over row ROW, shows FIRST to LAST (in the axis's units) on both charts and measures a
//       stretch, then saves the window;
//   analisis-tracks-snapshot --escritorio TRACK PICTURE.png [POINT]
//       opens TRACK as the file manager does, chooses POINT, then opens the file dialog of
//       "Cargar" (beside TRACK) and saves the whole screen, with the window manager's frames and
//       taskbar, as the user sees the program on a desktop;
//   analisis-tracks-snapshot --mapa TRACK PICTURE.png [POINT] [...]
//       the same as the second, then opens the "Mapa" window and saves it once its tiles have
//       arrived (from the tile server that ANALISIS_TRACKS_TESELAS names).
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <cstdio>

#include "app/desktop_integration.h"
#include "app/frm_ppal.h"
#include "app/map_window.h"
#include "app/tile_loader.h"
#include "charts/map_widget.h"
#include "charts/profile_chart_widget.h"

namespace {

class QuitOnFirstPaint : public QObject {
  public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    at::setDesktopIdentity();
    at::installQtTranslations(QLocale::system());
    QApplication::setStyle(QStringLiteral("Fusion"));
    QStringList args = QCoreApplication::arguments().mid(1);
    const bool desktop = !args.isEmpty() && args.front() == QStringLiteral("--escritorio");
    const bool map = !args.isEmpty() && args.front() == QStringLiteral("--mapa");
    if (desktop || map)
        args.removeFirst();

    at::frmPpal window;
    if (args.size() == 1 && args.front() == QStringLiteral("--exit-when-shown")) {
        QuitOnFirstPaint quit;
        window.installEventFilter(&quit);
        window.show();
        return app.exec();
    }
    if (args.size() < 2) {
        std::fprintf(
            stderr,
            "uso: analisis-tracks-snapshot [--escritorio|--mapa] TRACK IMAGEN.png [PUNTO]\n");
        return 2;
    }

    window.show();
    if (desktop) {
        window.openTrack(args[0]);
    } else {
        window.findChild<QLineEdit*>(QStringLiteral("txtArchivo"))->setText(args[0]);
        window.findChild<QToolButton*>(QStringLiteral("Command1"))->click();
    }
    // The map follows what the profiles show from when it opens.
    if (map) {
        window.showMap();
        window.mapWindow()->resize(880, 600);
    }
    auto* chart = window.findChild<at::ProfileChartWidget*>(QStringLiteral("MSChart1"));
    auto* speed = window.findChild<at::ProfileChartWidget*>(QStringLiteral("MSChart2"));
    if (args.size() > 2)
        emit chart->pointSelected32(1, args[2].toInt(), 1, 0);
    QApplication::processEvents();
    for (qsizetype i = 3; i < args.size(); ++i) {
        if (args[i] == QStringLiteral("--zoom") && i + 2 < args.size()) {
            for (at::ProfileChartWidget* c : {chart, speed})
                c->setShownRows(args[i + 1].toDouble(), args[i + 2].toDouble());
            i += 2;
        } else if (args[i] == QStringLiteral("--stretch") && i + 2 < args.size()) {
            chart->setStretch(std::pair(args[i + 1].toInt(), args[i + 2].toInt()));
            i += 2;
        } else if (args[i] == QStringLiteral("--eje") && i + 1 < args.size()) {
            // "puntos", "distancia" or "hora", on both profiles as the menu chooses it.
            chart->setHorizontalAxis(args[i + 1]);
            i += 1;
        } else if (args[i] == QStringLiteral("--serie") && i + 1 < args.size()) {
            speed->showSeries(args[i + 1]);
            i += 1;
        } else if (args[i] == QStringLiteral("--media")) {
            window.findChild<QAction*>(QStringLiteral("mnuVelocidadMedia"))->trigger();
        } else if (args[i] == QStringLiteral("--hover") && i + 1 < args.size()) {
            // The mouse over that row, halfway up the plot.
            const auto [low, high] = chart->shownRows();
            const QRectF plot = chart->chart()->plotArea();
            const double x = plot.left() + (chart->rowPosition(args[i + 1].toInt()) - low) /
                                               (high - low) * plot.width();
            chart->hoverAt(chart->viewportTransform().map(
                chart->chart()->mapToScene(QPointF(x, plot.center().y()))));
            i += 1;
        }
    }
    // Let the window lay out and paint before it is grabbed.
    for (int i = 0; i < 5; ++i) {
        QApplication::processEvents();
        QApplication::sendPostedEvents();
    }
    if (desktop) {
        // The dialog runs its own event loop; the picture is taken once the window manager has
        // framed both windows, and quitting ends the dialog's loop as well.
        bool saved = false;
        QTimer::singleShot(2000, [&] {
            saved = QGuiApplication::primaryScreen()->grabWindow(0).save(args[1]);
            QCoreApplication::exit();
        });
        window.findChild<QToolButton*>(QStringLiteral("cmdCargar"))->click();
        if (!saved) {
            std::fprintf(stderr, "no se pudo guardar %s\n", qPrintable(args[1]));
            return 1;
        }
        return 0;
    }
    QWidget* picture = &window;
    if (map) {
        at::MapWindow* shown = window.mapWindow();
        QElapsedTimer waited;
        waited.start();
        const auto arrived = [shown] {
            const auto tiles = shown->map().view().visibleTiles();
            return std::all_of(tiles.begin(), tiles.end(), [shown](const at::TileKey& key) {
                return shown->tiles().tile(key) != nullptr;
            });
        };
        while (!arrived() && waited.elapsed() < 15000)
            QApplication::processEvents(QEventLoop::AllEvents, 20);
        picture = shown;
    }
    if (!picture->grab().save(args[1])) {
        std::fprintf(stderr, "no se pudo guardar %s\n", qPrintable(args[1]));
        return 1;
    }
    return 0;
}
