#pragma once

#include <string>
#include <vector>

namespace at::test {

// The six header lines most GPS software writes.
extern const std::vector<std::string> kHeader;

// One point line, six decimals, time in field 7:
// "47.466222,3.747318,0,853,39307.3,13-08-07,07:52:19".
std::string pointLine(double latitude, double longitude, int feet, const std::string& time);

// Header and lines joined with `eol` after each line.
std::string trackText(const std::vector<std::string>& points, const std::string& eol = "\r\n",
                      const std::vector<std::string>& header = kHeader);

// "hh:mm:ss" of a second of the day.
std::string clock(int secondOfDay);

}  // namespace at::test
