#pragma once

#include <QWidget>
#include <vector>

#include "charts/map_mark.h"
#include "charts/map_track.h"
#include "charts/tile_source.h"

namespace at {

class MapWidget;
class TileLoader;

// The "Mapa" window: the map of the track on show, over the tiles of the chosen source. It has
// its own title, "Mapa — <track>", and its own size; closing it only hides it.
class MapWindow final : public QWidget {
    Q_OBJECT

  public:
    // Tiles are kept on disk in `cacheFolder`; the sources are OpenStreetMap's and OpenTopoMap's,
    // or the one template of ANALISIS_TRACKS_TESELAS.
    explicit MapWindow(const QString& cacheFolder, QWidget* parent = nullptr);
    ~MapWindow() override;

    MapWidget& map() { return *map_; }
    TileLoader& tiles() { return *loader_; }

    // The track of an analysis, named in the title.
    void showTrack(const QString& trackName, MapTrack track, std::vector<MapMark> marks);

    const std::vector<TileSource>& sources() const { return sources_; }
    Q_INVOKABLE int sourceIndex() const { return source_; }
    Q_INVOKABLE void chooseSource(int index);

    static QString titleFor(const QString& trackName);
    // The user's cache folder for tiles.
    static QString cacheFolder();

  private:
    void showMenu(const QPoint& globalPosition);

    std::vector<TileSource> sources_;
    int source_ = 0;
    TileLoader* loader_ = nullptr;
    MapWidget* map_ = nullptr;
};

}  // namespace at
