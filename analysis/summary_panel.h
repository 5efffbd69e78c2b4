#pragma once

#include <cstdint>
#include <string>

#include "analysis/analysis_result.h"
#include "analysis/analysis_view.h"
#include "platform/number_locale.h"

namespace at {

// Whole seconds from the first to the last point; 0 for a track without points.
std::int64_t elapsedSeconds(const TrackSummary& summary);

// What a figure the track lacks shows, alone, without a unit.
inline constexpr const char* kAbsentFigure = "—";

// Whether the track has the figure: without times there are no speeds, durations or stops,
// without altitudes no climb and no altitude extremes.
bool hasFigure(SummaryLabel label, const TrackSummary& summary);

// The text of one figure of the summary band: "523 mts", "12.2 km", "01h 02' 05''", or "—" for a
// figure the track lacks. The one place these texts are made, for the window and every text made
// from a result.
std::string summaryFigure(SummaryLabel label, const TrackSummary& summary,
                          const NumberLocale& locale);

// "Saltos del GPS sin distancia: 2", beside the speeds; empty for a track without times, where
// none are looked for.
std::string gpsJumpsNote(const TrackSummary& summary);
// "3 puntos sin hora", beside the track's path; empty when every point has its time.
std::string pointsWithoutTimeNote(const TrackSummary& summary);

// The closing stage of an analysis: the note on the track's path, the figures with their units
// and the speeds' note, the total time, the altitude axis (or the hint of a profile the track has
// no values for), the values kept for the read-out, then the stop count and the two other
// durations. A track whose lines read do not fit the kept value (16 bits for a track file) fails
// between the two groups.
void writeSummary(const AnalysisResult& result, AnalysisView& view, const NumberLocale& locale);

}  // namespace at
