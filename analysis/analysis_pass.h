#pragma once

#include "analysis/analysis_port.h"
#include "analysis/analysis_result.h"
#include "platform/number_locale.h"

namespace at {

// One pass over the track the inputs name: distance, altitudes, climb, speeds and stops, point by
// point, writing the stop list and one altitude and one speed row per point to the port as it
// goes, and returning all it found. The thresholds are read with the locale's decimal separator,
// after the stop list is emptied. The first failure ends it with a RuntimeError; what was written
// to the port stays (the stops found so far, the chart rows), and the file is closed.
AnalysisResult runAnalysis(const AnalysisInputs& inputs, const NumberLocale& locale,
                           AnalysisPort& port);

}  // namespace at
