#pragma once

#include <compare>

// Web Mercator as slippy-map tile servers cut the world: a square of 256 × 2^zoom pixels whose
// top edge lies at 85.0511° N and bottom edge at 85.0511° S, cut into 256-pixel tiles numbered
// from the top-left corner.
namespace at {

inline constexpr int kTileSize = 256;
// Where the square ends; a position nearer a pole has no place on the map and is not drawn.
inline constexpr double kMercatorLatitudeLimit = 85.0511;
// The sphere the tile servers project, WGS 84's equatorial radius.
inline constexpr double kEarthRadiusMetres = 6378137.0;

struct GeoPosition {
    double latitude = 0.0;   // degrees, north positive
    double longitude = 0.0;  // degrees, east positive
};

// A place on the map as a fraction of its width and height: x from 180° W eastwards, y from the
// top edge southwards, both 0 to 1.
struct WorldPoint {
    double x = 0.0;
    double y = 0.0;
};

struct TileKey {
    int zoom = 0;
    int x = 0;
    int y = 0;
    friend auto operator<=>(const TileKey&, const TileKey&) = default;
};

// Within ±85.0511° of latitude and ±180° of longitude.
bool onMercatorMap(const GeoPosition& position);
WorldPoint toWorld(const GeoPosition& position);
GeoPosition toGeo(const WorldPoint& point);

// The map's side in pixels at `zoom`.
double worldPixels(int zoom);
// The ground a pixel covers at `latitude`, in metres.
double metresPerPixel(double latitude, int zoom);
// The tile holding `point`; a point on the right or bottom edge belongs to the last tile.
TileKey tileAt(const WorldPoint& point, int zoom);

}  // namespace at
