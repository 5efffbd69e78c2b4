#include "formats/point_values.h"

#include <time.h>

#include <chrono>
#include <cmath>

#include "platform/checked.h"
#include "platform/conversions.h"
#include "platform/rounding.h"
#include "track/track_point.h"

namespace at {
namespace {

std::string_view trimXmlSpace(std::string_view text) {
    while (!text.empty() && isXmlSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isXmlSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// `count` digits at `pos` as a number; false if they are not all digits.
bool readDigits(std::string_view text, std::size_t& pos, int count, int& value) {
    if (pos + static_cast<std::size_t>(count) > text.size())
        return false;
    value = 0;
    for (int i = 0; i < count; ++i) {
        const char c = text[pos++];
        if (!isDigit(c))
            return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

bool expect(std::string_view text, std::size_t& pos, char c) {
    if (pos >= text.size() || text[pos] != c)
        return false;
    ++pos;
    return true;
}

}  // namespace

bool isXmlSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::optional<std::int64_t> decimalToMillionths(std::string_view text) {
    return decimalDegreesToMillionths(trimXmlSpace(text));
}

bool coordinateOnEarth(Axis axis, std::int64_t millionths, std::string_view text) {
    const std::int64_t most = axis == Axis::Latitude ? 90'000'000 : 180'000'000;
    if (millionths != most && millionths != -most)
        return millionths > -most && millionths < most;
    const auto degrees = parseInvariantDecimal(trimXmlSpace(text));
    return degrees && *degrees >= -most / 1e6 && *degrees <= most / 1e6;
}

const char* offEarthText(Axis axis) {
    return axis == Axis::Latitude ? "La latitud no está entre -90 y 90 grados."
                                  : "La longitud no está entre -180 y 180 grados.";
}

std::int64_t semicirclesToMillionths(std::int32_t semicircles) {
    // degrees = semicircles * 180 / 2^31, exactly as a fraction of whole numbers.
    constexpr std::int64_t kDenominator = std::int64_t{1} << 31;
    const std::int64_t numerator = std::int64_t{semicircles} * 180000000;
    const std::int64_t magnitude = numerator < 0 ? -numerator : numerator;
    std::int64_t quotient = magnitude / kDenominator;
    const std::int64_t remainder = magnitude % kDenominator;
    if (remainder * 2 > kDenominator || (remainder * 2 == kDenominator && quotient % 2 != 0))
        ++quotient;
    return numerator < 0 ? -quotient : quotient;
}

std::int16_t metresToFeet(double metres) {
    return roundToInt16Checked(metres / kMetresPerFoot,
                               "La altitud en pies no cabe en un entero de 16 bits.");
}

std::optional<std::int64_t> parseXmlDateTime(std::string_view text) {
    text = trimXmlSpace(text);
    std::size_t pos = 0;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (!readDigits(text, pos, 4, year) || !expect(text, pos, '-') ||
        !readDigits(text, pos, 2, month) || !expect(text, pos, '-') ||
        !readDigits(text, pos, 2, day) || !expect(text, pos, 'T') ||
        !readDigits(text, pos, 2, hour) || !expect(text, pos, ':') ||
        !readDigits(text, pos, 2, minute) || !expect(text, pos, ':') ||
        !readDigits(text, pos, 2, second)) {
        return std::nullopt;
    }
    const std::chrono::year_month_day date{std::chrono::year(year),
                                           std::chrono::month(static_cast<unsigned>(month)),
                                           std::chrono::day(static_cast<unsigned>(day))};
    if (!date.ok() || hour > 24 || minute > 59 || second > 60 ||
        (hour == 24 && (minute != 0 || second != 0))) {
        return std::nullopt;
    }
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        const std::size_t first = pos;
        while (pos < text.size() && isDigit(text[pos]))
            ++pos;
        if (pos == first)
            return std::nullopt;
    }
    std::int64_t offset = 0;
    if (pos < text.size() && text[pos] == 'Z') {
        ++pos;
    } else if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        const bool behind = text[pos++] == '-';
        int zoneHours = 0, zoneMinutes = 0;
        if (!readDigits(text, pos, 2, zoneHours) || !expect(text, pos, ':') ||
            !readDigits(text, pos, 2, zoneMinutes) || zoneHours > 14 || zoneMinutes > 59) {
            return std::nullopt;
        }
        offset = (zoneHours * 3600 + zoneMinutes * 60) * (behind ? -1 : 1);
    }
    if (pos != text.size())
        return std::nullopt;
    // A leap second is shown as the last second of its minute.
    const int seconds = second == 60 ? 59 : second;
    const std::int64_t days = std::chrono::sys_days(date).time_since_epoch().count();
    return days * 86400 + hour * 3600 + minute * 60 + seconds - offset;
}

LocalTime LocalClock::at(std::int64_t unixSeconds) {
    const std::int64_t minute = unixSeconds >= 0 ? unixSeconds / 60 : -((59 - unixSeconds) / 60);
    if (minute != cachedMinute_) {
        const time_t t = static_cast<time_t>(unixSeconds);
        struct tm local {};
        offsetSeconds_ = localtime_r(&t, &local) != nullptr ? local.tm_gmtoff : 0;
        cachedMinute_ = minute;
    }
    const std::int64_t localSeconds = unixSeconds + offsetSeconds_;
    std::int64_t days = localSeconds / 86400;
    std::int64_t secondOfDay = localSeconds % 86400;
    if (secondOfDay < 0) {
        secondOfDay += 86400;
        --days;
    }
    LocalTime result;
    result.timeOfDay = timeOfDayFromSeconds(secondOfDay);
    result.day = toInt32Checked(days + kDayCountOfUnixEpoch);
    return result;
}

}  // namespace at
