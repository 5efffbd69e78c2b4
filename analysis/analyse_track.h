#pragma once

#include "analysis/analysis_result.h"
#include "platform/number_locale.h"

namespace at {

// An analysis where there is no window to show it while it runs: the pass and the closing stage
// with nothing to write to, so that a track fails exactly where it would fail in the window. The
// command line and the benchmarks make their texts from the result.
AnalysisResult analyseTrack(const AnalysisInputs& inputs, const NumberLocale& locale);

}  // namespace at
