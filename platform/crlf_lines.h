#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// Runs of lines that each end in CR LF: a track file's own line end, and the one its pieces are
// written with, so such a run is copied as it lies instead of line by line.
namespace at {

// Whole lines as they lie in a file, terminators included.
struct CrLfLines {
    std::string_view bytes;
    std::int64_t count = 0;

    // The last of them, without its CR LF.
    std::string_view lastLine() const;
};

// The lines at the start of [data, data + size) that each end in CR LF, up to `most` of them and
// none longer than `longestLine` bytes (at least 64). They end before the line of the first lone
// CR or LF, and before a CR at the very end, whose LF may follow beyond `size`.
CrLfLines leadingCrLfLines(const char* data, std::size_t size, std::int64_t most,
                           std::size_t longestLine);

}  // namespace at
