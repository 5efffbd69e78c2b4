#include "charts/point_readout.h"

#include <cmath>

#include "platform/number_text.h"
#include "platform/rounding.h"

namespace at {
std::vector<std::string> pointReadout(const PointDetail& point, const NumberLocale& locale) {
    std::vector<std::string> lines = {
        "Punto " + formatInteger(point.point),
        "Altitud: " + formatDouble(roundHalfEven(point.altitudeMetres, 1), locale) + " m",
    };
    if (point.hasTime) {
        lines.push_back("Velocidad: " + formatDouble(roundHalfEven(point.speedKmh, 1), locale) +
                        " km/h");
        lines.push_back("Hora: " + formatTimeOfDay(point.timeOfDay));
    }
    lines.push_back("Recorrido: " + formatSingle(roundHalfEven(point.distanceKm, 2), locale) +
                    " km");
    if (point.gpsJump)
        lines.push_back(kGpsJumpReadout);
    return lines;
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
    stretch.hasTime = a.hasTime && b.hasTime;
    if (!stretch.hasTime)
        return stretch;
    stretch.seconds = secondsBetween(a.timeOfDay, b.timeOfDay);
    if (stretch.seconds > 0) {
        const double days = b.timeOfDay - a.timeOfDay;
        stretch.hasMeanSpeed = true;
        stretch.meanSpeedKmh = stretch.distanceKm / (24.0 * days);
    }
    return stretch;
}

std::vector<std::string> stretchReadout(const Stretch& stretch, const NumberLocale& locale) {
    std::vector<std::string> lines = {
        "Puntos " + formatInteger(stretch.firstPoint) + " a " + formatInteger(stretch.lastPoint),
        "Distancia: " + formatSingle(roundHalfEven(stretch.distanceKm, 2), locale) + " km",
        "Desnivel: " + formatDouble(roundDown(stretch.climbMetres), locale) + " mts",
    };
    if (!stretch.hasTime)
        return lines;
    lines.push_back("Tiempo: " + formatDuration(stretch.seconds));
    lines.push_back("Velocidad media: " +
                    (stretch.hasMeanSpeed
                         ? formatDouble(roundHalfEven(stretch.meanSpeedKmh, 1), locale) + " km/h"
                         : std::string("-")));
    return lines;
}

}  // namespace at
