#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>

#include "platform/file_calls.h"

namespace at {

// An open file of the operating system, closed when its owner goes, also when a failure ends the
// command. Every call on it goes through the calls it was opened with, so a test's faulty calls
// see the file's whole life.
class FileDescriptor {
  public:
    FileDescriptor() = default;
    // Takes `fd` as returned by `calls.open`; a negative one owns nothing.
    explicit FileDescriptor(int fd, FileCalls& calls = fileCalls()) : fd_(fd), calls_(&calls) {}
    // Closes without reporting: only reached when the file is no longer needed or a failure is
    // already on its way up.
    ~FileDescriptor();
    FileDescriptor(FileDescriptor&& other) noexcept;
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    int get() const { return fd_; }

    // What one successful read gives, up to `size` bytes, 0 at the end of the file; a read that
    // a signal interrupted is made again. -1 with errno set when the read fails.
    ssize_t readSome(void* buffer, std::size_t size) const;
    // Writes all `size` bytes, a write that a signal interrupted made again; false with errno set
    // when a write fails (ENOSPC when the system takes no byte at all).
    bool writeAll(const void* data, std::size_t size) const;
    // The file's size in bytes as it stands now; -1 with errno set when the system cannot tell.
    std::int64_t size() const;
    // Closes now; a failure (a full disk can show only here) returns false with errno set. The
    // descriptor is given up either way.
    bool close();

  private:
    int fd_ = -1;
    FileCalls* calls_ = nullptr;
};

}  // namespace at
