#include "charts/point_readout.h"

#include <cmath>

#include "platform/number_text.h"
#include "platform/rounding.h"

namespace at {
std::vector<std::string> pointReadout(const PointDetail& point, const NumberLocale& locale) {
    return {
        "Punto " + formatInteger(point.point),
        "Altitud: " + formatDouble(roundHalfEven(point.altitudeMetres, 1), locale) + " m",
        "Velocidad: " + formatDouble(roundHalfEven(point.speedKmh, 1), locale) + " km/h",
        "Hora: " + formatTimeOfDay(point.timeOfDay),
        "Recorrido: " + formatSingle(roundHalfEven(point.distanceKm, 2), locale) + " km",
    };
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
