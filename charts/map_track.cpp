#include "charts/map_track.h"

#include <algorithm>
#include <cmath>

namespace at {
namespace {

double squaredDistance(const ScreenPoint& a, const ScreenPoint& b) {
    return (a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y);
}

// The squared distance from `p` to the segment from `a` to `b`.
double squaredDistanceToSegment(const ScreenPoint& p, const ScreenPoint& a, const ScreenPoint& b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length = dx * dx + dy * dy;
    double t = length > 0.0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return squaredDistance(p, {a.x + t * dx, a.y + t * dy});
}

}  // namespace

MapTrack::MapTrack(const std::vector<GeoPosition>& positions) {
    points_.reserve(positions.size());
    onMap_.reserve(positions.size());
    for (const GeoPosition& position : positions) {
        const bool drawn = onMercatorMap(position);
        const WorldPoint point = drawn ? toWorld(position) : WorldPoint{};
        points_.push_back(point);
        onMap_.push_back(drawn);
        if (!drawn)
            continue;
        if (!bounds_) {
            bounds_ = WorldRect{point.x, point.y, point.x, point.y};
        } else {
            bounds_->left = std::min(bounds_->left, point.x);
            bounds_->right = std::max(bounds_->right, point.x);
            bounds_->top = std::min(bounds_->top, point.y);
            bounds_->bottom = std::max(bounds_->bottom, point.y);
        }
    }
}

std::optional<WorldPoint> MapTrack::at(int row) const {
    if (row < 1 || row > rowCount() || !onMap_[static_cast<std::size_t>(row - 1)])
        return std::nullopt;
    return points_[static_cast<std::size_t>(row - 1)];
}

const std::vector<int>& MapTrack::outline(int zoom) const {
    zoom = std::clamp(zoom, 0, kDeepestZoom);
    auto& cached = outlines_[static_cast<std::size_t>(zoom)];
    if (cached)
        return *cached;
    std::vector<int> rows;
    const double tolerance = kOutlineTolerance / worldPixels(zoom);
    std::vector<bool> kept(points_.size(), false);
    int first = 0;
    for (int row = 1; row <= rowCount() + 1; ++row) {
        const bool onMap = row <= rowCount() && onMap_[static_cast<std::size_t>(row - 1)];
        if (onMap && first == 0)
            first = row;
        if (onMap || first == 0)
            continue;
        // The line from `first` to the row before this one, thinned in pieces of a bounded
        // number of points, so that no track, however it winds, thins slowly.
        for (int from = first; from < row - 1; from += kOutlinePiece)
            keepShape(from, std::min(from + kOutlinePiece, row - 1), tolerance, kept);
        kept[static_cast<std::size_t>(first - 1)] = true;
        for (int r = first; r < row; ++r) {
            if (kept[static_cast<std::size_t>(r - 1)])
                rows.push_back(r);
        }
        rows.push_back(kBreak);
        first = 0;
    }
    cached = std::move(rows);
    return *cached;
}

void MapTrack::keepShape(int first, int last, double tolerance, std::vector<bool>& kept) const {
    // Douglas and Peucker's thinning: the point farthest from the chord is kept while it lies
    // beyond the tolerance, and both halves are thinned the same way.
    const auto at = [this](int row) {
        const WorldPoint& p = points_[static_cast<std::size_t>(row - 1)];
        return ScreenPoint{p.x, p.y};
    };
    kept[static_cast<std::size_t>(first - 1)] = true;
    kept[static_cast<std::size_t>(last - 1)] = true;
    std::vector<std::pair<int, int>> pending{{first, last}};
    while (!pending.empty()) {
        const auto [a, b] = pending.back();
        pending.pop_back();
        double farthest = tolerance * tolerance;
        int split = 0;
        for (int r = a + 1; r < b; ++r) {
            const double distance = squaredDistanceToSegment(at(r), at(a), at(b));
            if (distance > farthest) {
                farthest = distance;
                split = r;
            }
        }
        if (split == 0)
            continue;
        kept[static_cast<std::size_t>(split - 1)] = true;
        pending.push_back({a, split});
        pending.push_back({split, b});
    }
}

std::optional<int> MapTrack::rowNear(const MapView& view, const ScreenPoint& click,
                                     double reach) const {
    std::optional<int> nearest;
    double nearestDistance = 0.0;
    bool lineWithinReach = false;
    bool linePassing = false;  // whether `previous` starts a segment to this point
    ScreenPoint previous;
    for (int row = 1; row <= rowCount(); ++row) {
        const auto i = static_cast<std::size_t>(row - 1);
        if (!onMap_[i]) {
            linePassing = false;
            continue;
        }
        const ScreenPoint here = view.toScreen(points_[i]);
        const double distance = squaredDistance(here, click);
        if (!nearest || distance < nearestDistance) {
            nearest = row;
            nearestDistance = distance;
        }
        const double toLine =
            linePassing ? squaredDistanceToSegment(click, previous, here) : distance;
        lineWithinReach = lineWithinReach || toLine <= reach * reach;
        previous = here;
        linePassing = true;
    }
    if (!lineWithinReach)
        return std::nullopt;
    return nearest;
}

}  // namespace at
