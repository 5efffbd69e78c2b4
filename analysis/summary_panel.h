#pragma once

#include <cstdint>
#include <string>

#include "analysis/analysis_result.h"
#include "analysis/analysis_view.h"
#include "platform/number_locale.h"

namespace at {

// Whole seconds from the first to the last point; 0 for a track without points.
std::int64_t elapsedSeconds(const TrackSummary& summary);

// The text of one figure of the summary band: "523 mts", "12.2 km", "01h 02' 05''". The one place
// these texts are made, for the window and every text made from a result.
std::string summaryFigure(SummaryLabel label, const TrackSummary& summary,
                          const NumberLocale& locale);

// The closing stage of an analysis: the figures with their units, the total time, the altitude
// axis, the values kept for the read-out, then the stop count and the two other durations. A
// track whose lines read do not fit the kept value (16 bits for a track file) fails between the
// two groups.
void writeSummary(const AnalysisResult& result, AnalysisView& view, const NumberLocale& locale);

}  // namespace at
