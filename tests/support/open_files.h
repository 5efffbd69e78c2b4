#pragma once

#include <filesystem>

namespace at::test {

// The file descriptors this process holds open: after a failed command it must hold no more than
// before. Header-only so the fuzz targets, which do not link the test support, count the same way.
inline int openFileCount() {
    int count = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator("/proc/self/fd")) {
        ++count;
    }
    return count;
}

}  // namespace at::test
