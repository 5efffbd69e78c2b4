#include "analysis/stop_check.h"

#include "platform/checked.h"
#include "platform/number_text.h"
#include "platform/rounding.h"

namespace at {

std::string stopEntryText(float kmBefore, std::int64_t gapSeconds, const NumberLocale& locale) {
    std::int64_t minutes = gapSeconds / 60;
    if (gapSeconds % 60 != 0 && gapSeconds < 0)
        --minutes;  // rounded down, not toward zero
    std::string entry = formatSingle(roundHalfEven(kmBefore, 2), locale);
    entry += " (";
    entry += formatInteger(minutes);
    entry += "'";
    entry += formatInteger(gapSeconds % 60);
    entry += "'')";
    return entry;
}

std::string stopEntryText(const Stop& stop, const NumberLocale& locale) {
    return stopEntryText(stop.kmBefore, stop.gapSeconds, locale);
}

std::optional<Stop> checkStop(DateTime previous, DateTime current, float kmBefore,
                              std::int16_t stopGapSeconds, StopTotals& totals) {
    const std::int64_t gap = secondsBetween(previous, current);
    if (gap <= stopGapSeconds)
        return std::nullopt;
    totals.stopCount = numbered(totals.numbering, std::int64_t{totals.stopCount} + 1);
    totals.stopSeconds = toInt32Checked(std::int64_t{totals.stopSeconds} + gap);
    return Stop{kmBefore, gap, 0};
}

}  // namespace at
