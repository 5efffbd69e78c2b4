#pragma once

#include <string>
#include <string_view>

// Cutting a track of any format into numbered track files of point lines beside it: a track file
// is cut line for line, each piece repeating its six header lines; the points of the other
// formats become point lines under a header of our own.
namespace at {

// The message the window shows when a split has written every file.
inline constexpr const char* kSplitDoneTitle = "Archivos exportados";
inline constexpr const char* kSplitDoneText =
    "Los archivos resultantes han sido creados en la misma localización q el original";

// The points-per-file text read by the leading-number rule: blanks, tabs and line feeds anywhere
// are skipped, then an optional sign, digits and at most one "." are read until the first
// character that does not fit; no number at the start reads as 0. "500 puntos" is 500,
// "1 000" is 1000, "250.5" is 250.5. The locale plays no part.
double leadingNumber(std::string_view text);

// The name of output file `number`: the source path, ".", the number, ".plt".
std::string splitFileName(const std::string& sourcePath, int number);

// Splits track `track` of `sourcePath` (a file of several holds more than one) into files of N
// points (N from `pointsPerFileText`), see the rules of the division in splitter.cpp. A track with
// points without a time is refused before anything is written: point lines need their times.
// Throws RuntimeError on the first failure: the files completed before stay complete, nothing is
// left open, and the caller shows no success message.
void splitTrack(const std::string& sourcePath, std::string_view pointsPerFileText, int track = 1);

}  // namespace at
