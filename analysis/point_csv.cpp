#include "analysis/point_csv.h"

#include <cstdlib>

#include "platform/number_text.h"

namespace at {
char csvSeparator(const NumberLocale& locale) {
    return locale.decimalSeparator == "," ? ';' : ',';
}

std::string pointsCsv(const std::vector<PointDetail>& points, const NumberLocale& locale) {
    const char sep = csvSeparator(locale);
    std::string out;
    out.reserve(64 * (points.size() + 1));
    for (const char* field : {"Punto", "Hora", "Latitud", "Longitud", "Altitud (m)",
                              "Distancia (km)", "Velocidad (km/h)"}) {
        if (!out.empty())
            out += sep;
        out += field;
    }
    out += "\r\n";
    for (const PointDetail& p : points) {
        out += formatInteger(p.point);
        out += sep;
        out += formatTimeOfDay(p.timeOfDay);
        out += sep;
        appendMillionths(out, p.latitudeDigits, locale.decimalSeparator);
        out += sep;
        appendMillionths(out, p.longitudeDigits, locale.decimalSeparator);
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
