#include "charts/web_mercator.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace at {
namespace {

constexpr double kDegrees = 180.0 / std::numbers::pi;

}  // namespace

bool onMercatorMap(const GeoPosition& position) {
    return std::abs(position.latitude) <= kMercatorLatitudeLimit &&
           std::abs(position.longitude) <= 180.0;
}

WorldPoint toWorld(const GeoPosition& position) {
    const double latitude = position.latitude / kDegrees;
    return {(position.longitude + 180.0) / 360.0,
            (1.0 - std::asinh(std::tan(latitude)) / std::numbers::pi) / 2.0};
}

GeoPosition toGeo(const WorldPoint& point) {
    return {std::atan(std::sinh(std::numbers::pi * (1.0 - 2.0 * point.y))) * kDegrees,
            point.x * 360.0 - 180.0};
}

double worldPixels(int zoom) {
    return std::ldexp(double(kTileSize), zoom);
}

double metresPerPixel(double latitude, int zoom) {
    return 2.0 * std::numbers::pi * kEarthRadiusMetres * std::cos(latitude / kDegrees) /
           worldPixels(zoom);
}

TileKey tileAt(const WorldPoint& point, int zoom) {
    const double tiles = std::ldexp(1.0, zoom);
    const auto index = [tiles](double fraction) {
        return static_cast<int>(std::clamp(std::floor(fraction * tiles), 0.0, tiles - 1.0));
    };
    return {zoom, index(point.x), index(point.y)};
}

}  // namespace at
