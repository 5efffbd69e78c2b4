#pragma once

#include <cstdint>

#include "analysis/analysis_view.h"
#include "analysis/track_summary.h"
#include "charts/profiles.h"
#include "platform/number_locale.h"

namespace at {

// Whole seconds from the first to the last point; 0 for a track without points.
std::int64_t elapsedSeconds(const TrackSummary& summary);

// The closing stage of an analysis: the figures with their units, the total time, the altitude
// axis, the values kept for the read-out, then the stop count and the two other durations.
void writeSummary(const TrackSummary& summary, AnalysisView& view, Profiles& profiles,
                  const NumberLocale& locale);

}  // namespace at
