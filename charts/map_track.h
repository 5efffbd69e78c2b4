#pragma once

#include <array>
#include <optional>
#include <vector>

#include "charts/map_view.h"
#include "charts/web_mercator.h"

namespace at {

// A track as the map draws it: one place per chart row, from row 1, and for every zoom level the
// rows worth drawing. A position beyond the map (nearer a pole than 85.0511°) has no place; the
// line breaks there.
class MapTrack {
  public:
    // A row whose line breaks after it: the next row starts a new line.
    static constexpr int kBreak = 0;
    static constexpr int kDeepestZoom = 22;

    MapTrack() = default;
    explicit MapTrack(const std::vector<GeoPosition>& positions);

    int rowCount() const { return static_cast<int>(points_.size()); }
    // The place of `row`; none for a row beyond the map or beyond the track.
    std::optional<WorldPoint> at(int row) const;
    // The rectangle around every place; none without any.
    std::optional<WorldRect> bounds() const { return bounds_; }

    // The rows that draw the line at `zoom`, each line ended by kBreak: the line less the points
    // that would move it by less than half a pixel, so that 32,761 points draw as a few thousand
    // and every turn the eye can see stays.
    const std::vector<int>& outline(int zoom) const;

    // The row nearest `click` on screen (the lowest on a tie), if the line passes within `reach`
    // pixels of it.
    std::optional<int> rowNear(const MapView& view, const ScreenPoint& click, double reach) const;

  private:
    static constexpr double kOutlineTolerance = 0.5;
    static constexpr int kOutlinePiece = 512;

    // Marks in `kept` the rows from `first` to `last` that keep the line's shape within
    // `tolerance`, as a fraction of the map's side.
    void keepShape(int first, int last, double tolerance, std::vector<bool>& kept) const;

    std::vector<WorldPoint> points_;
    std::vector<bool> onMap_;
    std::optional<WorldRect> bounds_;
    mutable std::array<std::optional<std::vector<int>>, kDeepestZoom + 1> outlines_;
};

}  // namespace at
