#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/date_time.h"

// The values of a recorded point as the track formats write them, turned into what a six-decimal
// point line carries.
namespace at {

// The white space XML allows around a value.
bool isXmlSpace(char c);

// decimalDegreesToMillionths of a value with the XML white space around it allowed.
std::optional<std::int64_t> decimalToMillionths(std::string_view text);

enum class Axis { Latitude, Longitude };

// Whether a coordinate of `millionths` of a degree lies on the Earth: a latitude from -90 to 90
// degrees, a longitude from -180 to 180. At the very edge, where rounding to millionths may have
// taken a little off, the decimal `text` it was read from decides.
bool coordinateOnEarth(Axis axis, std::int64_t millionths, std::string_view text);

// The message for a coordinate that is not: "La latitud no está entre -90 y 90 grados.".
const char* offEarthText(Axis axis);

// Semicircles (2^31 to 180 degrees) as millionths of a degree, rounded half to even.
std::int64_t semicirclesToMillionths(std::int32_t semicircles);

// Metres as whole feet, rounded half to even. Beyond 16 bits it overflows.
std::int16_t metresToFeet(double metres);

// An XML date and time, "2024-05-01T10:00:00Z", with optional fraction of a second and zone
// ("+02:00"); without a zone it is taken as UTC, as GPX and TCX write their times. The result is
// whole seconds since 1970-01-01 UTC, the fraction dropped. No value when the text is no such
// date and time.
std::optional<std::int64_t> parseXmlDateTime(std::string_view text);

// Seconds since 1970-01-01 UTC of a FIT timestamp (seconds since 1989-12-31 UTC).
constexpr std::int64_t kFitEpochUnixSeconds = 631065600;

struct LocalTime {
    DateTime timeOfDay = 0.0;
    // Days since 1899-12-30, the day count point lines carry.
    std::int32_t day = 0;
};

// An instant in the machine's time zone. The zone's offset is looked up once per minute of
// track, since zones change their offset only at whole minutes.
class LocalClock {
  public:
    LocalTime at(std::int64_t unixSeconds);

  private:
    std::int64_t cachedMinute_ = INT64_MIN;
    std::int64_t offsetSeconds_ = 0;
};

}  // namespace at
