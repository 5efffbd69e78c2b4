#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "platform/file_calls.h"

// Inputs and file systems that fight back, shared by the tests of the three commands.
namespace at::test {

// Faults on one path: its n-th open for reading fails (optionally after the file was really
// deleted, so the failure is the system's own), or the m-th read of the file opened by a given
// open fails.
class PathFaults final : public FileCalls {
  public:
    explicit PathFaults(std::string path) : path_(std::move(path)) {}

    int failOpen = 0;
    int openErrno = ENOENT;
    bool deleteBeforeFailingOpen = false;
    int failReadsOfOpen = 0;
    int failReadNumber = 1;
    int readErrno = EIO;

    int opens() const { return opens_; }

    int open(const char* path, int flags, mode_t mode) override {
        const bool ours = path_ == path && (flags & O_ACCMODE) == O_RDONLY;
        if (ours && ++opens_ == failOpen) {
            if (deleteBeforeFailingOpen) {
                ::unlink(path);
                return systemFileCalls().open(path, flags, mode);
            }
            errno = openErrno;
            return -1;
        }
        const int fd = systemFileCalls().open(path, flags, mode);
        if (ours && opens_ == failReadsOfOpen)
            watchedFd_ = fd;
        return fd;
    }
    int fstat(int fd, struct stat* st) override { return systemFileCalls().fstat(fd, st); }
    ssize_t read(int fd, void* buffer, std::size_t size) override {
        if (fd == watchedFd_ && ++reads_ == failReadNumber) {
            errno = readErrno;
            return -1;
        }
        return systemFileCalls().read(fd, buffer, size);
    }
    ssize_t write(int fd, const void* buffer, std::size_t size) override {
        return systemFileCalls().write(fd, buffer, size);
    }
    int close(int fd) override {
        if (fd == watchedFd_)
            watchedFd_ = -1;
        return systemFileCalls().close(fd);
    }

  private:
    std::string path_;
    int opens_ = 0;
    int reads_ = 0;
    int watchedFd_ = -1;
};

// A disk on which every write fails: it is full.
class FullDisk final : public FileCalls {
  public:
    int open(const char* p, int f, mode_t m) override { return systemFileCalls().open(p, f, m); }
    int fstat(int fd, struct stat* st) override { return systemFileCalls().fstat(fd, st); }
    ssize_t read(int fd, void* b, std::size_t n) override {
        return systemFileCalls().read(fd, b, n);
    }
    ssize_t write(int, const void*, std::size_t) override {
        errno = ENOSPC;
        return -1;
    }
    int close(int fd) override { return systemFileCalls().close(fd); }
};

// Bytes of every value, line ends among them, the same on every run.
inline std::string binaryGarbage(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (auto& b : bytes)
        b = static_cast<char>(random() & 0xFF);
    return bytes;
}

// The lines of `bytes` by the reading rule (CR, CR LF or LF ends a line; a terminator at the very
// end starts no further line), written out independently of the reader under test.
inline std::vector<std::string> linesOf(const std::string& bytes) {
    std::vector<std::string> lines;
    std::string current;
    bool open = false;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(current);
            current.clear();
            open = false;
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        } else {
            current += c;
            open = true;
        }
    }
    if (open)
        lines.push_back(current);
    return lines;
}

}  // namespace at::test
