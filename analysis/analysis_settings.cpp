#include "analysis/analysis_settings.h"

#include <string>

#include "platform/checked.h"
#include "platform/conversions.h"
#include "platform/runtime_error.h"

namespace at {
namespace {

std::int16_t threshold(std::string_view text, const char* fieldName, const NumberLocale& locale) {
    try {
        return textToInt16(text, locale);
    } catch (RuntimeError& e) {
        e.withField(fieldName).withText(std::string(text));
        throw;
    }
}

}  // namespace

AnalysisSettings readAnalysisSettings(std::string_view altitudeJumpText,
                                      std::string_view stopMinutesText,
                                      std::string_view stopSecondsText,
                                      const NumberLocale& locale) {
    AnalysisSettings settings;
    settings.altitudeJumpLimit =
        threshold(altitudeJumpText, "Diferencia entre alturas despreciables", locale);
    try {
        const std::int16_t minutes = threshold(stopMinutesText, "minutos de parada", locale);
        const std::int16_t gap = mul16(minutes, 60);
        settings.stopGapSeconds =
            add16(gap, threshold(stopSecondsText, "segundos de parada", locale));
    } catch (RuntimeError& e) {
        e.withField("tiempo de parada (minutos × 60 + segundos)");
        throw;
    }
    return settings;
}

}  // namespace at
