#include "track/point_line.h"

#include <algorithm>
#include <cmath>
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

namespace {

constexpr int kCoordinateDecimals = 6;

bool isDigitChar(char c) {
    return c >= '0' && c <= '9';
}

// "39.9847" is 39984700 and "40.1234565" is 40123456: software that drops trailing zeros, or
// writes more than six decimals, still means decimal degrees, so the digits behind the point are
// brought to six (padded, or rounded half to even) before the point goes. Returns false, having
// read nothing, when the text is not [sign] digits "." digits.
bool readDecimalDegrees(std::string_view field, std::string_view text, std::int32_t& result) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Past 2^32 the value is out of range whatever follows; it stops growing there.
    constexpr std::int64_t kBeyondRange = std::int64_t{1} << 32;
    std::int64_t magnitude = 0;
    std::size_t digits = 0;
    for (; i < text.size() && isDigitChar(text[i]); ++i, ++digits) {
        if (magnitude <= kBeyondRange)
            magnitude = magnitude * 10 + (text[i] - '0');
    }
    if (i == text.size() || text[i] != '.')
        return false;
    ++i;
    int decimals = 0;
    char firstDropped = '0';
    bool nonZeroAfterFirstDropped = false;
    for (; i < text.size() && isDigitChar(text[i]); ++i, ++digits, ++decimals) {
        if (decimals < kCoordinateDecimals) {
            if (magnitude <= kBeyondRange)
                magnitude = magnitude * 10 + (text[i] - '0');
        } else if (decimals == kCoordinateDecimals) {
            firstDropped = text[i];
        } else if (text[i] != '0') {
            nonZeroAfterFirstDropped = true;
        }
    }
    if (i != text.size() || digits == 0)
        return false;
    for (; decimals < kCoordinateDecimals; ++decimals) {
        if (magnitude <= kBeyondRange)
            magnitude *= 10;
    }
    const bool aboveHalf = firstDropped > '5' || (firstDropped == '5' && nonZeroAfterFirstDropped);
    const bool tie = firstDropped == '5' && !nonZeroAfterFirstDropped;
    if (aboveHalf || (tie && magnitude % 2 != 0))
        ++magnitude;
    if (magnitude > kBeyondRange) {
        throw RuntimeError(ErrorKind::Overflow, "El número no cabe en un entero de 32 bits.")
            .withText(std::string(field));
    }
    try {
        result = toInt32Checked(negative ? -magnitude : magnitude);
    } catch (RuntimeError& e) {
        e.withText(std::string(field));
        throw;
    }
    return true;
}

// The shape nearly every file has, [-]ddd.dddddd with at most three whole digits and six
// decimals: no overflow and no rounding can happen, so the digits are simply gathered.
bool readShortDecimalDegrees(const char* p, const char* end, std::int32_t& result) {
    const bool negative = p != end && *p == '-';
    p += negative ? 1 : 0;
    std::int32_t value = 0;
    int whole = 0;
    for (; p != end && isDigitChar(*p) && whole <= 3; ++p, ++whole)
        value = value * 10 + (*p - '0');
    if (whole == 0 || whole > 3 || p == end || *p != '.')
        return false;
    ++p;
    if (end - p > kCoordinateDecimals)
        return false;
    int decimals = 0;
    for (; p != end; ++p, ++decimals) {
        if (!isDigitChar(*p))
            return false;
        value = value * 10 + (*p - '0');
    }
    for (; decimals < kCoordinateDecimals; ++decimals)
        value *= 10;
    result = negative ? -value : value;
    return true;
}

}  // namespace

std::int32_t convertCoordinate(std::string_view field) {
    const char* first = field.data();
    const char* last = first + field.size();
    while (first != last && (*first == ' ' || *first == '\t'))
        ++first;
    while (last != first && (last[-1] == ' ' || last[-1] == '\t'))
        --last;
    std::int32_t degrees = 0;
    if (readShortDecimalDegrees(first, last, degrees))
        return degrees;
    const std::string_view trimmed(first, static_cast<std::size_t>(last - first));
    if (readDecimalDegrees(field, trimmed, degrees))
        return degrees;
    const auto points = std::count(trimmed.begin(), trimmed.end(), '.');
    if (points == 1) {
        throw RuntimeError(ErrorKind::TypeMismatch, "El texto no es un número entero.")
            .withText(std::string(field));
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
    const double rounded = roundHalfEven(*feet);
    if (!(rounded >= -32768.0 && rounded <= 32767.0)) {
        throw RuntimeError(ErrorKind::Overflow, "La altitud no cabe en un entero de 16 bits.");
    }
    return static_cast<std::int16_t>(rounded);
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
