#pragma once

#include <malloc.h>

#include <cstdint>
#include <fstream>
#include <string>

namespace at::test {

// How far this process's peak resident memory rises from the moment the object is made: the
// kernel's high-water mark is reset to the present size, after the memory freed before has been
// handed back so that reusing it cannot hide a rise.
class PeakMemoryGrowth {
  public:
    PeakMemoryGrowth() {
        malloc_trim(0);
        std::ofstream("/proc/self/clear_refs") << "5";
        start_ = statusBytes("VmRSS:");
    }
    std::int64_t bytes() const { return statusBytes("VmHWM:") - start_; }

  private:
    static std::int64_t statusBytes(const std::string& key) {
        std::ifstream status("/proc/self/status");
        std::string word;
        while (status >> word && word != key) {
        }
        std::int64_t kib = 0;
        status >> kib;
        return kib * 1024;
    }
    std::int64_t start_ = 0;
};

}  // namespace at::test
