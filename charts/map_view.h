#pragma once

#include <vector>

#include "charts/web_mercator.h"

namespace at {

// A position in the map's window, in pixels from its top-left corner.
struct ScreenPoint {
    double x = 0.0;
    double y = 0.0;
};

// A rectangle of the map, as fractions of its side.
struct WorldRect {
    double left = 0.0;
    double top = 0.0;
    double right = 0.0;
    double bottom = 0.0;
};

// What the map window shows: the place at its centre, the zoom level and its size. Zoom levels
// are whole, so that every tile is drawn at its own size.
struct MapView {
    WorldPoint centre{0.5, 0.5};
    int zoom = 0;
    double width = 0.0;
    double height = 0.0;

    double scale() const { return worldPixels(zoom); }
    ScreenPoint toScreen(const WorldPoint& point) const;
    WorldPoint toWorld(const ScreenPoint& point) const;

    // The tiles the window shows, the one at the centre first and the rest outwards, so that
    // what the eye looks at arrives first.
    std::vector<TileKey> visibleTiles() const;

    // Moves the map by a number of pixels, as a drag does; the centre stays on the map.
    void panBy(double dx, double dy);
    // Changes the zoom level, keeping the place under `anchor` where it is.
    void zoomAround(const ScreenPoint& anchor, int newZoom);
    // The largest zoom level from `minZoom` to `maxZoom` at which `area` fits inside the window
    // less `margin` pixels on every side, centred on it.
    void fit(const WorldRect& area, int minZoom, int maxZoom, double margin);
};

}  // namespace at
