#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

// Track files of the size a day's walk records, for the command-line tests and the batch
// benchmark: about 2,000 points five seconds apart, a rest every 400 points, a slow climb with
// small wobbles and now and then an erroneous altitude sample.
namespace at::test {

inline constexpr int kSampleTrackPoints = 2000;

inline std::string sampleTrackText(int points = kSampleTrackPoints, std::uint32_t seed = 1) {
    std::string text =
        "OziExplorer Track Point File Version 2.1\r\n"
        "WGS 84\r\n"
        "Altitude is in Feet\r\n"
        "Reserved 3\r\n"
        "0,2,255,Ruta de muestra,0,0,2,8421376\r\n"
        "0\r\n";
    text.reserve(text.size() + static_cast<std::size_t>(points) * 64);
    std::uint32_t state = seed * 2654435761u + 12345u;
    const auto next = [&state](std::uint32_t range) {
        state = state * 1664525u + 1013904223u;
        return static_cast<int>((state >> 8) % range);
    };
    long latitude = 42'600'000 + next(100'000);
    long longitude = -1'900'000 - next(100'000);
    int second = 7 * 3600 + next(3600);
    char line[112];
    for (int i = 0; i < points; ++i) {
        latitude += 20 + next(40);
        longitude += next(50) - 10;
        second += (i % 400 == 399) ? 180 + next(600) : 4 + next(3);
        int feet = 2000 + i / 4 + static_cast<int>(60.0 * std::sin(i / 37.0)) + next(5);
        if (next(500) == 0)
            feet += 400;
        std::snprintf(line, sizeof line,
                      "%s%ld.%06ld,%s%ld.%06ld,0,%d,39307.3,13-08-07,%02d:%02d:%02d\r\n",
                      latitude < 0 ? "-" : "", std::labs(latitude) / 1'000'000,
                      std::labs(latitude) % 1'000'000, longitude < 0 ? "-" : "",
                      std::labs(longitude) / 1'000'000, std::labs(longitude) % 1'000'000, feet,
                      second / 3600 % 24, second / 60 % 60, second % 60);
        text += line;
    }
    return text;
}

}  // namespace at::test
