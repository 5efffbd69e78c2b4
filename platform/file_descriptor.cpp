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

bool FileDescriptor::writeAll(const void* data, std::size_t size) const {
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = calls_->write(fd_, bytes, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        bytes += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

std::int64_t FileDescriptor::size() const {
    struct stat st {};
    if (calls_->fstat(fd_, &st) != 0)
        return -1;
    return static_cast<std::int64_t>(st.st_size);
}

bool FileDescriptor::close() {
    if (fd_ < 0)
        return true;
    return calls_->close(std::exchange(fd_, -1)) == 0;
}

}  // namespace at
