#pragma once

#include <cstdint>

#include "platform/date_time.h"

namespace at {

// Feet are the unit of a point's altitude.
constexpr double kMetresPerFoot = 0.3048;
// The altitude GPS software writes for a point it has no altitude for.
constexpr std::int16_t kNoAltitudeFeet = -777;

// One point of a track, as a point line of a track file carries it.
struct TrackPoint {
    // Millionths of a degree: decimal degrees brought to six decimals (a text without a "." or
    // with several keeps its digits as they stand).
    std::int32_t latitudeDigits = 0;
    std::int32_t longitudeDigits = 0;
    std::int16_t altitudeFeet = 0;
    // The time of day alone; the date of a sample is never read.
    DateTime timeOfDay = 0.0;
    // A point line always has its time; a GPX or TCX point may come without one (a route planned
    // in an app), and then its time of day is 0.
    bool hasTime = true;
};

}  // namespace at
