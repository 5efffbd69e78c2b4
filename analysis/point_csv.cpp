#include "analysis/point_csv.h"

#include <vector>

#include "analysis/sensor_figures.h"
#include "platform/number_text.h"
#include "platform/rounding.h"

namespace at {
namespace {

void appendField(std::string& out, std::string_view text, char separator) {
    if (text.find_first_of(std::string{separator, '"', '\r', '\n'}) == std::string_view::npos) {
        out += text;
        return;
    }
    out += '"';
    for (const char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

void appendDegrees(std::string& out, std::int32_t millionths, const NumberLocale& locale) {
    appendDouble(out, roundHalfEven(millionths / 1e6, 6), locale);
}

}  // namespace

char csvSeparator(const NumberLocale& locale) {
    return locale.decimalSeparator == "," ? ';' : ',';
}

std::string pointsCsvHeading(const CsvColumns& columns, const NumberLocale& locale) {
    std::vector<std::string> fields;
    if (columns.file)
        fields.push_back("archivo");
    fields.push_back("Punto");
    if (columns.date)
        fields.push_back("Fecha");
    for (const char* field : {"Hora", "Latitud (°)", "Longitud (°)", "Altitud (m)",
                              "Distancia (km)", "Velocidad (km/h)"}) {
        fields.push_back(field);
    }
    for (const Sensor sensor : kSensors)
        fields.push_back(sensorTitle(sensor));
    std::string out;
    for (const std::string& field : fields) {
        if (!out.empty())
            out += csvSeparator(locale);
        out += field;
    }
    out += "\r\n";
    return out;
}

void appendPointsCsvLines(std::string& out, const std::vector<PointDetail>& points,
                          const SensorColumns& sensors, const CsvColumns& columns,
                          std::string_view file, const NumberLocale& locale) {
    const char sep = csvSeparator(locale);
    out.reserve(out.size() + 64 * points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        const PointDetail& p = points[i];
        if (columns.file) {
            appendField(out, file, sep);
            out += sep;
        }
        out += formatInteger(p.point);
        out += sep;
        if (columns.date) {
            if (p.localDay != 0)
                out += formatDate(p.localDay);
            out += sep;
        }
        // A point without time leaves its time and its speed empty.
        if (p.hasTime)
            out += formatTimeOfDay(p.timeOfDay);
        out += sep;
        appendDegrees(out, p.latitudeDigits, locale);
        out += sep;
        appendDegrees(out, p.longitudeDigits, locale);
        out += sep;
        appendDouble(out, roundHalfEven(p.altitudeMetres, 1), locale);
        out += sep;
        appendSingle(out, roundHalfEven(p.distanceKm, 3), locale);
        out += sep;
        if (p.hasTime)
            appendDouble(out, roundHalfEven(p.speedKmh, 2), locale);
        for (const Sensor sensor : kSensors) {
            out += sep;
            if (const auto v = sensors.value(sensor, i))
                appendSingle(out, *v, locale);
        }
        out += "\r\n";
    }
}

std::string pointsCsv(const std::vector<PointDetail>& points, const SensorColumns& sensors,
                      const NumberLocale& locale) {
    const CsvColumns columns{.file = false,
                             .date = !points.empty() && points.front().localDay != 0};
    std::string out = pointsCsvHeading(columns, locale);
    appendPointsCsvLines(out, points, sensors, columns, {}, locale);
    return out;
}

}  // namespace at
