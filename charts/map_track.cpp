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
    const double pixels = worldPixels(zoom);
    constexpr double kTolerance = 0.5;
    std::vector<int> rows;
    int lastKept = kBreak;  // the row last kept in the current line
    int lastSeen = kBreak;  // the row last seen in it, kept or not
    const auto endLine = [&] {
        if (lastSeen != kBreak && lastSeen != lastKept)
            rows.push_back(lastSeen);
        if (lastKept != kBreak)
            rows.push_back(kBreak);
        lastKept = lastSeen = kBreak;
    };
    for (int row = 1; row <= rowCount(); ++row) {
        const auto i = static_cast<std::size_t>(row - 1);
        if (!onMap_[i]) {
            endLine();
            continue;
        }
        lastSeen = row;
        if (lastKept != kBreak) {
            const WorldPoint& kept = points_[static_cast<std::size_t>(lastKept - 1)];
            const double dx = (points_[i].x - kept.x) * pixels;
            const double dy = (points_[i].y - kept.y) * pixels;
            if (dx * dx + dy * dy < kTolerance * kTolerance)
                continue;
        }
        rows.push_back(row);
        lastKept = row;
    }
    endLine();
    cached = std::move(rows);
    return *cached;
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
