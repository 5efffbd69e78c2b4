#pragma once

#include <optional>
#include <string>

#include "analysis/track_summary.h"
#include "platform/number_locale.h"

// The mean speed in motion that the speed profile can show as a line across it.
namespace at {

// The distance over the time in motion ("t en ruta": the whole time less the stops), in km/h;
// none when there is no time in motion.
std::optional<double> meanSpeedInMotion(const TrackSummary& summary);

// "Media en movimiento: 12,3 km/h", rounded as the summary rounds speeds.
std::string meanSpeedCaption(double kmh, const NumberLocale& locale);

}  // namespace at
