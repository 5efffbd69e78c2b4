#pragma once

#include <ostream>
#include <string>

namespace at {

// The message the window shows when "Cortar" is pressed with no number of points chosen.
inline constexpr const char* kNoPointsTitle = "Seccionar un track";
inline constexpr const char* kNoPointsText =
    "Por favor, seleccione la cantidad de puntos por fichero.";

// Splits `path` as the window's "Cortar" does, with `pointsText` in place of the chosen number of
// points. Returns 0 and prints the window's closing message on success; 1 with the error on `err`
// if the split fails; 2 with the window's refusal if `pointsText` is empty.
int runCut(const std::string& path, const std::string& pointsText, std::ostream& out,
           std::ostream& err);

}  // namespace at
