#include "platform/file_calls.h"

#include <fcntl.h>
#include <unistd.h>

namespace at {
namespace {

class SystemFileCalls final : public FileCalls {
  public:
    int open(const char* path, int flags, mode_t mode) override {
        return ::open(path, flags, mode);
    }
    int fstat(int fd, struct stat* st) override { return ::fstat(fd, st); }
    ssize_t read(int fd, void* buffer, std::size_t size) override {
        return ::read(fd, buffer, size);
    }
    ssize_t write(int fd, const void* buffer, std::size_t size) override {
        return ::write(fd, buffer, size);
    }
    int close(int fd) override { return ::close(fd); }
};

SystemFileCalls systemCalls;
FileCalls* current = &systemCalls;

}  // namespace

FileCalls& fileCalls() {
    return *current;
}
FileCalls& systemFileCalls() {
    return systemCalls;
}

ScopedFileCalls::ScopedFileCalls(FileCalls& calls) : previous_(current) {
    current = &calls;
}
ScopedFileCalls::~ScopedFileCalls() {
    current = previous_;
}

}  // namespace at
