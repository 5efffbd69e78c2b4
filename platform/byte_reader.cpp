#include "platform/byte_reader.h"

#include <unistd.h>

#include <cerrno>

#include "platform/text_file.h"

namespace at {

ByteReader::ByteReader(const std::string& path)
    : path_(path), file_(openRegularFileForReading(path)) {}

std::size_t ByteReader::read(char* buffer, std::size_t size) {
    std::size_t got = 0;
    while (got < size && file_.isOpen()) {
        const ssize_t n = file_.readSome(buffer + got, size - got);
        if (n < 0)
            throw fileError(errno, path_).withByteOffset(offset_ + static_cast<std::int64_t>(got));
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    offset_ += static_cast<std::int64_t>(got);
    return got;
}

void ByteReader::seek(std::int64_t offset) {
    if (::lseek(file_.get(), static_cast<off_t>(offset), SEEK_SET) < 0)
        throw fileError(errno, path_).withByteOffset(offset);
    offset_ = offset;
}

std::int64_t ByteReader::size() const {
    const std::int64_t bytes = file_.size();
    if (bytes < 0)
        throw fileError(errno, path_);
    return bytes;
}

void ByteReader::close() {
    if (!file_.close())
        throw fileError(errno, path_);
}

}  // namespace at
