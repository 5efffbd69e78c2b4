#include "formats/splitter.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <filesystem>
#include <functional>
#include <limits>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/file_calls.h"
#include "platform/runtime_error.h"
#include "tests/support/hostile_files.h"
#include "tests/support/temp_dir.h"
#include "tests/support/track_text.h"
#include "tests/support/xorshift.h"

namespace at {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

std::string point(int number) {
    return test::pointLine(47.466222 + number * 1e-5, 3.747318, 800 + number % 50,
                           test::clock(number % 86400));
}

std::vector<std::string> points(int count) {
    std::vector<std::string> lines;
    for (int i = 1; i <= count; ++i)
        lines.push_back(point(i));
    return lines;
}

// The expected bytes of an output file holding point lines first..last of the source.
std::string pieceText(int first, int last) {
    std::vector<std::string> lines;
    for (int i = first; i <= last; ++i)
        lines.push_back(point(i));
    return test::trackText(lines);
}

std::string headerOnly() {
    return test::trackText({});
}

// The names in the folder, the source among them.
std::set<std::string> folderNames(const TempDir& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.path())) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

std::set<std::string> expectedNames(const std::string& source, int files) {
    std::set<std::string> names{source};
    for (int i = 1; i <= files; ++i)
        names.insert(source + "." + std::to_string(i) + ".plt");
    return names;
}

// A literal's bytes, NULs included.
template <std::size_t size>
std::string bytes(const char (&literal)[size]) {
    return std::string(literal, size - 1);
}

ErrorKind splitFailure(const std::string& source, std::string_view pointsPerFile) {
    try {
        splitTrack(source, pointsPerFile);
    } catch (const RuntimeError& error) {
        return error.kind();
    }
    ADD_FAILURE() << "the split reported success";
    return ErrorKind::DivisionByZero;
}

// ---------------------------------------------------------------------------------------------
// How the points are divided

struct Piece {
    int first;
    int last;
};

struct DivisionCase {
    const char* pointsPerFile;
    int pointCount;
    std::vector<Piece> pieces;
};

class SplitDivision : public ::testing::TestWithParam<DivisionCase> {};

TEST_P(SplitDivision, FilesHoldTheExpectedRunsOfPoints) {
    const DivisionCase& c = GetParam();
    TempDir dir;
    const std::string source = dir.write("ruta.plt", test::trackText(points(c.pointCount)));

    splitTrack(source, c.pointsPerFile);

    EXPECT_EQ(folderNames(dir), expectedNames("ruta.plt", static_cast<int>(c.pieces.size())));
    for (std::size_t i = 0; i < c.pieces.size(); ++i) {
        const std::string name = splitFileName(source, static_cast<int>(i) + 1);
        EXPECT_EQ(test::readBytes(name), pieceText(c.pieces[i].first, c.pieces[i].last))
            << "file " << i + 1;
    }
}

const std::vector<Piece> kAllOf600{{1, 600}};

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitDivision,
    ::testing::Values(
        // K = 248: the first file 248 points, later ones 249 with the carried-over line.
        DivisionCase{"250", 1000, {{1, 248}, {248, 496}, {496, 744}, {744, 992}, {992, 1000}}},
        DivisionCase{"500", 1200, {{1, 498}, {498, 996}, {996, 1200}}},
        // K = 1: P + 1 files, the last holding only the carried-over point.
        DivisionCase{"3", 5, {{1, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 5}}},
        // An exact multiple of K: the last file is the header and the carried-over line.
        DivisionCase{"12", 30, {{1, 10}, {10, 20}, {20, 30}, {30, 30}}},
        DivisionCase{"250", 248, {{1, 248}, {248, 248}}}, DivisionCase{"250", 247, {{1, 247}}},
        DivisionCase{"250", 249, {{1, 248}, {248, 249}}},
        DivisionCase{"500 puntos", 1000, {{1, 498}, {498, 996}, {996, 1000}}},
        DivisionCase{"1 000", 2000, {{1, 998}, {998, 1996}, {1996, 2000}}},
        // The counter never equals a close mark that is not a whole number of at least 1.
        DivisionCase{"2", 600, kAllOf600}, DivisionCase{"1", 600, kAllOf600},
        DivisionCase{"0", 600, kAllOf600}, DivisionCase{" -3", 600, kAllOf600},
        DivisionCase{"abc", 600, kAllOf600}, DivisionCase{"250.5", 600, kAllOf600},
        DivisionCase{"3.5", 600, kAllOf600}, DivisionCase{"", 600, kAllOf600},
        // A six-line source: one file holding the header only.
        DivisionCase{"250", 0, {{1, 0}}}, DivisionCase{"3", 0, {{1, 0}}}));

// ---------------------------------------------------------------------------------------------
// The points-per-file text

struct NumberCase {
    const char* text;
    double expected;
};

class LeadingNumber : public ::testing::TestWithParam<NumberCase> {};

TEST_P(LeadingNumber, ReadsTheNumberAtTheStart) {
    const NumberCase& c = GetParam();
    EXPECT_EQ(leadingNumber(c.text), c.expected) << '"' << c.text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LeadingNumber,
    ::testing::Values(NumberCase{"250", 250}, NumberCase{"500 puntos", 500},
                      NumberCase{"1 000", 1000}, NumberCase{" -3", -3}, NumberCase{"+7", 7},
                      NumberCase{"1.2.3", 1.2}, NumberCase{"", 0}, NumberCase{"abc", 0},
                      NumberCase{"250.5", 250.5}, NumberCase{"\t7\n5 0", 750},
                      NumberCase{"- 4", -4}, NumberCase{".5", 0.5}, NumberCase{"5.", 5},
                      NumberCase{"-", 0}, NumberCase{".", 0}, NumberCase{"+-3", 0},
                      // The decimal separator of the user's settings plays no part.
                      NumberCase{"1,5", 1}, NumberCase{"1e3", 1},
                      // A carriage return is not one of the skipped blanks.
                      NumberCase{"\r250", 0}, NumberCase{"0007", 7}));

TEST(LeadingNumber, MoreDigitsThanADoubleHolds) {
    EXPECT_EQ(leadingNumber("1" + std::string(400, '0')), std::numeric_limits<double>::infinity());
    EXPECT_EQ(leadingNumber("-1" + std::string(400, '0')),
              -std::numeric_limits<double>::infinity());
    EXPECT_EQ(leadingNumber("0." + std::string(400, '0') + "1"), 0.0);
}

// ---------------------------------------------------------------------------------------------
// Bytes, line ends and names

TEST(SplitBytes, EveryLineEndBecomesCrLf) {
    struct Case {
        const char* name;
        std::string source;
    };
    const std::vector<Case> cases{
        {"CR only", test::trackText({"a1", "a2", "a3"}, "\r")},
        {"LF only", test::trackText({"a1", "a2", "a3"}, "\n")},
        {"CR LF", test::trackText({"a1", "a2", "a3"}, "\r\n")},
        {"mixed, last line unterminated", "h1\rh2\nh3\r\nh4\rh5\nh6\r\na1\ra2\na3"},
    };
    const std::string h = "h1\r\nh2\r\nh3\r\nh4\r\nh5\r\nh6\r\n";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const bool ownHeader = c.source.rfind("h1", 0) == 0;
        const std::string header = ownHeader ? h : headerOnly();
        const std::string source = dir.write("t.plt", c.source);
        splitTrack(source, "4");  // K = 2
        EXPECT_EQ(folderNames(dir), expectedNames("t.plt", 2));
        EXPECT_EQ(test::readBytes(source + ".1.plt"), header + "a1\r\na2\r\n");
        EXPECT_EQ(test::readBytes(source + ".2.plt"), header + "a2\r\na3\r\n");
    }
}

TEST(SplitBytes, BlankLinesAndTheLinesBehindThemAreCopied) {
    TempDir dir;
    const std::string source =
        dir.write("t.plt", test::trackText({"a1", "", "   ", "a4", "", "a6"}, "\r\n"));
    splitTrack(source, "5");  // K = 3
    EXPECT_EQ(test::readBytes(source + ".1.plt"), headerOnly() + "a1\r\n\r\n   \r\n");
    EXPECT_EQ(test::readBytes(source + ".2.plt"), headerOnly() + "   \r\na4\r\n\r\na6\r\n");
    EXPECT_EQ(test::readBytes(source + ".3.plt"), headerOnly() + "a6\r\n");
    EXPECT_EQ(folderNames(dir), expectedNames("t.plt", 3));
}

TEST(SplitBytes, Windows1252AndControlBytesAreCopiedUnchanged) {
    // "Ruta de Peñíscola", "Año", a byte invalid in UTF-8, NUL and other controls.
    const std::vector<std::string> header{
        "OziExplorer Track Point File Version 2.1",
        "WGS 84",
        "Altitude is in Feet",
        "Reserved 3",
        "0,2,255,Ruta de Pe\xF1\xED"
        "scola \x80\x81\x9F,0,0,2,8421376",
        bytes("A\xF1o\t\x01\x00\xFF"),
    };
    const std::string point = bytes("40.1,0.4,0,12,39307.3,\xE9\x00,07:52:19");
    TempDir dir;
    const std::string source = dir.write("t.plt", test::trackText({point, point}, "\r", header));
    splitTrack(source, "3");
    EXPECT_EQ(test::readBytes(source + ".1.plt"), test::trackText({point}, "\r\n", header));
    EXPECT_EQ(test::readBytes(source + ".2.plt"), test::trackText({point, point}, "\r\n", header));
    EXPECT_EQ(test::readBytes(source + ".3.plt"), test::trackText({point}, "\r\n", header));
}

// Runs of CR LF lines are copied as they lie, any other line on its own: pieces of lines of any
// length and any line end, read in many reads, hold what reading line by line gives.
TEST(SplitBytes, RunsOfLinesAndSingleLinesGiveTheSamePieces) {
    test::Xorshift random(29);
    const char* ends[] = {"\n", "\r", "\r\r\n", "\n\r"};
    std::string text;
    while (text.size() < (std::size_t{3} << 19)) {
        text.append(random() % 300, static_cast<char>('0' + random() % 10));
        text.append(random() % 50 != 0 ? "\r\n" : ends[random() % 4]);
    }
    text.append("unterminated");
    const std::vector<std::string> lines = test::linesOf(text);
    for (const char* pointsPerFile : {"40", "1000", "abc"}) {
        SCOPED_TRACE(pointsPerFile);
        const double closeMark = leadingNumber(pointsPerFile) - 2;
        std::string header;
        std::vector<std::string> pieces{""};
        std::int64_t counter = 0;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const std::string line = lines[i] + "\r\n";
            (i < 6 ? header : pieces.back()).append(line);
            if (i >= 6 && static_cast<double>(++counter) == closeMark) {
                counter = 0;
                pieces.push_back(line);
            }
        }
        TempDir dir;
        const std::string source = dir.write("t.plt", text);
        splitTrack(source, pointsPerFile);
        EXPECT_EQ(folderNames(dir), expectedNames("t.plt", static_cast<int>(pieces.size())));
        for (std::size_t n = 1; n <= pieces.size(); ++n) {
            ASSERT_EQ(test::readBytes(splitFileName(source, static_cast<int>(n))),
                      header + pieces[n - 1])
                << n;
        }
    }
}

TEST(SplitNames, TheSuffixIsAppendedToTheWholeSourcePath) {
    EXPECT_EQ(splitFileName("/datos/salida.plt", 1), "/datos/salida.plt.1.plt");
    EXPECT_EQ(splitFileName("/datos/salida.plt", 10), "/datos/salida.plt.10.plt");
    EXPECT_EQ(splitFileName("/datos/sin extension", 32767), "/datos/sin extension.32767.plt");

    TempDir dir;
    const std::string source = dir.write("x.plt", test::trackText(points(3)));
    splitTrack(source, "3");
    EXPECT_EQ(folderNames(dir), (std::set<std::string>{"x.plt", "x.plt.1.plt", "x.plt.2.plt",
                                                       "x.plt.3.plt", "x.plt.4.plt"}));
}

TEST(SplitNames, ASecondSplitOverwritesAndLeavesHigherNumbersAlone) {
    TempDir dir;
    const std::string source = dir.write("x.plt", test::trackText(points(6)));
    splitTrack(source, "4");  // K = 2: 1-2, 2-4, 4-6, 6
    dir.write("x.plt.1.plt",
              "edited by hand, longer than what the split writes\r\n" + std::string(4096, 'z'));
    splitTrack(source, "6");  // K = 4: 1-4, 4-6
    EXPECT_EQ(folderNames(dir), expectedNames("x.plt", 4));
    EXPECT_EQ(test::readBytes(source + ".1.plt"), pieceText(1, 4));
    EXPECT_EQ(test::readBytes(source + ".2.plt"), pieceText(4, 6));
    EXPECT_EQ(test::readBytes(source + ".3.plt"), pieceText(4, 6));
    EXPECT_EQ(test::readBytes(source + ".4.plt"), pieceText(6, 6));
}

// ---------------------------------------------------------------------------------------------
// Sources that cannot be split

TEST(SplitSource, FewerThanSixLinesWritesNothing) {
    for (int lines = 0; lines < 6; ++lines) {
        SCOPED_TRACE(lines);
        TempDir dir;
        std::string text;
        for (int i = 1; i <= lines; ++i)
            text.append("h").append(std::to_string(i)).append("\r\n");
        const std::string source = dir.write("corto.plt", text);
        const int openBefore = test::openFileCount();
        try {
            splitTrack(source, "250");
            ADD_FAILURE() << "the split reported success";
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.kind(), ErrorKind::PastEndOfFile);
            EXPECT_NE(std::string(error.what()).find("Se ha leído más allá del final del archivo"),
                      std::string::npos);
            EXPECT_EQ(error.file(), source);
            EXPECT_EQ(error.line(), lines + 1);
        }
        EXPECT_EQ(folderNames(dir), std::set<std::string>{"corto.plt"});
        EXPECT_EQ(test::openFileCount(), openBefore);
    }
}

TEST(SplitSource, AMissingSourceWritesNothing) {
    TempDir dir;
    EXPECT_EQ(splitFailure(dir.file("no existe.plt"), "250"), ErrorKind::FileNotFound);
    EXPECT_EQ(splitFailure(dir.path().string(), "250"), ErrorKind::PathFileAccess);
    EXPECT_TRUE(folderNames(dir).empty());
}

// A source of one-letter point lines, "a" to "z" over and over.
std::string letterPointText(int number) {
    return std::string(1, 'a' + (number - 1) % 26);
}

std::string letterSource(int points) {
    std::string text = "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n";
    for (int i = 1; i <= points; ++i)
        text += letterPointText(i) + "\r\n";
    return text;
}

// The real limit: with K = 1 file j holds points j-1 and j, so 32766 points fill 32767 files.
TEST(SplitOverflow, File32767IsTheLastOne) {
    TempDir dir;
    const std::string source = dir.write("s.plt", letterSource(32766));
    splitTrack(source, "3");
    EXPECT_EQ(folderNames(dir).size(), 1u + 32767u);
    const std::string header = "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n";
    EXPECT_EQ(test::readBytes(source + ".32767.plt"), header + letterPointText(32766) + "\r\n");
    EXPECT_EQ(test::readBytes(source + ".2.plt"),
              header + letterPointText(1) + "\r\n" + letterPointText(2) + "\r\n");
}

// One more file than can be numbered: counted first, nothing written, and the fewest points per
// file that do fit named.
TEST(SplitOverflow, MoreFilesThanCanBeNumberedWriteNone) {
    const struct {
        int points;
        const char* pointsPerFile;
        const char* files;
        const char* fewest;
    } cases[] = {
        {32767, "3", "32768", "4"},
        {40000, "3", "40001", "4"},
        {65534, "4", "32768", "5"},
        {65534, "3.0", "65535", "5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.points);
        TempDir dir;
        const std::string source = dir.write("s.plt", letterSource(c.points));
        const int openBefore = test::openFileCount();
        try {
            splitTrack(source, c.pointsPerFile);
            ADD_FAILURE() << "the split reported success";
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.message(),
                      std::string("Desbordamiento\nHarían falta ") + c.files +
                          " archivos y no pueden ser más de 32767.\nArchivo: " + source +
                          "\nElija al menos " + c.fewest + " puntos por archivo.");
        }
        EXPECT_EQ(test::openFileCount(), openBefore);
        EXPECT_EQ(folderNames(dir), std::set<std::string>{"s.plt"});
    }
}

// ---------------------------------------------------------------------------------------------
// Failures of the file system, injected

// Forwards to the system, failing where a case says so. Also mimics, for any user, what the
// permission bits mean for an ordinary one: tests run as root, which the bits do not stop.
class FaultyFileCalls final : public FileCalls {
  public:
    std::function<bool(const std::string& path)> refuseCreate;
    std::string failWritesTo;  // the path whose writes fail
    int failWriteNumber = 1;   // the first write to it that fails
    int writeErrno = ENOSPC;
    std::string failCloseOf;
    std::string failReadsOf;
    int failReadNumber = 1;

    int open(const char* path, int flags, mode_t mode) override {
        if ((flags & O_ACCMODE) != O_RDONLY && !permitsWriting(path)) {
            errno = EACCES;
            return -1;
        }
        const int fd = systemFileCalls().open(path, flags, mode);
        if (fd >= 0)
            paths_[fd] = path;
        return fd;
    }
    int fstat(int fd, struct stat* st) override { return systemFileCalls().fstat(fd, st); }
    ssize_t read(int fd, void* buffer, std::size_t size) override {
        if (paths_[fd] == failReadsOf && ++reads_ >= failReadNumber) {
            errno = EIO;
            return -1;
        }
        return systemFileCalls().read(fd, buffer, size);
    }
    ssize_t write(int fd, const void* buffer, std::size_t size) override {
        if (paths_[fd] == failWritesTo && ++writes_ >= failWriteNumber) {
            errno = writeErrno;
            return -1;
        }
        return systemFileCalls().write(fd, buffer, size);
    }
    int close(int fd) override {
        const std::string path = paths_[fd];
        paths_.erase(fd);
        const int result = systemFileCalls().close(fd);
        if (path == failCloseOf) {
            errno = EIO;
            return -1;
        }
        return result;
    }

  private:
    bool permitsWriting(const std::string& path) const {
        if (refuseCreate && refuseCreate(path))
            return false;
        struct stat st {};
        if (::stat(path.c_str(), &st) == 0)
            return (st.st_mode & 0222) != 0;
        const fs::path folder = fs::path(path).parent_path();
        return ::stat(folder.c_str(), &st) == 0 && (st.st_mode & 0222) != 0;
    }

    std::map<int, std::string> paths_;
    int reads_ = 0;
    int writes_ = 0;
};

struct FaultCase {
    const char* name;
    std::function<void(FaultyFileCalls&, const std::string& source, const TempDir& dir)> arrange;
    ErrorKind kind;
    int failingFile;    // the output file named in the error
    int completeFiles;  // files 1..completeFiles hold their full share
};

class SplitFault : public ::testing::TestWithParam<FaultCase> {};

// 10 points in files of 3 (N = 5): 1-3, 3-6, 6-9, 9-10.
TEST_P(SplitFault, EndsTheSplitKeepingTheFilesBefore) {
    const FaultCase& c = GetParam();
    TempDir dir;
    const std::string source = dir.write("t.plt", test::trackText(points(10)));
    FaultyFileCalls calls;
    c.arrange(calls, source, dir);
    const int openBefore = test::openFileCount();
    {
        ScopedFileCalls scoped(calls);
        try {
            splitTrack(source, "5");
            ADD_FAILURE() << "the split reported success";
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.kind(), c.kind);
            EXPECT_EQ(error.file(), splitFileName(source, c.failingFile));
        }
    }
    EXPECT_EQ(test::openFileCount(), openBefore);
    const std::vector<Piece> pieces{{1, 3}, {3, 6}, {6, 9}, {9, 10}};
    for (int i = 1; i <= c.completeFiles; ++i) {
        EXPECT_EQ(test::readBytes(splitFileName(source, i)),
                  pieceText(pieces[i - 1].first, pieces[i - 1].last))
            << "file " << i;
    }
    for (int i = c.failingFile + 1; i <= 5; ++i) {
        EXPECT_FALSE(fs::exists(splitFileName(source, i))) << "file " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitFault,
    ::testing::Values(
        FaultCase{"DiskFullOnFile3",
                  [](FaultyFileCalls& calls, const std::string& source, const TempDir&) {
                      calls.failWritesTo = splitFileName(source, 3);
                  },
                  ErrorKind::DiskFull, 3, 2},
        FaultCase{"QuotaOnFile1",
                  [](FaultyFileCalls& calls, const std::string& source, const TempDir&) {
                      calls.failWritesTo = splitFileName(source, 1);
                      calls.writeErrno = EDQUOT;
                  },
                  ErrorKind::DiskFull, 1, 0},
        FaultCase{"DeviceErrorOnTheLastFile",
                  [](FaultyFileCalls& calls, const std::string& source, const TempDir&) {
                      calls.failWritesTo = splitFileName(source, 4);
                      calls.writeErrno = EIO;
                  },
                  ErrorKind::DeviceIo, 4, 3},
        FaultCase{"ReadOnlyFileInTheWay",
                  [](FaultyFileCalls&, const std::string& source, const TempDir& dir) {
                      const std::string inTheWay = splitFileName(source, 2);
                      dir.write(fs::path(inTheWay).filename().string(), "older content\r\n");
                      fs::permissions(inTheWay, fs::perms::owner_read | fs::perms::group_read |
                                                    fs::perms::others_read);
                  },
                  ErrorKind::PathFileAccess, 2, 1},
        FaultCase{"UnwritableFolder",
                  [](FaultyFileCalls&, const std::string&, const TempDir& dir) {
                      fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
                  },
                  ErrorKind::PathFileAccess, 1, 0},
        FaultCase{"CreateRefusedOnFile3",
                  [](FaultyFileCalls& calls, const std::string& source, const TempDir&) {
                      const std::string refused = splitFileName(source, 3);
                      calls.refuseCreate = [refused](const std::string& p) { return p == refused; };
                  },
                  ErrorKind::PathFileAccess, 3, 2},
        FaultCase{"CloseFailsOnFile2",
                  [](FaultyFileCalls& calls, const std::string& source, const TempDir&) {
                      calls.failCloseOf = splitFileName(source, 2);
                  },
                  ErrorKind::DeviceIo, 2, 2},
        FaultCase{"CloseFailsOnTheLastFile",
                  [](FaultyFileCalls& calls, const std::string& source, const TempDir&) {
                      calls.failCloseOf = splitFileName(source, 4);
                  },
                  ErrorKind::DeviceIo, 4, 4}),
    [](const ::testing::TestParamInfo<FaultCase>& info) { return std::string(info.param.name); });

// Lines far beyond one buffer: the failure comes while points are still being copied.
TEST(SplitFaultLarge, DiskFullInTheMiddleOfAFile) {
    TempDir dir;
    const std::string source = dir.write("big.plt", test::trackText(points(60000)));
    FaultyFileCalls calls;
    calls.failWritesTo = splitFileName(source, 1);
    calls.failWriteNumber = 2;
    const int openBefore = test::openFileCount();
    {
        ScopedFileCalls scoped(calls);
        EXPECT_EQ(splitFailure(source, "abc"), ErrorKind::DiskFull);
    }
    EXPECT_EQ(test::openFileCount(), openBefore);
    const std::string written = test::readBytes(splitFileName(source, 1));
    // The first buffer reached the disk, not more.
    EXPECT_LE(written.size(), std::size_t{1} << 20);
    EXPECT_GT(written.size(), (std::size_t{1} << 20) - 100);
    EXPECT_EQ(written, pieceText(1, 60000).substr(0, written.size()));
}

// A failing source still leaves on disk the points copied before the failure.
TEST(SplitFaultLarge, ReadErrorOfTheSourceKeepsWhatWasCopied) {
    TempDir dir;
    const std::string source = dir.write("big.plt", test::trackText(points(60000)));
    FaultyFileCalls calls;
    calls.failReadsOf = source;
    calls.failReadNumber = 17;
    const int openBefore = test::openFileCount();
    {
        ScopedFileCalls scoped(calls);
        EXPECT_EQ(splitFailure(source, "15000"), ErrorKind::DeviceIo);
    }
    EXPECT_EQ(test::openFileCount(), openBefore);
    // Sixteen reads of 128 KiB (2 MiB, about 40,000 points of some 52 bytes) fill two files and
    // part of the third; the third ends with the last whole line read.
    EXPECT_EQ(test::readBytes(splitFileName(source, 1)), pieceText(1, 14998));
    EXPECT_EQ(test::readBytes(splitFileName(source, 2)), pieceText(14998, 29996));
    const std::string third = test::readBytes(splitFileName(source, 3));
    const std::string full = pieceText(29996, 44994);
    ASSERT_GT(third.size(), headerOnly().size() + point(29996).size() + 2);
    EXPECT_LT(third.size(), full.size());
    EXPECT_EQ(third, full.substr(0, third.size()));
    EXPECT_EQ(third.substr(third.size() - 2), "\r\n");
    EXPECT_FALSE(fs::exists(splitFileName(source, 4)));
}

}  // namespace
}  // namespace at
