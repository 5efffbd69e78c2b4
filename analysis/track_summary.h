#pragma once

#include <cstdint>
#include <optional>

#include "platform/date_time.h"

namespace at {

// The totals and extremes of one analysis, with the start values a track without points keeps.
struct TrackSummary {
    float distanceKm = 0.0f;  // summed in single precision, as it always was
    double lowestAltitude = 6000.0;
    double highestAltitude = 0.0;
    double accumulatedClimb = 0.0;
    std::int32_t discardedSamples = 0;
    double lowestSpeed = 1000.0;
    double highestSpeed = 0.0;
    std::int32_t stopCount = 0;  // 16-bit for a track file (PointNumbering)
    std::int32_t stopSeconds = 0;
    std::optional<DateTime> startTime;
    DateTime endTime = 0.0;
    // Every line read: the header, the point lines, and the blank line that ended the data.
    std::int32_t linesRead = 0;
};

}  // namespace at
