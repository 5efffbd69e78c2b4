#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

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

}  // namespace at::bench
