#pragma once

#include <cstdint>

namespace at {

// A date/time value counts days as a double; a time of day is the fraction of one day.
using DateTime = double;

constexpr double kSecondsPerDay = 86400.0;
// Days from 1970-01-01 back to 1899-12-30, where date/time values (and the day count of point
// lines) start.
constexpr std::int64_t kDayCountOfUnixEpoch = 25569;

inline DateTime timeOfDayFromSeconds(std::int64_t seconds) {
    return static_cast<double>(seconds) / kSecondsPerDay;
}

// Whole seconds from `from` to `to`: each value is first turned into whole seconds (nearest,
// ties to even), then they are subtracted, so times read from a file differ exactly.
std::int64_t secondsBetween(DateTime from, DateTime to);

}  // namespace at
