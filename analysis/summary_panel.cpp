#include "analysis/summary_panel.h"

#include "analysis/profiles.h"
#include "platform/checked.h"
#include "platform/number_text.h"
#include "platform/rounding.h"

namespace at {

std::int64_t elapsedSeconds(const TrackSummary& summary) {
    if (!summary.startTime)
        return 0;
    return secondsBetween(*summary.startTime, summary.endTime);
}

std::string summaryFigure(SummaryLabel label, const TrackSummary& s, const NumberLocale& locale) {
    const auto oneDecimal = [&](double value) {
        return formatDouble(roundHalfEven(value, 1), locale);
    };
    const auto elapsed = [&] { return toInt32Checked(elapsedSeconds(s)); };
    switch (label) {
        case SummaryLabel::Climb:
            return formatDouble(roundDown(s.accumulatedClimb), locale) + " mts";
        case SummaryLabel::DiscardedSamples:
            return formatInteger(s.discardedSamples);
        case SummaryLabel::Distance:
            return formatSingle(roundHalfEven(s.distanceKm, 1), locale) + " km";
        case SummaryLabel::LowestAltitude:
            return oneDecimal(s.lowestAltitude) + " mts";
        case SummaryLabel::HighestAltitude:
            return oneDecimal(s.highestAltitude) + " mts";
        case SummaryLabel::LowestSpeed:
            return oneDecimal(s.lowestSpeed) + " km/h";
        case SummaryLabel::HighestSpeed:
            return oneDecimal(s.highestSpeed) + " km/h";
        case SummaryLabel::TotalTime:
            return formatDuration(elapsed());
        case SummaryLabel::StopCount:
            return formatInteger(s.stopCount);
        case SummaryLabel::StopTime:
            return formatDuration(s.stopSeconds);
        case SummaryLabel::MovingTime:
            return formatDuration(sub32(elapsed(), s.stopSeconds));
    }
    return {};
}

namespace {

void showFigures(const AnalysisResult& result, AnalysisView& view, const NumberLocale& locale) {
    const TrackSummary& s = result.summary;
    const auto show = [&](SummaryLabel label) {
        view.setSummaryLabel(label, summaryFigure(label, s, locale));
    };
    for (const SummaryLabel label :
         {SummaryLabel::Climb, SummaryLabel::DiscardedSamples, SummaryLabel::Distance,
          SummaryLabel::LowestAltitude, SummaryLabel::HighestAltitude, SummaryLabel::LowestSpeed,
          SummaryLabel::HighestSpeed, SummaryLabel::TotalTime}) {
        show(label);
    }

    Profiles(view.altitudeChart(), view.speedChart())
        .fitAltitudeAxis(s.lowestAltitude, s.highestAltitude);

    // Track files of more than 32761 points end here with an overflow: the lines read, header
    // included, no longer fit the 16-bit value the read-out keeps.
    view.keepForReadout(numbered(result.numbering, s.linesRead), s.distanceKm);

    for (const SummaryLabel label :
         {SummaryLabel::StopCount, SummaryLabel::StopTime, SummaryLabel::MovingTime}) {
        show(label);
    }
}

}  // namespace

void writeSummary(const AnalysisResult& result, AnalysisView& view, const NumberLocale& locale) {
    try {
        showFigures(result, view, locale);
    } catch (RuntimeError& e) {
        // The totals can overflow too (the lines read, the seconds): the file still counts.
        e.withFile(result.inputs.trackPath);
        throw;
    }
}

}  // namespace at
