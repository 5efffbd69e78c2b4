// The splitter over arbitrary bytes, sometimes with a failing disk. Input: one byte choosing the
// fault, the points-per-file text up to the first line feed, then the bytes of the source.
// Every split either writes files that put the source back together (header plus its lines, each
// later file opening with the line that closed the file before), or fails with nothing claimed,
// the files before the failure complete and nothing left open. A line beyond the bound ends the
// split there, after the files of the lines before it.
#include <fcntl.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "formats/splitter.h"
#include "formats/track_format.h"
#include "fuzz/fuzz_support.h"
#include "platform/file_calls.h"
#include "platform/input_limits.h"
#include "platform/runtime_error.h"

namespace {

using at::fuzz::check;

// A disk that refuses the n-th creation of a file, or fails the n-th write.
class FaultyDisk final : public at::FileCalls {
  public:
    int failCreate = 0;
    int failWrite = 0;
    int writeErrno = ENOSPC;

    int open(const char* path, int flags, mode_t mode) override {
        if ((flags & O_ACCMODE) != O_RDONLY && ++creates_ == failCreate) {
            errno = EACCES;
            return -1;
        }
        return at::systemFileCalls().open(path, flags, mode);
    }
    int fstat(int fd, struct stat* st) override { return at::systemFileCalls().fstat(fd, st); }
    ssize_t read(int fd, void* buffer, std::size_t size) override {
        return at::systemFileCalls().read(fd, buffer, size);
    }
    ssize_t write(int fd, const void* buffer, std::size_t size) override {
        if (++writes_ == failWrite) {
            errno = writeErrno;
            return -1;
        }
        return at::systemFileCalls().write(fd, buffer, size);
    }
    int close(int fd) override { return at::systemFileCalls().close(fd); }

  private:
    int creates_ = 0;
    int writes_ = 0;
};

std::vector<std::string> crlfLines(const std::string& bytes) {
    check(bytes.size() >= 2 && bytes.compare(bytes.size() - 2, 2, "\r\n") == 0,
          "an output file does not end with CR LF", bytes);
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(bytes.substr(start, end - start));
    return lines;
}

// The files the source should give, by the rules of the division.
std::vector<std::vector<std::string>> expectedFiles(const std::vector<std::string>& lines,
                                                    double closeMark) {
    const std::vector<std::string> header(lines.begin(), lines.begin() + 6);
    const std::vector<std::string> points(lines.begin() + 6, lines.end());
    std::vector<std::vector<std::string>> files{header};
    const bool cuts = closeMark >= 1 && closeMark == std::floor(closeMark);
    std::size_t inFile = 0;
    for (const std::string& point : points) {
        files.back().push_back(point);
        if (cuts && static_cast<double>(++inFile) == closeMark) {
            inFile = 0;
            files.push_back(header);
            files.back().push_back(point);
        }
    }
    return files;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const std::string input(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::size_t newline = input.find('\n');
    if (newline == std::string::npos || newline > 24)
        return 0;
    const std::string pointsText = input.substr(0, newline);
    const std::string sourceBytes = input.substr(newline + 1);

    const auto lines = at::fuzz::splitLines(sourceBytes);
    // A line beyond the bound ends the split where it lies: what comes before it is split.
    const auto longLine = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
        return line.size() > at::kMostLineBytes;
    });
    const auto longLineNumber = static_cast<std::int64_t>(longLine - lines.begin()) + 1;
    const std::vector<std::string> readable(lines.begin(), longLine);
    const double closeMark = at::leadingNumber(pointsText) - 2.0;
    std::optional<std::vector<std::vector<std::string>>> expected;
    if (readable.size() >= 6) {
        expected = expectedFiles(readable, closeMark);
        if (expected->size() > 200)
            return 0;  // thousands of tiny files teach nothing new and only slow the run
    }

    namespace fs = std::filesystem;
    const std::string folder = at::fuzz::workFolder() + "/Año nuevo";
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    fs::create_directories(folder);
    const std::string source = folder + "/ruta ñ.plt";
    // Bytes that read as GPX, TCX or FIT belong to the targets of those readers.
    if (at::formatOfContent(sourceBytes, source) != at::TrackFormat::Plt)
        return 0;
    at::fuzz::writeFile(source, sourceBytes);

    FaultyDisk disk;
    const int fault = longLine == lines.end() ? data[0] : 0;
    if (fault & 0x80)
        disk.failCreate = fault & 0x0f;
    else if (fault & 0x40)
        disk.failWrite = fault & 0x0f;
    disk.writeErrno = (fault & 0x20) ? EIO : ENOSPC;

    const int openBefore = at::fuzz::openFileCount();
    std::optional<at::RuntimeError> failure;
    {
        at::ScopedFileCalls scoped(disk);
        try {
            at::splitTrack(source, pointsText);
        } catch (const at::RuntimeError& e) {
            failure = e;
        }
    }
    check(at::fuzz::openFileCount() == openBefore, "the split left a file open");

    if (longLine != lines.end()) {
        check(failure && failure->kind() == at::ErrorKind::Overflow &&
                  failure->line() == longLineNumber && failure->file() == source,
              "a line beyond the bound did not end the split where it lies",
              failure ? failure->what() : "");
    }
    if (!expected) {
        check(
            failure && (failure->kind() == at::ErrorKind::PastEndOfFile || longLine != lines.end()),
            "a source of fewer than six lines did not fail past its end");
        check(!at::fuzz::fileExists(at::splitFileName(source, 1)),
              "a short source left an output file");
        return 0;
    }
    // Files up to the failing one are complete; the failing one and later ones are absent or
    // partial; with no failure every file is there.
    std::size_t complete = expected->size();
    if (failure && longLine == lines.end()) {
        check(failure->kind() == at::ErrorKind::DiskFull ||
                  failure->kind() == at::ErrorKind::DeviceIo ||
                  failure->kind() == at::ErrorKind::PathFileAccess,
              "the split failed with an unexpected kind", failure->what());
        check(disk.failCreate != 0 || disk.failWrite != 0, "a split without a fault failed",
              failure->what());
        check(failure->file().has_value(), "the failure names no file", failure->what());
        complete = 0;
        while (complete < expected->size() &&
               *failure->file() != at::splitFileName(source, static_cast<int>(complete) + 1))
            ++complete;
        check(complete < expected->size(), "the failure names a file that is not an output",
              failure->what());
    }
    for (std::size_t f = 0; f < complete; ++f) {
        const std::string name = at::splitFileName(source, static_cast<int>(f) + 1);
        check(crlfLines(at::fuzz::readFile(name)) == (*expected)[f],
              "an output file differs from its share of the source", name);
    }
    for (std::size_t f = complete + 1; f <= expected->size(); ++f) {
        check(!at::fuzz::fileExists(at::splitFileName(source, static_cast<int>(f) + 1)),
              "a file beyond the failure or the last share exists");
    }
    return 0;
}
