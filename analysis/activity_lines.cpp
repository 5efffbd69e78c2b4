#include "analysis/activity_lines.h"

#include <cmath>

#include "analysis/summary_panel.h"
#include "platform/number_text.h"
#include "platform/rounding.h"

namespace at {

std::optional<double> movingSpeedKmh(const AnalysisResult& result) {
    const std::int64_t moving = elapsedSeconds(result.summary) - result.summary.stopSeconds;
    if (moving <= 0)
        return std::nullopt;
    return result.summary.distanceKm / (static_cast<double>(moving) / 3600.0);
}

std::string activityDateText(const AnalysisResult& result) {
    if (result.date() == 0)
        return {};
    const std::string iso = formatDate(result.date());  // aaaa-mm-dd
    return iso.substr(8, 2) + "/" + iso.substr(5, 2) + "/" + iso.substr(0, 4);
}

std::string movingSpeedText(const AnalysisResult& result, const NumberLocale& locale) {
    const auto speed = movingSpeedKmh(result);
    if (!speed)
        return {};
    return formatDouble(roundHalfEven(*speed, 1), locale) + " km/h";
}

std::string paceText(const AnalysisResult& result) {
    const auto speed = movingSpeedKmh(result);
    if (!result.heading || !result.heading->onFoot || !speed || !(*speed > 0.0))
        return {};
    const double secondsPerKm = std::nearbyint(3600.0 / *speed);
    if (!(secondsPerKm < 1e9))
        return {};
    const auto seconds = static_cast<std::int64_t>(secondsPerKm);
    const std::int64_t rest = seconds % 60;
    return std::to_string(seconds / 60) + "'" + (rest < 10 ? "0" : "") + std::to_string(rest) +
           "'' /km";
}

std::string lapText(const Lap& lap, const NumberLocale& locale) {
    std::string text = "Vuelta " + std::to_string(lap.number) + ": " +
                       formatSingle(roundHalfEven(lap.distanceKm, 2), locale) + " km en " +
                       formatDuration(lap.seconds);
    if (lap.meanSpeedKmh)
        text += " · " + formatDouble(roundHalfEven(*lap.meanSpeedKmh, 1), locale) + " km/h";
    if (lap.meanHeartRate)
        text += " · " + formatDouble(roundHalfEven(*lap.meanHeartRate, 0), locale) + " ppm";
    return text;
}

void appendActivityLines(std::string& out, const AnalysisResult& result,
                         const NumberLocale& locale) {
    if (!result.heading)
        return;
    const auto line = [&out](const char* caption, const std::string& text) {
        if (text.empty())
            return;
        out.append(caption).append(1, ' ').append(text).append(1, '\n');
    };
    line(kDateCaption, activityDateText(result));
    line(kMovingSpeedCaption, movingSpeedText(result, locale));
    line(kPaceCaption, paceText(result));
}

void appendLapLines(std::string& out, const AnalysisResult& result, const NumberLocale& locale) {
    if (result.laps.empty())
        return;
    out.append(kLapListHeading).append(1, '\n');
    for (const Lap& lap : result.laps)
        out.append(lapText(lap, locale)).append(1, '\n');
}

}  // namespace at
