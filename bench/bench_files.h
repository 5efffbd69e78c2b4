#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "formats/fit_reader.h"

// Track files for the benchmarks, written once into the temporary folder and reused.
namespace at::bench {

inline std::string pointLine(int i) {
    char line[128];
    const int second = 28800 + 3 * i;
    std::snprintf(line, sizeof line,
                  "  %d.%06d,   -3.%06d,0, %d.0,39307.3279977, 13-08-07, %02d:%02d:%02d",
                  40 + i / 1000000, i % 1000000, (i * 7) % 1000000, 2000 + (i % 500),
                  second / 3600 % 24, second / 60 % 60, second % 60);
    return line;
}

// A track of `points` point lines, CR LF line ends, about `bytes` when `points` is 0.
inline std::string trackFile(const std::string& name, std::int64_t points) {
    const auto path = (std::filesystem::temp_directory_path() / name).string();
    if (std::filesystem::exists(path))
        return path;
    const std::string partial = path + ".part";
    {
        std::ofstream out(partial, std::ios::binary);
        for (int h = 0; h < 6; ++h)
            out << "Cabecera " << h << "\r\n";
        for (std::int64_t i = 0; i < points; ++i)
            out << pointLine(static_cast<int>(i % 2000000)) << "\r\n";
    }
    std::filesystem::rename(partial, path);
    return path;
}

// A day outdoors as a watch records it, one point a second from 2024-05-01 00:00:00 UTC: about
// 1.2 m a second along a winding line, altitudes in waves with a decimal, and twenty minutes
// standing still every four hours. `points` of them (86,400 make 24 hours), as a GPX or a FIT
// file after the extension of `name`.
inline std::string dayTrack(const std::string& name, std::int64_t points) {
    const auto path = (std::filesystem::temp_directory_path() / name).string();
    if (std::filesystem::exists(path))
        return path;
    const bool gpx = name.ends_with(".gpx");
    std::string out;
    if (gpx) {
        out =
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gpx version=\"1.1\" creator=\"banco\" "
            "xmlns=\"http://www.topografix.com/GPX/1/1\">\n <trk>\n  <name>Un día</name>\n"
            "  <trkseg>\n";
    } else {
        // The record's definition: timestamp, latitude, longitude (semicircles), altitude.
        out = std::string("\x40\0\0\x14\0\x04", 6);
        for (const unsigned char f : {253, 4, 0x86, 0, 4, 0x85, 1, 4, 0x85, 2, 2, 0x84})
            out += static_cast<char>(f);
    }
    const auto put = [&out](std::uint64_t value, int size) {
        for (int i = 0; i < size; ++i)
            out += static_cast<char>(value >> (8 * i));
    };
    double latitude = 40.4;
    double longitude = -3.7;
    for (std::int64_t i = 0; i < points; ++i) {
        if (i % 14400 >= 1200) {
            const double heading = std::sin(i / 1500.0) * 2.5 + i / 40000.0;
            latitude += 1.1e-5 * std::cos(heading);
            longitude += 1.4e-5 * std::sin(heading);
        }
        const double metres = 900 + 400 * std::sin(i / 7000.0) + 30 * std::sin(i / 300.0);
        if (gpx) {
            char line[200];
            std::snprintf(line, sizeof line,
                          "   <trkpt lat=\"%.6f\" lon=\"%.6f\"><ele>%.1f</ele>"
                          "<time>2024-05-%02lldT%02lld:%02lld:%02lldZ</time></trkpt>\n",
                          latitude, longitude, metres, static_cast<long long>(1 + i / 86400),
                          static_cast<long long>(i / 3600 % 24),
                          static_cast<long long>(i / 60 % 60), static_cast<long long>(i % 60));
            out += line;
        } else {
            out += '\0';
            put(static_cast<std::uint64_t>(1714521600 - 631065600 + i), 4);
            for (const double degrees : {latitude, longitude}) {
                put(static_cast<std::uint32_t>(std::lround(degrees * 2147483648.0 / 180.0)), 4);
            }
            put(static_cast<std::uint64_t>(std::lround((metres + 500) * 5)), 2);
        }
    }
    if (gpx) {
        out += "  </trkseg>\n </trk>\n</gpx>\n";
    } else {
        std::string header("\x0E\x20\x54\x08", 4);
        for (int i = 0; i < 4; ++i)
            header += static_cast<char>(out.size() >> (8 * i));
        header += ".FIT";
        const auto crc = [](const std::string& bytes) {
            return fitCrc(0, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
        };
        const std::uint16_t headerCrc = crc(header);
        header += static_cast<char>(headerCrc & 0xFF);
        header += static_cast<char>(headerCrc >> 8);
        out = header + out;
        const std::uint16_t fileCrc = crc(out);
        out += static_cast<char>(fileCrc & 0xFF);
        out += static_cast<char>(fileCrc >> 8);
    }
    const std::string partial = path + ".part";
    std::ofstream(partial, std::ios::binary) << out;
    std::filesystem::rename(partial, path);
    return path;
}

}  // namespace at::bench
