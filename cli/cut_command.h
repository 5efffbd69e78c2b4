#pragma once

#include <optional>
#include <ostream>
#include <string>

namespace at {

// The message the window shows when "Cortar" is pressed with no number of points chosen.
inline constexpr const char* kNoPointsTitle = "Seccionar un track";
inline constexpr const char* kNoPointsText =
    "Por favor, seleccione la cantidad de puntos por fichero.";

// The numbers of points a split may be asked for: fewer than three leave no point for a file, and
// the window counts points in 16 bits.
inline constexpr int kFewestSplitPoints = 3;
inline constexpr int kMostSplitPoints = 32767;

// What is wrong with a PUNTOS argument, or nothing when it is a whole number from 3 to 32767
// written in decimal digits. An empty text is left to runCut, which refuses it as the window does.
std::optional<std::string> splitPointsProblem(const std::string& pointsText);

// Splits track `track` of `path` as the window's "Cortar" does, with `pointsText` in place of the
// chosen number of points. Returns 0 and prints the window's closing message on success; 1 with the
// error on `err` if the split fails; 2 with the window's refusal if `pointsText` is empty.
int runCut(const std::string& path, const std::string& pointsText, int track, std::ostream& out,
           std::ostream& err);

}  // namespace at
