#include "analysis/distance_step.h"

#include <cmath>

#include "platform/checked.h"

namespace at {
namespace {

// Six-decimal coordinates are millionths of a degree: these turn them into kilometres on a flat
// projection around the current point.
constexpr double kLatitudeUnitsPerKmSquared = 80780549.0;  // 8987.8², per km of latitude
constexpr double kLongitudeUnitsPerKmAtEquator = 9020.0;
constexpr double kUnitsPerRadian = 57295779.0;

}  // namespace

StepPoint stepPoint(std::int32_t latitude, std::int32_t longitude) {
    const double phi = latitude / kUnitsPerRadian;
    return {latitude, longitude, kLongitudeUnitsPerKmAtEquator / std::cos(phi)};
}

std::optional<double> distanceStepKm(const StepPoint& from, const StepPoint& to) {
    const std::optional<std::int32_t> latitudeDifference = sub32IfFits(to.latitude, from.latitude);
    const std::optional<std::int32_t> longitudeDifference =
        sub32IfFits(to.longitude, from.longitude);
    if (!latitudeDifference || !longitudeDifference)
        return std::nullopt;
    const double dLat = *latitudeDifference;
    const double a = dLat * dLat / kLatitudeUnitsPerKmSquared;
    const double dLon = *longitudeDifference;
    const double k = to.longitudeUnitsPerKm;
    const double b = (dLon / k) * (dLon / k);
    const double step = std::sqrt(a + b);
    if (!std::isfinite(step))
        return std::nullopt;
    return step;
}

void failDistanceStep(const StepPoint& from, const StepPoint& to) {
    sub32(to.latitude, from.latitude);
    sub32(to.longitude, from.longitude);
    throw RuntimeError(ErrorKind::DivisionByZero,
                       "El tramo entre dos puntos no tiene longitud calculable.");
}

}  // namespace at
