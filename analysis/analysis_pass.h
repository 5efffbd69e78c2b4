#pragma once

#include "analysis/analysis_view.h"
#include "analysis/track_summary.h"
#include "platform/number_locale.h"

namespace at {

// One pass over the track file the view names: distance, altitudes, climb, speeds and stops,
// point by point, with one altitude and one speed row per point, then the summary band. The first
// failure ends it with a RuntimeError; what was written before stays (the stops found so far, the
// chart rows), the summary band keeps its earlier texts, and the file is closed.
TrackSummary runAnalysis(AnalysisView& view, const NumberLocale& locale);

}  // namespace at
