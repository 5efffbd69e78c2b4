#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "formats/fit_reader.h"

// Track files for the benchmarks, written once into the temporary folder and reused.
namespace at::bench {

// The path of `name` in the temporary folder, written by `write` the first time; a run cut short
// leaves only a ".part" file, never a half-written track that a later run would take as whole.
inline std::string writtenOnce(const std::string& name,
                               const std::function<void(std::ostream&)>& write) {
    const auto path = (std::filesystem::temp_directory_path() / name).string();
    if (std::filesystem::exists(path))
        return path;
    const std::string partial = path + ".part";
    {
        std::ofstream out(partial, std::ios::binary);
        write(out);
    }
    std::filesystem::rename(partial, path);
    return path;
}

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
    return writtenOnce(name, [points](std::ostream& out) {
        for (int h = 0; h < 6; ++h)
            out << "Cabecera " << h << "\r\n";
        for (std::int64_t i = 0; i < points; ++i)
            out << pointLine(static_cast<int>(i % 2000000)) << "\r\n";
    });
}

// A walk recorded every second, as phones and most receivers record today: 1.3 m/s with a few
// metres of GPS noise and a few feet of altitude noise, halting after every five minutes for 25 s
// to 2.5 min (a crossing, a photo, a rest), standing in the noise. Most stretches of a halt are
// standstill candidates; the halts longer than the stop threshold are stops.
inline std::string walkFile(const std::string& name, std::int64_t points) {
    return writtenOnce(name, [points](std::ostream& out) {
        for (int h = 0; h < 6; ++h)
            out << "Cabecera " << h << "\r\n";
        constexpr int kWalkSeconds = 300;
        constexpr int kHalts[] = {25, 45, 60, 68, 80, 150};
        // Millionths of a degree per metre at 40° north: the pass's own scale.
        constexpr double kLatitudePerMetre = 8.9878;
        const double longitudePerMetre = 9.020 / std::cos(40.0 * M_PI / 180.0);
        std::uint32_t seed = 2463534242u;
        const auto noise = [&seed] {  // -0.5 to 0.5
            seed ^= seed << 13;
            seed ^= seed >> 17;
            seed ^= seed << 5;
            return static_cast<double>(seed) / 4294967296.0 - 0.5;
        };
        double north = 0.0;
        double east = 0.0;
        // The receiver's error wanders slowly, about 3 m either way.
        double northError = 0.0;
        double eastError = 0.0;
        int cycle = 0;
        int inCycle = 0;
        for (std::int64_t i = 0; i < points; ++i) {
            if (inCycle < kWalkSeconds) {
                const double heading = 0.8 * std::sin(static_cast<double>(i) / 900.0);
                north += 1.3 * std::cos(heading);
                east += 1.3 * std::sin(heading);
            }
            if (++inCycle == kWalkSeconds + kHalts[cycle % 6]) {
                inCycle = 0;
                ++cycle;
            }
            northError = 0.9 * northError + 4.5 * noise();
            eastError = 0.9 * eastError + 4.5 * noise();
            const double latitude = 40e6 + (north + northError) * kLatitudePerMetre;
            const double longitude = -3e6 + (east + eastError) * longitudePerMetre;
            const int feet = static_cast<int>(
                std::lround(2000 + 400 * std::sin(static_cast<double>(i) / 2500.0) + 6 * noise()));
            const std::int64_t second = (28800 + i) % 86400;
            char line[128];
            std::snprintf(line, sizeof line, "%.6f,%.6f,0,%d,39307.3,13-08-07,%02d:%02d:%02d",
                          latitude / 1e6, longitude / 1e6, feet, static_cast<int>(second / 3600),
                          static_cast<int>(second / 60 % 60), static_cast<int>(second % 60));
            out << line << "\r\n";
        }
    });
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
