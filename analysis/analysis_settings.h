#pragma once

#include <cstdint>
#include <string_view>

#include "platform/number_locale.h"

namespace at {

struct AnalysisSettings {
    // Metres: a rise between two consecutive samples above it is an erroneous sample, not climb.
    std::int16_t altitudeJumpLimit = 20;
    // A gap between two samples longer than this is a stop.
    std::int16_t stopGapSeconds = 70;
};

// From the window's three threshold texts: the altitude jump limit, then the stop gap's minutes
// and seconds, added in 16-bit arithmetic (546 min 7 s is the longest gap that fits).
AnalysisSettings readAnalysisSettings(std::string_view altitudeJumpText,
                                      std::string_view stopMinutesText,
                                      std::string_view stopSecondsText, const NumberLocale& locale);

}  // namespace at
