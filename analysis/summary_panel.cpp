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

bool hasFigure(SummaryLabel label, const TrackSummary& summary) {
    switch (label) {
        case SummaryLabel::Climb:
        case SummaryLabel::LowestAltitude:
        case SummaryLabel::HighestAltitude:
            return summary.hasAltitudes;
        case SummaryLabel::LowestSpeed:
        case SummaryLabel::HighestSpeed:
        case SummaryLabel::TotalTime:
        case SummaryLabel::StopCount:
        case SummaryLabel::StopTime:
        case SummaryLabel::MovingTime:
            return summary.hasTimes;
        case SummaryLabel::DiscardedSamples:
        case SummaryLabel::Distance:
            return true;
    }
    return true;
}

std::string summaryFigure(SummaryLabel label, const TrackSummary& s, const NumberLocale& locale) {
    if (!hasFigure(label, s))
        return kAbsentFigure;
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

std::string gpsJumpsNote(const TrackSummary& summary) {
    if (!summary.hasTimes)
        return {};
    return "Saltos del GPS sin distancia: " + formatInteger(summary.gpsJumps);
}

std::string pointsWithoutTimeNote(const TrackSummary& summary) {
    if (summary.pointsWithoutTime == 0)
        return {};
    return formatInteger(summary.pointsWithoutTime) + " puntos sin hora";
}

namespace {

void showFigures(const AnalysisResult& result, AnalysisView& view, const NumberLocale& locale) {
    const TrackSummary& s = result.summary;
    const auto show = [&](SummaryLabel label) {
        view.setSummaryLabel(label, summaryFigure(label, s, locale));
    };
    view.setPathToolTip(pointsWithoutTimeNote(s));
    for (const SummaryLabel label :
         {SummaryLabel::Climb, SummaryLabel::DiscardedSamples, SummaryLabel::Distance,
          SummaryLabel::LowestAltitude, SummaryLabel::HighestAltitude, SummaryLabel::LowestSpeed,
          SummaryLabel::HighestSpeed}) {
        show(label);
    }
    for (const SummaryLabel label : {SummaryLabel::LowestSpeed, SummaryLabel::HighestSpeed})
        view.setSummaryToolTip(label, gpsJumpsNote(s));
    show(SummaryLabel::TotalTime);

    Profiles profiles(view.altitudeChart(), view.speedChart());
    if (s.hasAltitudes) {
        profiles.fitAltitudeAxis(s.lowestAltitude, s.highestAltitude);
    } else {
        profiles.showNoAltitudes();
    }
    if (!s.hasTimes)
        profiles.showNoTimes();

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
