#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/open_files.h"

// What every fuzz target needs: a folder of its own for the files it writes, the count of open
// files, and a check that stops the run with a readable report.
namespace at::fuzz {

// A folder created once per process and removed at its exit.
const std::string& workFolder();

using test::openFileCount;

void writeFile(const std::string& path, std::string_view bytes);
std::string readFile(const std::string& path);
bool fileExists(const std::string& path);

// Aborts with `what` (and the offending texts) when `condition` is false: libFuzzer then saves
// the input as a crash.
void check(bool condition, const char* what, std::string_view a = {}, std::string_view b = {});

// Lines as the program reads them: ended by CR, CR LF or LF, the terminator dropped, and a
// terminator at the very end starting no further line.
std::vector<std::string> splitLines(std::string_view bytes);

}  // namespace at::fuzz
