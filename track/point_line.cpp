#include "track/point_line.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "platform/checked.h"
#include "platform/conversions.h"
#include "platform/rounding.h"
#include "platform/runtime_error.h"

namespace at {
namespace {

constexpr std::size_t kTimeWindow = 8;

template <typename Convert>
auto convertField(std::string_view field, const char* fieldName, Convert convert) {
    try {
        return convert(field);
    } catch (RuntimeError& e) {
        e.withField(fieldName).withText(std::string(field));
        throw;
    }
}

}  // namespace

PointLineFields cutPointLine(std::string_view line) {
    std::string_view fields[6];
    std::size_t start = 0;
    for (int f = 0; f < 6; ++f) {
        const std::size_t comma = line.find(',', start);
        if (comma == std::string_view::npos) {
            throw RuntimeError(
                ErrorKind::TypeMismatch,
                "La línea de punto tiene menos de seis comas (" + std::to_string(f) + ").")
                .withText(std::string(line));
        }
        fields[f] = line.substr(start, comma - start);
        start = comma + 1;
    }
    return {fields[0], fields[1], trimBlanks(fields[3]), fields[4], line.substr(start)};
}

std::int32_t convertCoordinate(std::string_view field) {
    // Decimal degrees with one ".", brought to six decimals: software that drops trailing zeros or
    // writes more decimals still means degrees. (A text the conversion takes has one "." at most.)
    const std::string_view trimmed = trimBlanks(field);
    const auto millionths = decimalDegreesToMillionths(trimmed);
    const bool onePoint = millionths ? trimmed.find('.') != std::string_view::npos
                                     : std::count(trimmed.begin(), trimmed.end(), '.') == 1;
    if (onePoint) {
        if (!millionths) {
            throw RuntimeError(ErrorKind::TypeMismatch, "El texto no es un número entero.")
                .withText(std::string(field));
        }
        if (*millionths < std::numeric_limits<std::int32_t>::min() ||
            *millionths > std::numeric_limits<std::int32_t>::max()) {
            throw RuntimeError(ErrorKind::Overflow, "El número no cabe en un entero de 32 bits.")
                .withText(std::string(field));
        }
        return static_cast<std::int32_t>(*millionths);
    }

    // No point, or several: every "." removed and the rest read as an integer.
    char local[64];
    std::string heap;
    char* digits = local;
    if (field.size() > sizeof local) {
        heap.resize(field.size());
        digits = heap.data();
    }
    std::size_t length = 0;
    for (const char c : field) {
        if (c != '.')
            digits[length++] = c;
    }
    try {
        return digitsToInt32(std::string_view(digits, length));
    } catch (const RuntimeError& e) {
        // The message must quote the field as the file holds it, points included, or the user
        // cannot find it there.
        throw RuntimeError(e.kind(), e.detail()).withText(std::string(field));
    }
}

std::int16_t convertAltitude(std::string_view field) {
    const auto feet = parseInvariantDecimal(field);
    if (!feet) {
        throw RuntimeError(ErrorKind::TypeMismatch, "La altitud no es un número.");
    }
    return roundToInt16Checked(*feet, "La altitud no cabe en un entero de 16 bits.");
}

std::int32_t readLatitude(const PointLineFields& fields) {
    return convertField(fields.latitude, "latitud (campo 1)", convertCoordinate);
}

std::int32_t readLongitude(const PointLineFields& fields) {
    return convertField(fields.longitude, "longitud (campo 2)", convertCoordinate);
}

std::int16_t readAltitudeFeet(const PointLineFields& fields) {
    return convertField(fields.altitude, "altitud (campo 4)", convertAltitude);
}

DateTime readTimeOfDay(const PointLineFields& fields) {
    std::string_view rest = fields.time;
    while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t'))
        rest.remove_prefix(1);
    if (!rest.empty()) {
        return convertField(rest.substr(0, kTimeWindow), "hora (campo 7)", textToTimeOfDay);
    }
    return convertField(fields.dayCount, "hora (campo 5)", [](std::string_view field) {
        const auto days = parseInvariantDecimal(field);
        if (!days || !std::isfinite(*days)) {
            throw RuntimeError(ErrorKind::TypeMismatch, "Falta la hora del punto.");
        }
        const double magnitude = std::fabs(*days);
        auto seconds = static_cast<std::int64_t>(
            std::nearbyint((magnitude - std::floor(magnitude)) * kSecondsPerDay));
        if (seconds == static_cast<std::int64_t>(kSecondsPerDay))
            seconds = 0;
        return timeOfDayFromSeconds(seconds);
    });
}

std::int32_t dayOfDayCount(std::string_view field) {
    // 9999-12-31.
    constexpr double kLastDay = 2958465;
    const auto days = parseInvariantDecimal(field);
    if (!days || !(*days >= 1.0) || *days >= kLastDay + 1)
        return 0;
    return static_cast<std::int32_t>(std::floor(*days));
}

TrackPoint readPointLine(std::string_view line) {
    const PointLineFields fields = cutPointLine(line);
    TrackPoint point;
    point.latitudeDigits = readLatitude(fields);
    point.longitudeDigits = readLongitude(fields);
    point.timeOfDay = readTimeOfDay(fields);
    point.altitudeFeet = readAltitudeFeet(fields);
    return point;
}

}  // namespace at
