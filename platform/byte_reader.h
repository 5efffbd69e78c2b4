#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/file_descriptor.h"

// A file read as bytes, in the caller's chunks: the XML and FIT track readers. Regular files only,
// opened and read through fileCalls(), closed when the object goes.
namespace at {

class ByteReader {
  public:
    explicit ByteReader(const std::string& path);

    // Up to `size` bytes; fewer only at the end of the file, 0 there. A failed read is the
    // device's error, naming the offset it failed at.
    std::size_t read(char* buffer, std::size_t size);
    // Reading goes on from `offset` of the file.
    void seek(std::int64_t offset);
    // The size of the file, as it stands now.
    std::int64_t size() const;
    // Bytes handed out so far: the offset of the next byte.
    std::int64_t offset() const { return offset_; }
    const std::string& path() const { return path_; }
    void close();

  private:
    std::string path_;
    FileDescriptor file_;
    std::int64_t offset_ = 0;
};

}  // namespace at
