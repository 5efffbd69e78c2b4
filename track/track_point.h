#pragma once

#include <cstdint>

#include "platform/date_time.h"

namespace at {

// One point line of a track file.
struct TrackPoint {
    // The coordinate texts with every "." removed: millionths of a degree for the six decimals
    // GPS receivers write.
    std::int32_t latitudeDigits = 0;
    std::int32_t longitudeDigits = 0;
    std::int16_t altitudeFeet = 0;
    // The time of day alone; the date of a sample is never read.
    DateTime timeOfDay = 0.0;
};

}  // namespace at
