#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "track/track_file.h"
#include "track/track_point.h"

// Point lines written by the program itself, when a track of another format is cut into track
// files: each line reads back to the very TrackPoint it was written from.
namespace at {

// Our own six header lines, naming the format the points came from ("GPX", "TCX", "FIT").
std::array<std::string, kHeaderLines> writtenHeader(const std::string& formatName);

// "40.416775,-3.703790,0,2134,45413.4166667,2024-05-01,10:00:00": latitude and longitude with six
// decimals, 0, altitude in whole feet, the local day count since 1899-12-30 with the time as its
// fraction, the local date, the local time of day.
std::string writePointLine(const TrackPoint& point, std::int32_t localDay);

}  // namespace at
