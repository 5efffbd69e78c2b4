#pragma once

#include <string>
#include <string_view>

// Files the program writes from what it has worked out (a report, a picture, a table): never over
// the file it read, and whole or not at all.
namespace at {

// Whether both paths name one file, through another spelling of the path, a symbolic or a hard
// link. A path that names nothing is no file.
bool sameFile(const std::string& a, const std::string& b);

// Writes `bytes` as the file at `path`. They go to a new temporary file in the same folder, which
// takes the place of `path` only once it is written, on the disk and closed; so a reader never
// sees half a file. On any failure the temporary file is removed, a file already at `path` stays
// as it was, and the RuntimeError names `path`. A file replaced keeps its permissions; a symbolic
// link at `path` is replaced, never written through.
void writeFileWhole(const std::string& path, std::string_view bytes);

}  // namespace at
