#include "charts/map_view.h"

#include <algorithm>
#include <cmath>

namespace at {

ScreenPoint MapView::toScreen(const WorldPoint& point) const {
    const double s = scale();
    return {(point.x - centre.x) * s + width / 2.0, (point.y - centre.y) * s + height / 2.0};
}

WorldPoint MapView::toWorld(const ScreenPoint& point) const {
    const double s = scale();
    return {centre.x + (point.x - width / 2.0) / s, centre.y + (point.y - height / 2.0) / s};
}

std::vector<TileKey> MapView::visibleTiles() const {
    std::vector<TileKey> keys;
    const WorldPoint topLeft = toWorld({0.0, 0.0});
    const WorldPoint bottomRight = toWorld({width, height});
    if (width <= 0.0 || height <= 0.0 || bottomRight.x <= 0.0 || topLeft.x >= 1.0 ||
        bottomRight.y <= 0.0 || topLeft.y >= 1.0) {
        return keys;
    }
    // Whole tiles, clamped to the map: nothing is asked for beyond its edges.
    const double tiles = std::ldexp(1.0, zoom);
    const auto first = [tiles](double fraction) {
        return static_cast<int>(std::clamp(std::floor(fraction * tiles), 0.0, tiles - 1.0));
    };
    const auto last = [tiles](double fraction) {
        return static_cast<int>(std::clamp(std::ceil(fraction * tiles) - 1.0, 0.0, tiles - 1.0));
    };
    for (int y = first(topLeft.y); y <= last(bottomRight.y); ++y) {
        for (int x = first(topLeft.x); x <= last(bottomRight.x); ++x)
            keys.push_back({zoom, x, y});
    }
    const double cx = centre.x * tiles - 0.5, cy = centre.y * tiles - 0.5;
    const auto distance = [cx, cy](const TileKey& k) {
        return (k.x - cx) * (k.x - cx) + (k.y - cy) * (k.y - cy);
    };
    std::stable_sort(keys.begin(), keys.end(),
                     [&](const TileKey& a, const TileKey& b) { return distance(a) < distance(b); });
    return keys;
}

void MapView::panBy(double dx, double dy) {
    const double s = scale();
    centre.x = std::clamp(centre.x - dx / s, 0.0, 1.0);
    centre.y = std::clamp(centre.y - dy / s, 0.0, 1.0);
}

void MapView::zoomAround(const ScreenPoint& anchor, int newZoom) {
    const WorldPoint held = toWorld(anchor);
    zoom = newZoom;
    const double s = scale();
    centre.x = std::clamp(held.x - (anchor.x - width / 2.0) / s, 0.0, 1.0);
    centre.y = std::clamp(held.y - (anchor.y - height / 2.0) / s, 0.0, 1.0);
}

void MapView::fit(const WorldRect& area, int minZoom, int maxZoom, double margin) {
    centre = {(area.left + area.right) / 2.0, (area.top + area.bottom) / 2.0};
    const double roomX = std::max(1.0, width - 2.0 * margin);
    const double roomY = std::max(1.0, height - 2.0 * margin);
    zoom = minZoom;
    for (int z = maxZoom; z > minZoom; --z) {
        const double s = worldPixels(z);
        if ((area.right - area.left) * s <= roomX && (area.bottom - area.top) * s <= roomY) {
            zoom = z;
            break;
        }
    }
}

}  // namespace at
