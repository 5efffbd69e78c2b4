#include "charts/point_readout.h"

#include <algorithm>
#include <cmath>

#include "platform/number_text.h"
#include "platform/rounding.h"

namespace at {
namespace {

// A slope over less than this distance is mostly the altimeter's noise.
constexpr double kSlopeBaseKm = 0.1;

}  // namespace

std::vector<std::string> pointReadout(const PointDetail& point, const NumberLocale& locale,
                                      std::optional<double> slopePercent) {
    std::vector<std::string> lines = {
        "Punto " + formatInteger(point.point),
        "Altitud: " + formatDouble(roundHalfEven(point.altitudeMetres, 1), locale) + " m",
        "Velocidad: " + formatDouble(roundHalfEven(point.speedKmh, 1), locale) + " km/h",
        "Hora: " + formatTimeOfDay(point.timeOfDay),
        "Recorrido: " + formatSingle(roundHalfEven(point.distanceKm, 2), locale) + " km",
    };
    if (slopePercent) {
        // Plus 0.0 so that a level stretch never reads "-0".
        const double shown = roundHalfEven(*slopePercent, 1) + 0.0;
        lines.insert(lines.begin() + 2, "Pendiente: " + formatDouble(shown, locale) + " %");
    }
    return lines;
}

std::optional<double> slopePercent(std::span<const PointDetail> points, std::size_t index) {
    if (index >= points.size())
        return std::nullopt;
    const PointDetail& here = points[index];
    const double reach = static_cast<double>(here.distanceKm) - kSlopeBaseKm;
    // The distance never goes back: the points before `index` at or short of `reach` come first.
    const auto first = points.begin();
    const auto past = std::upper_bound(
        first, first + static_cast<std::ptrdiff_t>(index), reach,
        [](double km, const PointDetail& p) { return km < static_cast<double>(p.distanceKm); });
    if (past == first)
        return std::nullopt;
    const PointDetail& back = *(past - 1);
    const double metres =
        (static_cast<double>(here.distanceKm) - static_cast<double>(back.distanceKm)) * 1000.0;
    return (here.altitudeMetres - back.altitudeMetres) / metres * 100.0;
}

Stretch measureStretch(const PointDetail& from, const PointDetail& to) {
    const PointDetail& a = from.point <= to.point ? from : to;
    const PointDetail& b = from.point <= to.point ? to : from;
    Stretch stretch;
    stretch.firstPoint = a.point;
    stretch.lastPoint = b.point;
    // In single precision, as the analysis takes the distance of a speed window.
    stretch.distanceKm = b.distanceKm - a.distanceKm;
    stretch.climbMetres = b.accumulatedClimb - a.accumulatedClimb;
    stretch.seconds = secondsBetween(a.timeOfDay, b.timeOfDay);
    if (stretch.seconds > 0) {
        const double days = b.timeOfDay - a.timeOfDay;
        stretch.hasMeanSpeed = true;
        stretch.meanSpeedKmh = stretch.distanceKm / (24.0 * days);
    }
    return stretch;
}

std::vector<std::string> stretchReadout(const Stretch& stretch, const NumberLocale& locale) {
    return {
        "Puntos " + formatInteger(stretch.firstPoint) + " a " + formatInteger(stretch.lastPoint),
        "Distancia: " + formatSingle(roundHalfEven(stretch.distanceKm, 2), locale) + " km",
        "Desnivel: " + formatDouble(roundDown(stretch.climbMetres), locale) + " mts",
        "Tiempo: " + formatDuration(stretch.seconds),
        "Velocidad media: " +
            (stretch.hasMeanSpeed
                 ? formatDouble(roundHalfEven(stretch.meanSpeedKmh, 1), locale) + " km/h"
                 : std::string("-")),
    };
}

}  // namespace at
