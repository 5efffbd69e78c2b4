#pragma once

#include <cstdint>
#include <optional>

namespace at {

// A point as the distance step takes it: its coordinates (millionths of a degree for six-decimal
// files) and how many millionths of a degree of longitude make a kilometre at its latitude,
// worked out once per point.
struct StepPoint {
    std::int32_t latitude = 0;
    std::int32_t longitude = 0;
    double longitudeUnitsPerKm = 0.0;
};

StepPoint stepPoint(std::int32_t latitude, std::int32_t longitude);

// The straight-line distance in km from `from` to `to` on a flat projection around `to`: the step
// the pass adds for each leg, and the measure of a standstill. None when it cannot be worked out:
// a coordinate difference beyond 32 bits, or a result that is no finite number.
std::optional<double> distanceStepKm(const StepPoint& from, const StepPoint& to);

// The failure of a step that cannot be worked out, as the pass reports it: the overflow of the
// coordinate difference, or a length that is no number.
[[noreturn]] void failDistanceStep(const StepPoint& from, const StepPoint& to);

}  // namespace at
