#pragma once

#include <ostream>
#include <string>

#include "platform/number_locale.h"

namespace at {

// The window's three threshold texts for a report, with the window's initial contents.
struct ReportOptions {
    std::string altitudeJump = "20";
    std::string stopMinutes = "1";
    std::string stopSeconds = "10";
};

// Analyses `track` as the window does and writes the one-page PDF report the window exports to
// `pdfPath`. Returns 0, or 1 with the reason on `err`.
int runReport(const std::string& track, const std::string& pdfPath, const ReportOptions& options,
              std::ostream& err, const NumberLocale& locale);

}  // namespace at
