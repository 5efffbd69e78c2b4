#include "platform/byte_reader.h"

#include <cerrno>

#include "platform/file_calls.h"
#include "platform/text_file.h"

namespace at {

ByteReader::ByteReader(const std::string& path)
    : path_(path), fd_(openRegularFileForReading(path)) {}

ByteReader::~ByteReader() {
    if (fd_ >= 0)
        fileCalls().close(fd_);
}

std::size_t ByteReader::read(char* buffer, std::size_t size) {
    std::size_t got = 0;
    while (got < size && fd_ >= 0) {
        const ssize_t n = fileCalls().read(fd_, buffer + got, size - got);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw fileError(errno, path_).withByteOffset(offset_ + static_cast<std::int64_t>(got));
        }
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    offset_ += static_cast<std::int64_t>(got);
    return got;
}

std::int64_t ByteReader::size() const {
    struct stat st {};
    if (fileCalls().fstat(fd_, &st) != 0)
        throw fileError(errno, path_);
    return static_cast<std::int64_t>(st.st_size);
}

void ByteReader::close() {
    if (fd_ < 0)
        return;
    const int fd = fd_;
    fd_ = -1;
    if (fileCalls().close(fd) != 0)
        throw fileError(errno, path_);
}

}  // namespace at
