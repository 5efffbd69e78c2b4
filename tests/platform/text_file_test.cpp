#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <random>
#include <string>
#include <vector>

#include "platform/file_calls.h"
#include "platform/input_limits.h"
#include "platform/text_file.h"
#include "tests/support/hostile_files.h"
#include "tests/support/temp_dir.h"

namespace at {
namespace {

using test::TempDir;

std::vector<std::string> readAll(const std::string& path) {
    LineReader reader(path);
    std::vector<std::string> lines;
    std::string line;
    while (!reader.atEnd()) {
        reader.readLine(line);
        lines.push_back(line);
    }
    return lines;
}

struct LineCase {
    std::string bytes;
    std::vector<std::string> lines;
};

TEST(LineReader, EndsLinesAtCrCrLfAndLoneLf) {
    const LineCase cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\r\nb", {"a", "b"}},
        {"a\nb\n", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\r\n\r\n", {"a", ""}},
        {"\n", {""}},
        {"a\n\rb", {"a", "", "b"}},
        {"a\r\r\nb", {"a", "", "b"}},
        {std::string("n\0l\r\n", 5), {std::string("n\0l", 3)}},
    };
    TempDir dir;
    for (const auto& c : cases) {
        const auto path = dir.write("f.txt", c.bytes);
        EXPECT_EQ(readAll(path), c.lines);
        EXPECT_EQ(countLines(path), static_cast<std::int64_t>(c.lines.size()));
    }
}

TEST(LineReader, CrLfSplitAcrossTheBufferIsOneTerminator) {
    TempDir dir;
    const std::size_t buffer = std::size_t{1} << 20;
    const std::string first(buffer - 1, 'x');
    // The longest line there may be, across the next buffer.
    const std::string longLine(kMostLineBytes, 'y');
    const auto path = dir.write("f.txt", first + "\r\n" + longLine + "\r\nz");
    EXPECT_EQ(readAll(path), (std::vector<std::string>{first, longLine, "z"}));
    EXPECT_EQ(countLines(path), 3);
}

TEST(LineReader, ReadingPastTheEndNamesFileAndLine) {
    TempDir dir;
    const auto path = dir.write("corto.plt", "uno\r\ndos\r\n");
    LineReader reader(path);
    std::string line;
    reader.readLine(line);
    reader.readLine(line);
    try {
        reader.readLine(line);
        FAIL();
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.kind(), ErrorKind::PastEndOfFile);
        EXPECT_EQ(e.file(), path);
        EXPECT_EQ(e.line(), 3);
    }
}

TEST(LineReader, RefusesWhatIsNotARegularFile) {
    TempDir dir;
    const auto fifo = dir.file("tuberia.plt");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const int before = test::openFileCount();
    struct Case {
        std::string path;
        ErrorKind kind;
    };
    const Case cases[] = {
        {dir.path().string(), ErrorKind::PathFileAccess},
        {fifo, ErrorKind::PathFileAccess},  // must not wait for a writer
        {"/dev/null", ErrorKind::PathFileAccess},
        {dir.file("no existe.plt"), ErrorKind::FileNotFound},
        {"-vacio-", ErrorKind::FileNotFound},
        {"", ErrorKind::FileNotFound},
    };
    for (const auto& c : cases) {
        try {
            LineReader reader(c.path);
            ADD_FAILURE() << c.path;
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.kind(), c.kind) << c.path;
            EXPECT_EQ(e.file(), c.path);
        }
        EXPECT_THROW(countLines(c.path), RuntimeError);
    }
    EXPECT_EQ(test::openFileCount(), before);
}

TEST(LineCount, AgreesWithTheReaderOnRandomBytes) {
    TempDir dir;
    std::mt19937 random(7);
    const char alphabet[] = {'\r', '\n', 'a', ' ', ','};
    for (int round = 0; round < 200; ++round) {
        std::string bytes(random() % 90, ' ');
        for (auto& b : bytes)
            b = alphabet[random() % sizeof alphabet];
        const auto path = dir.write("r.txt", bytes);
        EXPECT_EQ(countLines(path), static_cast<std::int64_t>(readAll(path).size())) << bytes;
        EXPECT_EQ(countLineTerminators(bytes.data(), bytes.size()) +
                      (!bytes.empty() && bytes.back() != '\r' && bytes.back() != '\n'),
                  countLines(path));
    }
}

// A count that only has to reach a limit stops once the bytes left cannot make up the difference.
TEST(LineCount, UpToALimit) {
    TempDir dir;
    const auto path = dir.write("n.txt", std::string(3 << 20, 'x') + "\n" + std::string(10, '\n'));
    for (const std::int64_t limit : {0, 11, 12}) {
        ASSERT_TRUE(countLinesIfAtLeast(path, limit).has_value()) << limit;
        EXPECT_EQ(*countLinesIfAtLeast(path, limit), 11);
    }
    EXPECT_FALSE(countLinesIfAtLeast(path, 13).has_value());
    // Beyond any line the size allows, nothing needs reading.
    test::PathFaults faults(path);
    faults.failReadsOfOpen = 1;
    ScopedFileCalls scoped(faults);
    EXPECT_FALSE(countLinesIfAtLeast(path, (3 << 20) + 13).has_value());
}

TEST(LineCount, CountsACrLfSplitBetweenReadsOnce) {
    TempDir dir;
    const std::size_t buffer = std::size_t{1} << 20;
    const auto path = dir.write("f.txt", std::string(buffer - 1, 'x') + "\r\n" + "b\rc\n");
    EXPECT_EQ(countLines(path), 3);
}

TEST(LineWriter, WritesEveryLineWithCrLfAndOverwrites) {
    TempDir dir;
    const auto path = dir.write("out.plt", "old content that is longer than the new one");
    LineWriter writer(path);
    writer.writeLine("uno");
    writer.writeLine("");
    writer.writeLine(std::string("\xE9t\xE9", 3));
    writer.close();
    EXPECT_EQ(test::readBytes(path), "uno\r\n\r\n\xE9t\xE9\r\n");
}

TEST(LineWriter, LinesLongerThanTheBufferArriveWhole) {
    TempDir dir;
    const std::string big(3 * (std::size_t{1} << 20) + 5, 'q');
    const auto path = dir.file("big.plt");
    LineWriter writer(path);
    writer.writeLine("a");
    writer.writeLine(big);
    writer.close();
    EXPECT_EQ(test::readBytes(path), "a\r\n" + big + "\r\n");
}

// Forwards to the system but fails the chosen call with the chosen errno.
class FailingCalls : public FileCalls {
  public:
    enum class Failing { Write, Close, Read };
    FailingCalls(Failing which, int error) : which_(which), error_(error) {}
    int open(const char* p, int f, mode_t m) override { return systemFileCalls().open(p, f, m); }
    int fstat(int fd, struct stat* st) override { return systemFileCalls().fstat(fd, st); }
    ssize_t read(int fd, void* b, std::size_t n) override {
        if (which_ == Failing::Read)
            return fail();
        return systemFileCalls().read(fd, b, n);
    }
    ssize_t write(int fd, const void* b, std::size_t n) override {
        if (which_ == Failing::Write)
            return fail();
        return systemFileCalls().write(fd, b, n);
    }
    int close(int fd) override {
        const int result = systemFileCalls().close(fd);
        if (which_ == Failing::Close)
            return fail();
        return result;
    }

  private:
    int fail() {
        errno = error_;
        return -1;
    }
    Failing which_;
    int error_;
};

TEST(LineWriter, EveryFailureIsReportedAndNothingIsLeftOpen) {
    struct Case {
        FailingCalls::Failing which;
        int error;
        ErrorKind kind;
    };
    const Case cases[] = {
        {FailingCalls::Failing::Write, ENOSPC, ErrorKind::DiskFull},
        {FailingCalls::Failing::Write, EIO, ErrorKind::DeviceIo},
        {FailingCalls::Failing::Close, ENOSPC, ErrorKind::DiskFull},
        {FailingCalls::Failing::Close, EIO, ErrorKind::DeviceIo},
    };
    TempDir dir;
    for (const auto& c : cases) {
        const int before = test::openFileCount();
        FailingCalls calls(c.which, c.error);
        ScopedFileCalls scope(calls);
        try {
            LineWriter writer(dir.file("x.plt"));
            writer.writeLine("linea");
            writer.close();
            ADD_FAILURE() << "no error";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.kind(), c.kind);
            EXPECT_EQ(e.file(), dir.file("x.plt"));
        }
        EXPECT_EQ(test::openFileCount(), before);
    }
}

TEST(LineReader, ReadFailureIsADeviceErrorWithTheLine) {
    TempDir dir;
    const auto path = dir.write("t.plt", "a\r\nb\r\n");
    FailingCalls calls(FailingCalls::Failing::Read, EIO);
    const int before = test::openFileCount();
    {
        ScopedFileCalls scope(calls);
        try {
            LineReader reader(path);
            reader.atEnd();
            FAIL();
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.kind(), ErrorKind::DeviceIo);
            EXPECT_EQ(e.line(), 1);
        }
        EXPECT_THROW(countLines(path), RuntimeError);
    }
    EXPECT_EQ(test::openFileCount(), before);
}

TEST(LineWriter, UnwritableFolderIsAnAccessError) {
    try {
        LineWriter writer("/proc/no-such-folder/x.plt");
        FAIL();
    } catch (const RuntimeError& e) {
        EXPECT_TRUE(e.kind() == ErrorKind::FileNotFound || e.kind() == ErrorKind::PathFileAccess);
    }
}

}  // namespace
}  // namespace at

namespace at {
namespace {

TEST(FileError, ReasonIsSpanishWhateverTheProcessLocale) {
    const std::pair<int, const char*> cases[] = {
        {ENOENT,
         "No se ha encontrado el archivo\nEl archivo o alguna carpeta de la ruta no existe."},
        {EACCES, "Error de acceso a la ruta o al archivo\nPermiso denegado."},
        {ENOSPC, "Disco lleno\nNo queda espacio en el dispositivo."},
        {EIO, "Error de E/S en el dispositivo\nError de entrada/salida."},
    };
    for (const auto& [error, start] : cases) {
        const auto message = fileError(error, "/tmp/x.plt").message();
        EXPECT_EQ(message.rfind(start, 0), 0u) << message;
        EXPECT_NE(message.find("Archivo: /tmp/x.plt"), std::string::npos);
    }
}

}  // namespace
}  // namespace at
