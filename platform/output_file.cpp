#include "platform/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>

#include "platform/file_calls.h"
#include "platform/file_descriptor.h"
#include "platform/text_file.h"

namespace at {
namespace {

constexpr int kMostNameAttempts = 100;

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A name in `folder` that is hidden and short, whatever the length of the output's own name.
std::string temporaryName(const std::string& folder) {
    static std::mt19937_64 random{std::random_device{}()};
    char name[40];
    std::snprintf(name, sizeof name, "/.analisis-tracks-%016llx.tmp",
                  static_cast<unsigned long long>(random()));
    return folder + name;
}

// The temporary file until it has taken the output's place: removed if anything fails first.
class TemporaryFile {
  public:
    explicit TemporaryFile(const std::string& path) : path_(path) {
        const std::string folder = folderOf(path);
        for (int attempt = 1; !file_.isOpen(); ++attempt) {
            name_ = temporaryName(folder);
            file_ = FileDescriptor(fileCalls().open(
                name_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666));
            if (!file_.isOpen() && (errno != EEXIST || attempt == kMostNameAttempts))
                throw fileError(errno, path);
        }
        keepPermissions();
    }

    ~TemporaryFile() {
        if (!name_.empty())
            ::unlink(name_.c_str());
    }

    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    void write(std::string_view bytes) {
        if (!file_.writeAll(bytes.data(), bytes.size()))
            throw fileError(errno, path_);
    }

    void replaceOutput() {
        // On the disk before it takes the place of the old file: after a crash the output is
        // either the old file or the new one.
        if (::fsync(file_.get()) != 0)
            throw fileError(errno, path_);
        if (!file_.close())
            throw fileError(errno, path_);
        if (::rename(name_.c_str(), path_.c_str()) != 0)
            throw fileError(errno, path_);
        name_.clear();
    }

  private:
    void keepPermissions() {
        struct stat st {};
        if (::stat(path_.c_str(), &st) == 0 && S_ISREG(st.st_mode))
            ::fchmod(file_.get(), st.st_mode & 07777);
    }

    std::string path_;
    std::string name_;
    FileDescriptor file_;
};

}  // namespace

bool sameFile(const std::string& a, const std::string& b) {
    struct stat first {};
    struct stat second {};
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

void writeFileWhole(const std::string& path, std::string_view bytes) {
    TemporaryFile file(path);
    file.write(bytes);
    file.replaceOutput();
}

}  // namespace at
