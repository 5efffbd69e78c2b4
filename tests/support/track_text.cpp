#include "tests/support/track_text.h"

#include <cstdio>

namespace at::test {

const std::vector<std::string> kHeader = {
    "OziExplorer Track Point File Version 2.1", "WGS 84", "Altitude is in Feet", "Reserved 3",
    "0,2,255,Ruta de prueba,0,0,2,8421376",     "0",
};

std::string pointLine(double latitude, double longitude, int feet, const std::string& time) {
    char line[160];
    std::snprintf(line, sizeof line, "%.6f,%.6f,0,%d,39307.3,13-08-07,%s", latitude, longitude,
                  feet, time.c_str());
    return line;
}

std::string trackText(const std::vector<std::string>& points, const std::string& eol,
                      const std::vector<std::string>& header) {
    std::string text;
    for (const auto& line : header)
        text += line + eol;
    for (const auto& line : points)
        text += line + eol;
    return text;
}

std::string clock(int secondOfDay) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", secondOfDay / 3600 % 100,
                  secondOfDay / 60 % 60, secondOfDay % 60);
    return text;
}

}  // namespace at::test
