#pragma once

#include <ostream>
#include <string>

#include "analysis/analysis_settings.h"
#include "platform/number_locale.h"

namespace at {

// Analyses `track` as the window does, with the window's three threshold texts, and writes the
// one-page PDF report the window exports to `pdfPath`. Returns 0, or 1 with the reason on `err`.
int runReport(const std::string& track, const std::string& pdfPath,
              const ThresholdTexts& thresholds, std::ostream& err, const NumberLocale& locale);

}  // namespace at
