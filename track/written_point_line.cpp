#include "track/written_point_line.h"

#include <cmath>
#include <cstdio>

#include "platform/number_text.h"

namespace at {
namespace {

// Year, month and day of a count of days since 1970-01-01.
void civilFromDays(std::int64_t z, int& year, int& month, int& day) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2 ? 1 : 0));
}

}  // namespace

std::array<std::string, kHeaderLines> writtenHeader(const std::string& formatName) {
    return {"Analisis Tracks: track cortado de un archivo " + formatName,
            "Datum: WGS 84",
            "Altitud en pies, -777 sin altitud",
            "Horas en la zona horaria local",
            "Campos: latitud,longitud,0,altitud,dias desde 30-12-1899,fecha,hora",
            "Un punto por linea"};
}

std::string writePointLine(const TrackPoint& point, std::int32_t localDay) {
    int year = 0, month = 0, day = 0;
    civilFromDays(localDay - kDayCountOfUnixEpoch, year, month, day);
    std::string line;
    line.reserve(80);
    appendMillionths(line, point.latitudeDigits, ".");
    line += ',';
    appendMillionths(line, point.longitudeDigits, ".");
    char rest[96];
    std::snprintf(rest, sizeof rest, ",0,%d,%.7f,%04d-%02d-%02d,",
                  static_cast<int>(point.altitudeFeet), localDay + point.timeOfDay, year, month,
                  day);
    line += rest;
    line += formatTimeOfDay(point.timeOfDay);
    return line;
}

}  // namespace at
