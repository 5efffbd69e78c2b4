#include "charts/readout.h"

#include "platform/number_text.h"
#include "platform/rounding.h"

namespace at {

float estimatedKm(std::int32_t point, std::int32_t lastLinesRead, float lastDistanceKm) {
    // Single-precision operands, double-precision product and quotient, stored back as single.
    const double p = static_cast<float>(point);
    const double distance = lastDistanceKm;
    const double lines = static_cast<float>(lastLinesRead);
    const auto q = static_cast<float>(p * distance / lines);
    return roundHalfEven(q, 2);
}

std::optional<std::string> selectedKmCaption(std::int32_t point, std::int32_t lastLinesRead,
                                             float lastDistanceKm, const NumberLocale& locale) {
    if (lastLinesRead == 0)
        return std::nullopt;
    return "Km Seleccionado: " +
           formatSingle(estimatedKm(point, lastLinesRead, lastDistanceKm), locale);
}

}  // namespace at
