#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/crlf_lines.h"
#include "platform/file_descriptor.h"
#include "platform/runtime_error.h"

// Sequential text files. A line ends at CR, CR LF or a lone LF; the terminator is dropped, and a
// terminator at the very end of the file starts no further line. A line longer than
// kMostLineBytes is an overflow error, so that reading holds at most that much of any file. Reading
// and writing go through large buffers, never a system call per line. Each file is closed when its
// object goes, also when a failure ends the command.
namespace at {

// The error of a failed system call on `path`, kind chosen from errno.
RuntimeError fileError(int errorNumber, const std::string& path);

// Opens `path` for reading through fileCalls(). Only regular files are opened: a folder, a FIFO or
// a device is refused with the access error instead of blocking the window.
FileDescriptor openRegularFileForReading(const std::string& path);

class LineReader {
  public:
    static constexpr std::size_t kDefaultBufferBytes = std::size_t{1} << 20;

    // Only regular files are read: a folder, a FIFO or a device is refused with the access error
    // instead of blocking the window. Each read fills a buffer of `bufferBytes`.
    explicit LineReader(const std::string& path, std::size_t bufferBytes = kDefaultBufferBytes);
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    bool atEnd() { return pos_ == end_ && !fill(linesRead_ + 1); }
    // The next line, valid until the next read. Past the end of the file this is the "input past
    // end of file" error.
    std::string_view readLine();
    void readLine(std::string& line);
    // Up to `most` next lines, where each ends in CR LF and lies whole in the buffer: lines that a
    // writer of CR LF lines would write back byte for byte, handed out in one piece. None when the
    // next line is not such a line; readLine() reads that one, with its errors.
    CrLfLines readCrLfLines(std::int64_t most);
    // Lines handed out so far.
    std::int64_t linesRead() const { return linesRead_; }
    // The size of the file in bytes, as it stands now.
    std::int64_t size() const;
    const std::string& path() const { return path_; }
    void close();

  private:
    // `lineNumber` names the line being read if the read fails.
    bool fill(std::int64_t lineNumber);
    // The line being read, whose part read so far is `start` and [more, moreEnd) what follows.
    RuntimeError lineTooLong(std::string_view start, const char* more, const char* moreEnd) const;

    std::string path_;
    FileDescriptor file_;
    std::size_t bufferBytes_;
    std::unique_ptr<char[]> buffer_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    // A line that does not lie whole in the buffer.
    std::string spill_;
    bool eof_ = false;
    std::int64_t linesRead_ = 0;
};

class LineWriter {
  public:
    // What becomes of a file already of that name.
    enum class Existing { Emptied, Untouched };

    // Creates the file, or empties an existing one. A symbolic link, a FIFO or a device of that
    // name is refused with the access error, never written through. With Existing::Untouched
    // only a new file is created: where the name is taken, or the file cannot be made, nothing
    // changes and the writer stays closed.
    explicit LineWriter(const std::string& path, Existing existing = Existing::Emptied);
    // Closes without reporting: only reached when a failure is already on its way up.
    ~LineWriter();
    LineWriter(const LineWriter&) = delete;
    LineWriter& operator=(const LineWriter&) = delete;

    // Writes the line and CR LF.
    void writeLine(std::string_view line);
    // Writes lines that already end in CR LF, as they are.
    void writeLines(const CrLfLines& lines);
    // Writes what is buffered and closes; every failure is reported (a full disk among them).
    void close();
    bool isOpen() const { return file_.isOpen(); }
    const std::string& path() const { return path_; }

  private:
    void flush();

    std::string path_;
    FileDescriptor file_;
    std::unique_ptr<char[]> buffer_;
    std::size_t used_ = 0;
};

// Lines of a file by the rule above, counted in constant memory at the speed of the disk cache.
std::int64_t countLines(const std::string& path);
// The lines of a file, counted only as far as it matters whether they reach `limit`: none as soon
// as the lines counted and the bytes not yet read (each could end one more line) cannot reach it,
// which may be long before the end; otherwise the count.
std::optional<std::int64_t> countLinesIfAtLeast(const std::string& path, std::int64_t limit);

// Terminators in `data` (LF, CR LF, lone CR), a CR at the very end counted as one.
std::int64_t countLineTerminators(const char* data, std::size_t size);

}  // namespace at
