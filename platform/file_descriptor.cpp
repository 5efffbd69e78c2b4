#include "platform/file_descriptor.h"

#include <cerrno>
#include <utility>

namespace at {

FileDescriptor::~FileDescriptor() {
    if (fd_ >= 0)
        calls_->close(fd_);
}

FileDescriptor::FileDescriptor(FileDescriptor&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), calls_(other.calls_) {}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0)
            calls_->close(fd_);
        fd_ = std::exchange(other.fd_, -1);
        calls_ = other.calls_;
    }
    return *this;
}

ssize_t FileDescriptor::readSome(void* buffer, std::size_t size) const {
    for (;;) {
        const ssize_t n = calls_->read(fd_, buffer, size);
        if (n >= 0 || errno != EINTR)
            return n;
    }
}

bool FileDescriptor::close() {
    if (fd_ < 0)
        return true;
    return calls_->close(std::exchange(fd_, -1)) == 0;
}

}  // namespace at
