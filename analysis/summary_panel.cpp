#include "analysis/summary_panel.h"

#include "platform/checked.h"
#include "platform/number_text.h"
#include "platform/rounding.h"

namespace at {

std::int64_t elapsedSeconds(const TrackSummary& summary) {
    if (!summary.startTime)
        return 0;
    return secondsBetween(*summary.startTime, summary.endTime);
}

void writeSummary(const TrackSummary& s, AnalysisView& view, Profiles& profiles,
                  const NumberLocale& locale) {
    const auto oneDecimal = [&](double value) {
        return formatDouble(roundHalfEven(value, 1), locale);
    };

    view.setSummaryLabel(SummaryLabel::Climb,
                         formatDouble(roundDown(s.accumulatedClimb), locale) + " mts");
    view.setSummaryLabel(SummaryLabel::DiscardedSamples, formatInteger(s.discardedSamples));
    view.setSummaryLabel(SummaryLabel::Distance,
                         formatSingle(roundHalfEven(s.distanceKm, 1), locale) + " km");
    view.setSummaryLabel(SummaryLabel::LowestAltitude, oneDecimal(s.lowestAltitude) + " mts");
    view.setSummaryLabel(SummaryLabel::HighestAltitude, oneDecimal(s.highestAltitude) + " mts");
    view.setSummaryLabel(SummaryLabel::LowestSpeed, oneDecimal(s.lowestSpeed) + " km/h");
    view.setSummaryLabel(SummaryLabel::HighestSpeed, oneDecimal(s.highestSpeed) + " km/h");

    const std::int32_t elapsed = toInt32Checked(elapsedSeconds(s));
    view.setSummaryLabel(SummaryLabel::TotalTime, formatDuration(elapsed));

    profiles.fitAltitudeAxis(s.lowestAltitude, s.highestAltitude);

    // Tracks of more than 32761 points end here with an overflow: the lines read, header
    // included, no longer fit the 16-bit value the read-out keeps.
    view.keepForReadout(toInt16Checked(s.linesRead), s.distanceKm);

    view.setSummaryLabel(SummaryLabel::StopCount, formatInteger(s.stopCount));
    view.setSummaryLabel(SummaryLabel::StopTime, formatDuration(s.stopSeconds));
    view.setSummaryLabel(SummaryLabel::MovingTime, formatDuration(sub32(elapsed, s.stopSeconds)));
}

}  // namespace at
