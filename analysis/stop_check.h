#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/date_time.h"
#include "platform/number_locale.h"
#include "track/point_numbering.h"

namespace at {

// One stop of the list.
struct Stop {
    // The distance after the point before the gap's first point, as the list has always shown it.
    float kmBefore = 0.0f;
    std::int64_t gapSeconds = 0;
    // The chart row of the point where the stop began, the last before its gap.
    std::int32_t row = 0;
};

struct StopTotals {
    // The stops are counted in the width of the track's point numbers.
    PointNumbering numbering = PointNumbering::Bits16;
    std::int32_t stopCount = 0;
    std::int32_t stopSeconds = 0;
};

// A gap between two consecutive samples longer than the threshold is a stop: it is counted and
// summed, and returned without its row. A count beyond the numbering's width (the 32768th stop of
// a track file) is an overflow error.
std::optional<Stop> checkStop(DateTime previous, DateTime current, float kmBefore,
                              std::int16_t stopGapSeconds, StopTotals& totals);

// "4.24 (3'25'')": the km to two decimals, whole minutes (rounded down) and the remaining
// seconds, which keep the sign of the gap.
std::string stopEntryText(float kmBefore, std::int64_t gapSeconds, const NumberLocale& locale);
std::string stopEntryText(const Stop& stop, const NumberLocale& locale);

}  // namespace at
