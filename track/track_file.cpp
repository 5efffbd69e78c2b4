#include "track/track_file.h"

#include "platform/conversions.h"

namespace at {

void skipHeader(LineReader& reader) {
    std::string line;
    for (int i = 0; i < kHeaderLines; ++i)
        reader.readLine(line);
}

bool endsPointData(std::string_view line) {
    return isBlank(line);
}

std::int64_t countPointLines(const std::string& path) {
    return countLines(path) - kHeaderLines;
}

}  // namespace at
