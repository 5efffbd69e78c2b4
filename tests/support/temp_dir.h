#pragma once

#include <filesystem>
#include <string>

#include "tests/support/open_files.h"

namespace at::test {

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // Writes `bytes` exactly as given to a file in the folder; returns its full path.
    std::string write(const std::string& name, const std::string& bytes) const;
    // Writes `before`, `count` copies of `repeated` and `after`: tens of megabytes, never held in
    // memory.
    std::string writeRun(const std::string& name, const std::string& before, char repeated,
                         std::size_t count, const std::string& after) const;
    std::string file(const std::string& name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

std::string readBytes(const std::string& path);

}  // namespace at::test
