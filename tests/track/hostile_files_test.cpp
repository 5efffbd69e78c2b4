// Hostile files through the point count and the splitter: neither looks inside a line, so
// whatever the bytes hold they are counted and copied line for line, and what is not a readable
// regular file ends the command with the right error, nothing written and nothing left open.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "formats/splitter.h"
#include "platform/file_calls.h"
#include "platform/input_limits.h"
#include "platform/runtime_error.h"
#include "tests/support/hostile_files.h"
#include "tests/support/temp_dir.h"
#include "tests/support/track_text.h"
#include "track/track_file.h"

namespace at {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

std::vector<std::string> points(int count) {
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i)
        lines.push_back(test::pointLine(40.0 + i * 1e-4, -3.5, 2000, test::clock(36000 + i)));
    return lines;
}

std::string header() {
    return test::trackText({});
}

// The output files of a split, re-read: each must be the header and lines of the source, CR LF
// after every line, each file after the first opening with the line that closed the one before.
// Returns the point lines put back together.
std::vector<std::string> reassemble(const std::string& source, int& files) {
    std::vector<std::string> points;
    files = 0;
    for (int n = 1; fs::exists(splitFileName(source, n)); ++n) {
        const std::string bytes = test::readBytes(splitFileName(source, n));
        EXPECT_TRUE(bytes.size() >= 2 && bytes.substr(bytes.size() - 2) == "\r\n") << n;
        std::vector<std::string> lines;
        for (std::size_t start = 0, end; (end = bytes.find("\r\n", start)) != std::string::npos;
             start = end + 2) {
            lines.push_back(bytes.substr(start, end - start));
        }
        EXPECT_GE(lines.size(), 6u) << n;
        std::size_t first = 6;
        if (n > 1 && lines.size() > 6) {
            EXPECT_FALSE(points.empty());
            if (!points.empty()) {
                EXPECT_EQ(lines[6], points.back()) << "file " << n << " does not repeat the line";
            }
            first = 7;
        }
        for (std::size_t i = first; i < lines.size(); ++i)
            points.push_back(lines[i]);
        files = n;
    }
    return points;
}

struct Hostile {
    const char* name;
    std::string bytes;
    const char* pointsPerFile;
    std::int64_t count;  // the point count: every line, minus six
};

std::vector<Hostile> hostileFiles() {
    const std::string h = header();
    const std::string fifty(50u << 20, '7');
    std::string mixed = h;
    const char* ends[] = {"\r", "\n", "\r\n"};
    for (int i = 0; i < 7; ++i)
        mixed += points(7)[i] + ends[i % 3];
    return {
        {"NUL bytes", h + std::string(200, '\0'), "5", 1},
        {"NUL bytes between line ends", h + std::string("\0\0\r\n\0,\0\r\n\0", 10), "3", 3},
        {"binary garbage after the header", h + test::binaryGarbage(8192, 11), "5", -1},
        {"binary garbage only", test::binaryGarbage(8192, 12), "5", -1},
        {"a single 50 MB line", fifty, "5", -5},
        {"a 50 MB point line", h + fifty + "\r\n" + points(1)[0], "5", 2},
        {"CR-only line ends", test::trackText(points(7), "\r"), "5", 7},
        {"LF-only line ends", test::trackText(points(7), "\n"), "5", 7},
        {"mixed line ends", mixed, "5", 7},
        {"CR CR LF is two line ends", h + "a\r\r\nb", "5", 3},
        {"a header of five lines", "1\r\n2\r\n3\r\n4\r\n5\r\n", "5", -1},
        {"an empty file", "", "5", -6},
        {"40,000 point lines", test::trackText(points(40000)), "10000", 40000},
        {"coordinates beyond 32 bits", h + "4000.000000,-4000.000000,0,1,0,x,10:00:00\r\n", "5", 1},
        {"a coordinate step that overflows",
         h + "2000.000000,1,0,1,0,x,10:00:00\r\n-2000.000000,1,0,1,0,x,10:00:01\r\n", "3", 2},
        {"altitude 40000", h + "1.0,1.0,0,40000,0,x,10:00:00\r\n", "5", 1},
        {"time 25:61:61", h + "1.0,1.0,0,4,0,x,25:61:61\r\n", "5", 1},
        {"time ab:cd:ef", h + "1.0,1.0,0,4,0,x,ab:cd:ef\r\n", "5", 1},
    };
}

TEST(HostileFiles, CountAndSplitTakeEveryLineAsItIs) {
    for (const Hostile& c : hostileFiles()) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string source = dir.write("Año nuevo ruta.plt", c.bytes);
        const std::vector<std::string> lines = test::linesOf(c.bytes);
        if (c.count != -1) {  // -1: garbage, whose lines only the reference can tell
            EXPECT_EQ(countPointLines(source), c.count);
        }
        EXPECT_EQ(countPointLines(source), static_cast<std::int64_t>(lines.size()) - 6);

        const int openBefore = test::openFileCount();
        const auto longLine = std::find_if(lines.begin(), lines.end(), [](const std::string& l) {
            return l.size() > kMostLineBytes;
        });
        if (longLine != lines.end()) {
            // No line is held beyond 1 MiB: the split ends at it, and the pieces before it stay.
            const auto number = static_cast<std::int64_t>(longLine - lines.begin()) + 1;
            try {
                splitTrack(source, c.pointsPerFile);
                ADD_FAILURE() << "a line of " << longLine->size() << " bytes was copied";
            } catch (const RuntimeError& e) {
                EXPECT_EQ(e.kind(), ErrorKind::Overflow);
                EXPECT_EQ(e.file(), source);
                EXPECT_EQ(e.line(), number);
                EXPECT_LT(e.message().size(), 1000u) << "the message carries the whole line";
            }
            EXPECT_EQ(fs::exists(splitFileName(source, 1)), number > 6);
        } else if (lines.size() < 6) {
            try {
                splitTrack(source, c.pointsPerFile);
                ADD_FAILURE() << "a source of " << lines.size() << " lines was split";
            } catch (const RuntimeError& e) {
                EXPECT_EQ(e.kind(), ErrorKind::PastEndOfFile);
                EXPECT_EQ(e.file(), source);
                EXPECT_EQ(e.line(), static_cast<std::int64_t>(lines.size()) + 1);
                EXPECT_LT(e.message().size(), 1000u) << "the message carries the whole line";
            }
            EXPECT_FALSE(fs::exists(splitFileName(source, 1)));
        } else {
            ASSERT_NO_THROW(splitTrack(source, c.pointsPerFile));
            int files = 0;
            const std::vector<std::string> copied = reassemble(source, files);
            EXPECT_TRUE(copied == std::vector<std::string>(lines.begin() + 6, lines.end()))
                << "the outputs do not put the source back together";
            EXPECT_GE(files, 1);
        }
        EXPECT_EQ(test::openFileCount(), openBefore);
    }
}

// The count (or the split) of `path`, which must fail: the error it ends with.
std::optional<RuntimeError> failureOfCountOrSplit(bool split, const std::string& path,
                                                  const char* pointsPerFile) {
    try {
        if (split) {
            splitTrack(path, pointsPerFile);
        } else {
            countPointLines(path);
        }
    } catch (const RuntimeError& e) {
        return e;
    }
    return std::nullopt;
}

// What is not a regular file is refused before it is read: a FIFO would block the window, a
// device would never end. The split then creates nothing beside it.
TEST(HostilePaths, OnlyRegularFilesAreCountedOrSplit) {
    TempDir dir;
    const std::string fifo = dir.file("tubería.plt");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string link = dir.file("enlace a tubería.plt");
    fs::create_symlink(fifo, link);
    fs::create_directory(dir.file("carpeta.plt"));
    const std::string paths[] = {dir.file("carpeta.plt"), fifo, link, "/dev/null", "/dev/zero"};
    const int openBefore = test::openFileCount();
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        for (const bool split : {false, true}) {
            const auto e = failureOfCountOrSplit(split, path, "500");
            ASSERT_TRUE(e) << "accepted";
            EXPECT_EQ(e->kind(), ErrorKind::PathFileAccess);
            EXPECT_EQ(e->message().rfind("Error de acceso a la ruta o al archivo", 0), 0u);
            EXPECT_EQ(e->file(), path);
        }
        EXPECT_FALSE(fs::exists(splitFileName(path, 1)));
        EXPECT_EQ(test::openFileCount(), openBefore);
    }
}

TEST(HostilePaths, NamesWithSpacesAndAccentsAreReadAndWritten) {
    TempDir dir;
    fs::create_directory(dir.path() / "Año nuevo");
    const std::string source = dir.write("Año nuevo/ruta ñ.plt", test::trackText(points(10)));
    EXPECT_EQ(countPointLines(source), 10);
    splitTrack(source, "5");
    for (int n = 1; n <= 4; ++n)
        EXPECT_TRUE(
            fs::exists(dir.path() / "Año nuevo" / ("ruta ñ.plt." + std::to_string(n) + ".plt")));
    int files = 0;
    EXPECT_EQ(reassemble(source, files), points(10));
    EXPECT_EQ(files, 4);
}

// What already lies where a piece goes is never written through: a link to a file elsewhere or to
// the source, a hard link to the source, a FIFO. The split ends there naming it, the pieces
// before it stay, and the files behind it are as they were.
TEST(HostilePaths, NothingInAPiecesPlaceIsWrittenThrough) {
    for (const char* inTheWay : {"link elsewhere", "link to the source", "hard link", "FIFO"}) {
        SCOPED_TRACE(inTheWay);
        TempDir dir;
        TempDir other;
        const std::string source = dir.write("ruta.plt", test::trackText(points(10)));
        const std::string elsewhere = other.write("otro.txt", "intacto");
        const std::string piece = splitFileName(source, 2);
        const std::string kind = inTheWay;
        if (kind == "FIFO") {
            ASSERT_EQ(mkfifo(piece.c_str(), 0600), 0);
        } else if (kind == "hard link") {
            fs::create_hard_link(source, piece);
        } else {
            fs::create_symlink(kind == "link elsewhere" ? elsewhere : source, piece);
        }
        const int openBefore = test::openFileCount();
        const auto e = failureOfCountOrSplit(true, source, "5");
        ASSERT_TRUE(e) << "the split reported success";
        EXPECT_EQ(e->kind(), ErrorKind::PathFileAccess);
        EXPECT_EQ(e->file(), piece);
        EXPECT_EQ(test::openFileCount(), openBefore);
        EXPECT_EQ(test::readBytes(source), test::trackText(points(10)));
        EXPECT_EQ(test::readBytes(elsewhere), "intacto");
        EXPECT_EQ(test::readBytes(splitFileName(source, 1)), test::trackText(points(3)));
        EXPECT_FALSE(fs::exists(splitFileName(source, 3)));
    }
}

struct OpenFailure {
    const char* name;
    int error;
    bool deleted;
    ErrorKind kind;
};

// A source that disappears or is refused when it is opened: the right error, naming it, and
// nothing written.
TEST(HostilePaths, SourceRefusedOrGoneAtItsOpen) {
    const OpenFailure cases[] = {
        {"deleted before it is opened", ENOENT, true, ErrorKind::FileNotFound},
        {"permission denied", EACCES, false, ErrorKind::PathFileAccess},
        {"operation not permitted", EPERM, false, ErrorKind::PathFileAccess},
        {"device error", EIO, false, ErrorKind::DeviceIo},
    };
    for (const OpenFailure& c : cases) {
        for (const bool split : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (split ? " (split)" : " (count)"));
            TempDir dir;
            const std::string source = dir.write("ruta.plt", test::trackText(points(5)));
            test::PathFaults faults(source);
            faults.failOpen = 1;
            faults.openErrno = c.error;
            faults.deleteBeforeFailingOpen = c.deleted;
            const int openBefore = test::openFileCount();
            {
                ScopedFileCalls scoped(faults);
                const auto e = failureOfCountOrSplit(split, source, "3");
                ASSERT_TRUE(e) << "no error";
                EXPECT_EQ(e->kind(), c.kind);
                EXPECT_EQ(e->file(), source);
            }
            EXPECT_FALSE(fs::exists(splitFileName(source, 1)));
            EXPECT_EQ(test::openFileCount(), openBefore);
        }
    }
}

// Permissions do not stop root, so under root only the injected refusal above covers this.
TEST(HostilePaths, UnreadableSourceByItsPermissions) {
    if (geteuid() == 0)
        GTEST_SKIP() << "running as root: permissions do not refuse a read";
    TempDir dir;
    const std::string source = dir.write("ruta.plt", test::trackText(points(5)));
    fs::permissions(source, fs::perms::none);
    const int openBefore = test::openFileCount();
    for (const bool split : {false, true}) {
        const auto e = failureOfCountOrSplit(split, source, "3");
        ASSERT_TRUE(e) << "no error";
        EXPECT_EQ(e->kind(), ErrorKind::PathFileAccess);
        EXPECT_EQ(e->file(), source);
    }
    EXPECT_FALSE(fs::exists(splitFileName(source, 1)));
    EXPECT_EQ(test::openFileCount(), openBefore);
}

}  // namespace
}  // namespace at
