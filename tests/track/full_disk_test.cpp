// A split into a file system that fills up on the way: a real small tmpfs where this process may
// mount one, so the full disk is the kernel's own and not an injected one.
#include <gtest/gtest.h>
#include <sys/mount.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "formats/splitter.h"
#include "platform/runtime_error.h"
#include "tests/support/temp_dir.h"
#include "tests/support/track_text.h"

namespace at {
namespace {

namespace fs = std::filesystem;

class SmallFileSystem {
  public:
    SmallFileSystem(const std::string& folder, const char* size) : folder_(folder) {
        fs::create_directory(folder_);
        const std::string options = std::string("size=") + size;
        mounted_ = ::mount("tmpfs", folder_.c_str(), "tmpfs", 0, options.c_str()) == 0;
        error_ = errno;
    }
    ~SmallFileSystem() {
        if (mounted_)
            ::umount2(folder_.c_str(), MNT_DETACH);
    }
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    bool mounted() const { return mounted_; }
    const char* reason() const { return std::strerror(error_); }

  private:
    std::string folder_;
    bool mounted_ = false;
    int error_ = 0;
};

std::string point(int number) {
    return test::pointLine(40.0 + number * 1e-5, -3.5, 2000, test::clock(number % 86400));
}

std::string piece(int first, int last) {
    std::vector<std::string> lines;
    for (int i = first; i <= last; ++i)
        lines.push_back(point(i));
    return test::trackText(lines);
}

TEST(FullDisk, SplitKeepsTheFilesBeforeAndClaimsNothing) {
    test::TempDir dir;
    const SmallFileSystem disk(dir.file("disco"), "2m");
    if (!disk.mounted()) {
        GTEST_SKIP() << "cannot mount a small tmpfs here (" << disk.reason()
                     << "); splitter_test covers the full disk by injection";
    }
    // About 1 MB of source in 2 MB: the outputs fill the rest after three or four files.
    const int count = 20000;
    const std::string source = dir.write("disco/ruta.plt", piece(1, count));
    const int openBefore = test::openFileCount();
    int failing = 0;
    try {
        splitTrack(source, "5002");  // files of 5000 points
        ADD_FAILURE() << "the split reported success on a full disk";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.kind(), ErrorKind::DiskFull) << e.message();
        EXPECT_EQ(e.message().rfind("Disco lleno", 0), 0u);
        for (int n = 1; n <= 5 && failing == 0; ++n) {
            if (e.file() == splitFileName(source, n))
                failing = n;
        }
    }
    EXPECT_EQ(test::openFileCount(), openBefore);
    ASSERT_GT(failing, 1) << "the disk was full before the first file";
    for (int n = 1; n < failing; ++n) {
        const int first = n == 1 ? 1 : (n - 1) * 5000;
        EXPECT_EQ(test::readBytes(splitFileName(source, n)), piece(first, n * 5000)) << n;
    }
    EXPECT_FALSE(fs::exists(splitFileName(source, failing + 1)));
}

}  // namespace
}  // namespace at
