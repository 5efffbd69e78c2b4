#pragma once

#include <cstdint>
#include <string_view>

#include "platform/date_time.h"
#include "track/track_point.h"

// A point line: latitude, longitude, (skipped), altitude in feet, day count, (skipped), time of
// day; fields separated by ",", the time taking the rest of the line.
namespace at {

struct PointLineFields {
    std::string_view latitude;   // field 1
    std::string_view longitude;  // field 2
    std::string_view altitude;   // field 4, blanks around it removed
    std::string_view dayCount;   // field 5
    std::string_view time;       // field 7: the whole rest of the line behind the sixth comma
};

// Cuts the line at its first six commas. A line with fewer is a type mismatch.
PointLineFields cutPointLine(std::string_view line);

// Millionths of a degree. A text with one "." is decimal degrees brought to six decimals
// ("39.9847" is 39984700, "40.1234565" rounds half to even to 40123456); a text without a "." or
// with several has every "." removed and the rest read as a 32-bit integer. The result is the
// same under every locale.
std::int32_t convertCoordinate(std::string_view field);

// Feet as written by GPS software, "." as decimal point whatever the locale ("1258.8"), rounded
// half to even to a 16-bit integer.
std::int16_t convertAltitude(std::string_view field);

// The fields of a cut line converted; a failure names the field and its text.
std::int32_t readLatitude(const PointLineFields& fields);
std::int32_t readLongitude(const PointLineFields& fields);
std::int16_t readAltitudeFeet(const PointLineFields& fields);
// The first eight characters behind the sixth comma, blanks skipped first, as a time of day. Files
// that leave field 7 empty carry the time only in field 5, the day count since 1899-12-30 with
// its fraction; the time of day is then that fraction in whole seconds.
DateTime readTimeOfDay(const PointLineFields& fields);

// The date in field 5, the day count since 1899-12-30 with the time as its fraction: its whole
// days when it reads as a number above 0 (up to the last day of year 9999), else 0. Many files
// leave the field 0; it never fails the line.
std::int32_t dayOfDayCount(std::string_view field);

// A whole line, converted in the order the analysis converts it (latitude, longitude, time,
// altitude).
TrackPoint readPointLine(std::string_view line);

}  // namespace at
