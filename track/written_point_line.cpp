#include "track/written_point_line.h"

#include <cstdio>

#include "platform/number_text.h"

namespace at {

std::array<std::string, kHeaderLines> writtenHeader(const std::string& formatName) {
    return {"Analisis Tracks: track cortado de un archivo " + formatName,
            "Datum: WGS 84",
            "Altitud en pies, -777 sin altitud",
            "Horas en la zona horaria local",
            "Campos: latitud,longitud,0,altitud,dias desde 30-12-1899,fecha,hora",
            "Un punto por linea"};
}

std::string writePointLine(const TrackPoint& point, std::int32_t localDay) {
    std::string line;
    line.reserve(80);
    appendMillionths(line, point.latitudeDigits, ".");
    line += ',';
    appendMillionths(line, point.longitudeDigits, ".");
    char rest[96];
    std::snprintf(rest, sizeof rest, ",0,%d,%.7f,", static_cast<int>(point.altitudeFeet),
                  localDay + point.timeOfDay);
    line += rest;
    line += formatDate(localDay);
    line += ',';
    line += formatTimeOfDay(point.timeOfDay);
    return line;
}

}  // namespace at
