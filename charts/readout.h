#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/number_locale.h"

namespace at {

// The kilometre of a chosen point of the altitude profile, estimated in proportion: the point's
// number times the distance of the last analysis, divided by the lines that analysis read (its
// six header lines included, so the last point lies a little short of the total). The numbers
// are 16-bit for a track file and 32-bit for the other formats; single precision holds either
// exactly.
float estimatedKm(std::int32_t point, std::int32_t lastLinesRead, float lastDistanceKm);

// "Km Seleccionado: 9.43"; no text before an analysis has ended (nothing to divide by).
std::optional<std::string> selectedKmCaption(std::int32_t point, std::int32_t lastLinesRead,
                                             float lastDistanceKm, const NumberLocale& locale);

}  // namespace at
