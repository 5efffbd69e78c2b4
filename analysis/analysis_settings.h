#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/number_locale.h"

namespace at {

// The thresholds as the user types them. Their defaults are the window's initial contents, which
// the command line and its report take too.
struct ThresholdTexts {
    std::string altitudeJump = "20";  // "Diferencia entre alturas despreciables", metres
    std::string stopMinutes = "1";    // "Saltos de más de" ... "min"
    std::string stopSeconds = "10";   // ... "segs, son tomados como descansos."
};

struct AnalysisSettings {
    // Metres: a rise between two consecutive samples above it is an erroneous sample, not climb.
    std::int16_t altitudeJumpLimit = 0;
    // A gap between two samples longer than this is a stop.
    std::int16_t stopGapSeconds = 0;
};

// From the window's three threshold texts: the altitude jump limit, then the stop gap's minutes
// and seconds, added in 16-bit arithmetic (546 min 7 s is the longest gap that fits).
AnalysisSettings readAnalysisSettings(std::string_view altitudeJumpText,
                                      std::string_view stopMinutesText,
                                      std::string_view stopSecondsText, const NumberLocale& locale);

}  // namespace at
