#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "analysis/point_details.h"
#include "platform/number_locale.h"

// What the horizontal axis of a profile measures, and where each row lies along it. Every series
// a profile may draw and every mark it may carry (the chosen point, stops, a stretch) is placed by
// its row through this one mapping, so a new series or a new kind of mark needs nothing of its own.
namespace at {

enum class AxisMode {
    Points,    // row numbers, as the profiles have always been drawn
    Distance,  // the km covered up to the point, as the analysis summed it
    Time,      // the hour of the day, continuing past 24 after midnight
};

// "puntos", "distancia", "hora": the names the window's menu shows.
std::string_view axisModeName(AxisMode mode);
std::optional<AxisMode> axisModeNamed(std::string_view name);

// Whether the points' times move at all: a time axis needs them to.
bool hasMovingTime(std::span<const PointDetail> points);

class ProfileAxis {
  public:
    // Rows 1 to `rowCount` at their own numbers.
    explicit ProfileAxis(int rowCount = 0);
    // Rows 1 to `rowCount` along `mode`: by distance or time, row r lies where point r of `points`
    // does, and rows beyond the points (a track that ended early) have no place.
    ProfileAxis(AxisMode mode, std::span<const PointDetail> points, int rowCount);

    AxisMode mode() const { return mode_; }
    // Rows 1 to placedRows() have a place.
    int placedRows() const { return placedRows_; }
    double positionOf(int row) const;

    // The whole axis: first to last place, or a range around them when they all coincide.
    std::pair<double, double> extent() const;
    // The narrowest range a zoom may show: about ten rows.
    double narrowestRange() const;

    // The row whose place is nearest `x`; of rows that share that place, the lowest. None while
    // no row has a place.
    std::optional<int> nearestRow(double x) const;
    // The rows (0-based, `end` not included) to draw for the range `low` to `high`, with one row
    // beyond each edge so that the line leaves the plot.
    std::pair<std::size_t, std::size_t> rowsToDraw(double low, double high) const;

    // The places of rows 1 to placedRows() by distance or time; empty for row numbers.
    std::span<const double> positions() const { return positions_; }

  private:
    AxisMode mode_ = AxisMode::Points;
    int placedRows_ = 0;
    std::vector<double> positions_;
    // Distance never goes back; a time may, in a damaged file.
    bool ascending_ = true;
};

// A labelled tick of a distance or time axis.
struct AxisTick {
    double position;
    std::string label;
};
// The ticks from `low` to `high`, about five of them: km at 1, 2 or 5 times a power of ten with
// the locale's decimal separator, as "2,5 km"; times at whole seconds, minutes or hours as "25:30"
// (hours go on past midnight) or "25:30:15" when closer than a minute.
std::vector<AxisTick> axisTicks(AxisMode mode, double low, double high, const NumberLocale& locale);

}  // namespace at
