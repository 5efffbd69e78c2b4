#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>

// The operating-system calls behind our text files. Tests put a faulty implementation in place
// (a full disk, a failing device) to prove that every failure is reported and nothing is left
// open.
namespace at {

class FileCalls {
  public:
    virtual ~FileCalls() = default;
    virtual int open(const char* path, int flags, mode_t mode) = 0;
    virtual int fstat(int fd, struct stat* st) = 0;
    virtual ssize_t read(int fd, void* buffer, std::size_t size) = 0;
    virtual ssize_t write(int fd, const void* buffer, std::size_t size) = 0;
    virtual int close(int fd) = 0;
};

// The calls in force: the system's, unless a test has put others in place.
FileCalls& fileCalls();

// The system's own calls, for fault injectors that forward to them.
FileCalls& systemFileCalls();

// Puts `calls` in place for its lifetime.
class ScopedFileCalls {
  public:
    explicit ScopedFileCalls(FileCalls& calls);
    ~ScopedFileCalls();
    ScopedFileCalls(const ScopedFileCalls&) = delete;
    ScopedFileCalls& operator=(const ScopedFileCalls&) = delete;

  private:
    FileCalls* previous_;
};

}  // namespace at
