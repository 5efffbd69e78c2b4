#include "charts/moving_speed.h"

#include "analysis/summary_panel.h"
#include "platform/number_text.h"
#include "platform/rounding.h"

namespace at {

std::optional<double> meanSpeedInMotion(const TrackSummary& summary) {
    const std::int64_t moving = elapsedSeconds(summary) - summary.stopSeconds;
    if (moving <= 0)
        return std::nullopt;
    return static_cast<double>(summary.distanceKm) / (static_cast<double>(moving) / 3600.0);
}

std::string meanSpeedCaption(double kmh, const NumberLocale& locale) {
    return "Media en movimiento: " + formatDouble(roundHalfEven(kmh, 1), locale) + " km/h";
}

}  // namespace at
