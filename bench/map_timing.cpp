// Timing of the map: a repaint of the "Mapa" window's map (1024 × 768, every tile at hand) with
// the largest track the window takes, 32,761 points, and 33 stop pins, fitted and zoomed in; a
// pan and a zoom step with their repaint; and the tiles kept in memory while the map is panned
// over far more tiles than that memory holds, fetched from a local file.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>
#include <cmath>

#include "app/tile_loader.h"
#include "charts/map_tiles.h"
#include "charts/map_widget.h"

namespace {

// Every tile at hand, as once a place has been looked at: the repaint draws them all.
class AllTiles final : public at::MapTiles {
  public:
    AllTiles() : tile_(256, 256, QImage::Format_ARGB32_Premultiplied) {
        tile_.fill(QColor(236, 232, 214));
        QPainter painter(&tile_);
        painter.setPen(QColor(200, 190, 160));
        for (int i = 0; i < 256; i += 32)
            painter.drawLine(0, i, 255, i + 40);
    }
    void showTiles(const std::vector<at::TileKey>& visible) override { asked += visible.size(); }
    const QImage* tile(const at::TileKey&) const override { return &tile_; }
    std::size_t asked = 0;

  private:
    QImage tile_;
};

// A day's walk sampled every second: about 1.3 m a step, winding, 32,761 points; a stop every
// 990 points.
at::MapTrack largestTrack(std::vector<at::MapMark>& stops) {
    std::vector<at::GeoPosition> places;
    double latitude = 40.5, longitude = -3.9, heading = 0.3;
    for (int i = 0; i < 32761; ++i) {
        heading += 0.02 * std::sin(i / 300.0) + 0.015 * std::sin(i * 0.37);
        latitude += 1.2e-5 * std::cos(heading);
        longitude += 1.6e-5 * std::sin(heading);
        places.push_back({latitude, longitude});
        if (i % 990 == 500 && stops.size() < 33) {
            stops.push_back({at::MapMark::Kind::Stop, i + 1, std::to_string(stops.size() + 1),
                             "4,24 (3'25'')"});
        }
    }
    return at::MapTrack(places);
}

struct Map {
    AllTiles tiles;
    at::MapWidget widget;
    Map() {
        std::vector<at::MapMark> stops;
        at::MapTrack track = largestTrack(stops);
        widget.resize(1024, 768);
        widget.setTiles(&tiles);
        widget.setAttribution(QStringLiteral("© OpenStreetMap contributors"));
        widget.setTrack(std::move(track), std::move(stops));
        widget.show();
        QApplication::processEvents();
        widget.setChosenRow(16000);
        widget.setStretch(9000, 12000);
    }
};

void Repaint(benchmark::State& state) {
    Map map;
    for (int i = 0; i < state.range(0); ++i)
        map.widget.zoomIn();
    for (auto _ : state)
        map.widget.repaint();
    state.counters["zoom"] = map.widget.zoomLevel();
    state.counters["stops"] = static_cast<double>(map.widget.marks().size());
    state.counters["points_drawn"] =
        static_cast<double>(map.widget.track().outline(map.widget.zoomLevel()).size());
}
BENCHMARK(Repaint)->Arg(0)->Arg(2)->Arg(5)->Unit(benchmark::kMillisecond)->UseRealTime();

// The outline of a zoom level the map has not shown yet, which its first repaint works out.
void OutlineOfANewZoom(benchmark::State& state) {
    std::vector<at::MapMark> stops;
    const at::MapTrack track = largestTrack(stops);
    for (auto _ : state) {
        at::MapTrack fresh = track;
        benchmark::DoNotOptimize(fresh.outline(static_cast<int>(state.range(0))).size());
    }
}
BENCHMARK(OutlineOfANewZoom)->Arg(13)->Arg(18)->Unit(benchmark::kMillisecond)->UseRealTime();

// A drag of 12 px, as a mouse sends them, and the repaint it asks for.
void PanStep(benchmark::State& state) {
    Map map;
    map.widget.zoomIn();
    int step = 0;
    for (auto _ : state) {
        const double dx = (step++ / 40) % 2 == 0 ? 12.0 : -12.0;
        const QPointF from(500, 400);
        QMouseEvent press(QEvent::MouseButtonPress, from, from, Qt::LeftButton, Qt::LeftButton, {});
        QMouseEvent move(QEvent::MouseMove, from + QPointF(dx, 5), from + QPointF(dx, 5),
                         Qt::NoButton, Qt::LeftButton, {});
        QMouseEvent release(QEvent::MouseButtonRelease, from + QPointF(dx, 5),
                            from + QPointF(dx, 5), Qt::LeftButton, Qt::NoButton, {});
        QApplication::sendEvent(&map.widget, &press);
        QApplication::sendEvent(&map.widget, &move);
        QApplication::sendEvent(&map.widget, &release);
        map.widget.repaint();
    }
}
BENCHMARK(PanStep)->Unit(benchmark::kMillisecond)->UseRealTime();

// One notch of the wheel in, one out, each with its repaint.
void ZoomStep(benchmark::State& state) {
    Map map;
    for (auto _ : state) {
        map.widget.zoomIn();
        map.widget.repaint();
        map.widget.zoomOut();
        map.widget.repaint();
    }
    state.SetItemsProcessed(2 * state.iterations());
}
BENCHMARK(ZoomStep)->Unit(benchmark::kMillisecond)->UseRealTime();

// The map panned east over 609 tiles of one zoom level, a window's 4 × 3 at a time, each fetched
// and decoded (152 MB of pictures): the tiles kept in memory stay within their bound.
void TileMemoryWhilePanning(benchmark::State& state) {
    QTemporaryDir folder;
    QImage picture(256, 256, QImage::Format_RGB32);
    picture.fill(QColor(230, 228, 210));
    const QString png = folder.filePath(QStringLiteral("tesela.png"));
    picture.save(png);
    double peakBytes = 0;
    std::size_t fetched = 0;
    for (auto _ : state) {
        at::TileLoader loader(folder.filePath(QStringLiteral("cache")));
        // One local picture for every tile: the query carries the tile's number.
        loader.setSource({"local", "file://" + png.toStdString() + "?{z}/{x}/{y}", 0, 19, ""});
        for (int column = 0; column < 200; ++column) {
            std::vector<at::TileKey> view;
            for (int x = column; x < column + 4; ++x) {
                for (int y = 0; y < 3; ++y)
                    view.push_back({14, 8000 + x, 6000 + y});
            }
            loader.showTiles(view);
            QElapsedTimer waited;
            waited.start();
            while (!std::all_of(view.begin(), view.end(),
                                [&](const at::TileKey& k) { return loader.tile(k) != nullptr; })) {
                if (waited.elapsed() > 5000) {
                    state.SkipWithError("a local tile did not arrive");
                    return;
                }
                QApplication::processEvents(QEventLoop::AllEvents, 5);
            }
            peakBytes = std::max(peakBytes, static_cast<double>(loader.memoryBytes()));
        }
        fetched += (200 + 3) * 3;
    }
    if (peakBytes > at::TileLoader::kMemoryBytes)
        state.SkipWithError("the tiles in memory passed their bound");
    state.counters["peak_tile_memory_MB"] = peakBytes / (1024.0 * 1024.0);
    state.counters["tiles_fetched"] = static_cast<double>(fetched) / state.iterations();
}
BENCHMARK(TileMemoryWhilePanning)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace
