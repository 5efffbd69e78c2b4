#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/date_time.h"
#include "platform/number_locale.h"

namespace at {

struct StopTotals {
    std::int16_t stopCount = 0;
    std::int32_t stopSeconds = 0;
};

// A gap between two consecutive samples longer than the threshold is a stop: it is counted,
// summed, and described by the returned stop-list entry. `kmBefore` is the distance after the
// point before the gap's first point. The 32768th stop is an overflow error.
std::optional<std::string> checkStop(DateTime previous, DateTime current, float kmBefore,
                                     std::int16_t stopGapSeconds, StopTotals& totals,
                                     const NumberLocale& locale);

// "4.24 (3'25'')": the km to two decimals, whole minutes (rounded down) and the remaining
// seconds, which keep the sign of the gap.
std::string stopEntryText(float kmBefore, std::int64_t gapSeconds, const NumberLocale& locale);

}  // namespace at
