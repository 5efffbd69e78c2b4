#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "analysis/point_details.h"
#include "platform/number_locale.h"
#include "platform/number_text.h"

// The texts the charts show beside the mouse: one point's values, or the figures of a stretch
// between two points. Each text is a few short lines.
namespace at {

// Point number, altitude (m), the slope when there is one (%), speed (km/h), time of day and the
// distance covered (km).
std::vector<std::string> pointReadout(const PointDetail& point, const NumberLocale& locale,
                                      std::optional<double> slopePercent = std::nullopt);

// The slope at `points[index]`, in percent: its altitude less that of the latest point at least
// 100 m of distance back, over the distance between them. None until the track has covered 100 m.
std::optional<double> slopePercent(std::span<const PointDetail> points, std::size_t index);

// A stretch from one point to a later one, worked out as the analysis works out a track: the
// difference of the distance and climb totals, the whole seconds between the two times, and the
// distance over that time.
struct Stretch {
    std::int32_t firstPoint = 0;
    std::int32_t lastPoint = 0;
    float distanceKm = 0.0f;
    double climbMetres = 0.0;
    std::int64_t seconds = 0;
    // None when the time does not move forward.
    bool hasMeanSpeed = false;
    double meanSpeedKmh = 0.0;
};
Stretch measureStretch(const PointDetail& from, const PointDetail& to);

// Points, distance, climb, time and mean speed, in the summary band's units and rounding.
std::vector<std::string> stretchReadout(const Stretch& stretch, const NumberLocale& locale);

}  // namespace at
