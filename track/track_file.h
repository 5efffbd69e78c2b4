#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/text_file.h"

// A track file: six header lines, never interpreted, then one point line per recorded point until
// the end of the file or the first blank line.
namespace at {

constexpr int kHeaderLines = 6;

// Reads and drops the header; a file of fewer lines ends with "input past end of file".
void skipHeader(LineReader& reader);

// An empty line, or one of blanks only, ends the point data.
bool endsPointData(std::string_view line);

// The point count: every line of the file counts, blank ones and those after a blank line too,
// minus the six header lines. Negative for a file of fewer than six lines.
std::int64_t countPointLines(const std::string& path);

}  // namespace at
