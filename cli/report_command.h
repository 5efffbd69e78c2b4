#pragma once

#include <ostream>
#include <string>

#include "analysis/analysis_settings.h"
#include "platform/number_locale.h"

namespace at {

// Analyses track `trackNumber` of `track` as the window does, with the window's three threshold
// texts, and writes the PDF report the window exports to `pdfPath`. Returns 0, or 1 with the
// reason on `err`.
int runReport(const std::string& track, int trackNumber, const std::string& pdfPath,
              const ThresholdTexts& thresholds, std::ostream& err, const NumberLocale& locale);

}  // namespace at
