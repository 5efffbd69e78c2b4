#include "charts/point_csv.h"

#include <cstdlib>

#include "charts/point_readout.h"
#include "platform/number_text.h"

namespace at {
namespace {

// Coordinates are kept as millionths of a degree: written back with six decimals, digit for digit.
void appendDegrees(std::string& out, std::int32_t digits, const NumberLocale& locale) {
    const std::int64_t value = digits;
    const std::int64_t magnitude = std::llabs(value);
    if (value < 0)
        out += '-';
    out += std::to_string(magnitude / 1000000);
    out += locale.decimalSeparator;
    const std::string fraction = std::to_string(magnitude % 1000000);
    out.append(6 - fraction.size(), '0');
    out += fraction;
}

}  // namespace

char csvSeparator(const NumberLocale& locale) {
    return locale.decimalSeparator == "," ? ';' : ',';
}

std::string pointsCsv(const PointTable& points, const NumberLocale& locale) {
    const char sep = csvSeparator(locale);
    std::string out;
    out.reserve(64 * (points.points().size() + 1));
    for (const char* field : {"Punto", "Hora", "Latitud", "Longitud", "Altitud (m)",
                              "Distancia (km)", "Velocidad (km/h)"}) {
        if (!out.empty())
            out += sep;
        out += field;
    }
    out += "\r\n";
    for (const PointDetail& p : points.points()) {
        out += formatInteger(p.point);
        out += sep;
        out += formatTimeOfDay(p.timeOfDay);
        out += sep;
        appendDegrees(out, p.latitudeDigits, locale);
        out += sep;
        appendDegrees(out, p.longitudeDigits, locale);
        out += sep;
        appendDouble(out, p.altitudeMetres, locale);
        out += sep;
        appendSingle(out, p.distanceKm, locale);
        out += sep;
        appendDouble(out, p.speedKmh, locale);
        out += "\r\n";
    }
    return out;
}

}  // namespace at
