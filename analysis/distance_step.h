#pragma once

#include <cmath>
#include <cstdint>
#include <optional>

#include "platform/checked.h"

namespace at {

// A point as the distance step takes it: its coordinates (millionths of a degree for six-decimal
// files) and how many millionths of a degree of longitude make a kilometre at its latitude,
// worked out once per point.
struct StepPoint {
    std::int32_t latitude = 0;
    std::int32_t longitude = 0;
    double longitudeUnitsPerKm = 0.0;
};

// Six-decimal coordinates are millionths of a degree: these turn them into kilometres on a flat
// projection around the current point.
inline constexpr double kLatitudeUnitsPerKmSquared = 80780549.0;  // 8987.8², per km of latitude
inline constexpr double kLongitudeUnitsPerKmAtEquator = 9020.0;
inline constexpr double kUnitsPerRadian = 57295779.0;

inline StepPoint stepPoint(std::int32_t latitude, std::int32_t longitude) {
    const double phi = latitude / kUnitsPerRadian;
    return {latitude, longitude, kLongitudeUnitsPerKmAtEquator / std::cos(phi)};
}

// The straight-line distance in km from `from` to `to` on a flat projection around `to`: the step
// the pass adds for each leg, and the measure of a standstill. None when it cannot be worked out:
// a coordinate difference beyond 32 bits, or a result that is no finite number.
// Inline: the pass takes one for every leg and the standstill search one for most points.
inline std::optional<double> distanceStepKm(const StepPoint& from, const StepPoint& to) {
    const std::optional<std::int32_t> latitudeDifference = sub32IfFits(to.latitude, from.latitude);
    const std::optional<std::int32_t> longitudeDifference =
        sub32IfFits(to.longitude, from.longitude);
    if (!latitudeDifference || !longitudeDifference)
        return std::nullopt;
    const double dLat = *latitudeDifference;
    const double a = dLat * dLat / kLatitudeUnitsPerKmSquared;
    const double dLon = *longitudeDifference;
    const double k = to.longitudeUnitsPerKm;
    const double b = (dLon / k) * (dLon / k);
    const double step = std::sqrt(a + b);
    if (!std::isfinite(step))
        return std::nullopt;
    return step;
}

// The failure of a step that cannot be worked out, as the pass reports it: the overflow of the
// coordinate difference, or a length that is no number.
[[noreturn]] void failDistanceStep(const StepPoint& from, const StepPoint& to);

}  // namespace at
