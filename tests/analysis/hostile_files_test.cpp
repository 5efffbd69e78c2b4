// Hostile files through the analysis pass: each ends with the right error kind naming the file,
// the line and the offending text, or with the result its lines give; the summary band is never
// half written and no file stays open.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "analysis/analysis_pass.h"
#include "formats/splitter.h"
#include "platform/file_calls.h"
#include "platform/runtime_error.h"
#include "tests/support/hostile_files.h"
#include "tests/support/memory_view.h"
#include "tests/support/peak_memory.h"
#include "tests/support/temp_dir.h"
#include "tests/support/track_text.h"
#include "track/track_layout.h"

namespace at {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

constexpr int kLabels = static_cast<int>(SummaryLabel::MovingTime) + 1;

// Points 99 m apart going north (no leg long enough to be a GPS jump), 2 s apart from midnight,
// at 2000 ft.
std::vector<std::string> points(int count) {
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i)
        lines.push_back(test::pointLine(40.0 + i * 0.00089, -3.5, 2000, test::clock(i * 2)));
    return lines;
}

class HostileAnalysis : public ::testing::Test {
  protected:
    void SetUp() override { openBefore = test::openFileCount(); }
    void TearDown() override { EXPECT_EQ(test::openFileCount(), openBefore); }

    void presetWindow() {
        for (int l = 0; l < kLabels; ++l)
            view.labels[static_cast<SummaryLabel>(l)] = "previo";
        view.keepForReadout(99, 9.5f);
    }

    // Runs the pass on `path` expecting a failure of `kind` that leaves the summary band as it
    // was.
    RuntimeError failure(const std::string& path, ErrorKind kind) {
        presetWindow();
        view.path = path;
        try {
            runAnalysis(view, NumberLocale::comma());
            ADD_FAILURE() << "no error";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.kind(), kind) << e.message();
            EXPECT_EQ(e.message().rfind(spanishName(kind), 0), 0u);
            EXPECT_EQ(e.file(), path);
            for (int l = 0; l < kLabels; ++l)
                EXPECT_EQ(view.label(static_cast<SummaryLabel>(l)), "previo") << l;
            EXPECT_EQ(view.lastLinesRead, 99);
            return e;
        }
        return RuntimeError(kind);
    }

    TempDir dir;
    MemoryAnalysisView view;
    int openBefore = 0;
};

struct BadContent {
    const char* name;
    std::string bytes;
    ErrorKind kind;
    std::int64_t line;
    std::optional<std::string> field;
    std::optional<std::string> text;  // the offending text as the message shows it
};

TEST_F(HostileAnalysis, BadContentNamesLineFieldAndText) {
    const std::string h = test::trackText({});
    const std::string good = points(3)[0] + "\r\n" + points(3)[1] + "\r\n";
    const std::string fifty(50u << 20, '7');
    // One track more than a file may hold, a point each, one track a line from line 3.
    std::string tracks = "<?xml version=\"1.0\"?>\n<gpx>\n";
    for (int i = 0; i <= TrackLayout::kMostTracks; ++i) {
        tracks +=
            "<trk><trkseg><trkpt lat=\"40\" lon=\"-3\"><time>2024-05-01T10:00:00Z</time>"
            "</trkpt></trkseg></trk>\n";
    }
    tracks += "</gpx>\n";
    const BadContent cases[] = {
        {"time ab:cd:ef", h + "1.0,1.0,0,4,0,x,ab:cd:ef\r\n", ErrorKind::TypeMismatch, 7,
         "hora (campo 7)", "ab:cd:ef"},
        {"time 25:61:61 after good points", h + good + "1.0,1.0,0,4,0,x,25:61:61\r\n",
         ErrorKind::TypeMismatch, 9, "hora (campo 7)", "25:61:61"},
        {"NUL inside the altitude", h + std::string("1.0,1.0,0,4\0,0,x,10:00:00\r\n", 27),
         ErrorKind::TypeMismatch, 7, "altitud (campo 4)", "4\\x00"},
        {"altitude -32769", h + "1.0,1.0,0,-32769,0,x,10:00:00\r\n", ErrorKind::Overflow, 7,
         "altitud (campo 4)", "-32769"},
        {"altitude 32767.5 rounds out of range", h + "1.0,1.0,0,32767.5,0,x,10:00:00\r\n",
         ErrorKind::Overflow, 7, "altitud (campo 4)", "32767.5"},
        {"longitude beyond 32 bits", h + "1.0,-2147.483649,0,4,0,x,10:00:00\r\n",
         ErrorKind::Overflow, 7, "longitud (campo 2)", "-2147.483649"},
        {"latitude of two numbers", h + "1.0 2.0,1.0,0,4,0,x,10:00:00\r\n", ErrorKind::TypeMismatch,
         7, "latitud (campo 1)", "1.0 2.0"},
        {"binary garbage after good points", h + good + test::binaryGarbage(300, 3) + "\r\n",
         ErrorKind::TypeMismatch, 9, std::nullopt, std::nullopt},
        // No line is read whole beyond 1 MiB: its start is quoted.
        {"a 50 MB point line", h + fifty + "\r\n", ErrorKind::Overflow, 7, std::nullopt,
         std::string(80, '7') + "…"},
        {"a single 50 MB line", fifty, ErrorKind::Overflow, 1, std::nullopt,
         std::string(80, '7') + "…"},
        {"4097 tracks", tracks, ErrorKind::Overflow, TrackLayout::kMostTracks + 3, std::nullopt,
         std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.write("mala ruta.plt", c.bytes);
        const RuntimeError e = failure(path, c.kind);
        EXPECT_EQ(e.line(), c.line);
        if (c.field) {
            EXPECT_EQ(e.field(), c.field);
        }
        if (c.text) {
            EXPECT_NE(e.message().find("Texto: «" + *c.text + "»"), std::string::npos)
                << e.message();
        }
        // A whole line of megabytes would make the message box unreadable.
        EXPECT_LT(e.message().size(), 1000u);
    }
}

std::string utf16le(const std::string& ascii) {
    std::string out;
    for (const char c : ascii)
        out.append({c, '\0'});
    return out;
}

// Nothing of tens of megabytes is held whole, in the analysis or the split: a line without end
// (a sparse file, say), or a GPX tag, text, comment... that expat would keep whole before any
// handler sees it. Each ends the command where it began, with memory flat; a GPX text of exactly
// 1 MiB still reads.
TEST_F(HostileAnalysis, NoLineOrXmlRunBeyondOneMebibyteIsHeld) {
    const std::string head =
        "<?xml version=\"1.0\"?>\n<gpx>\n<trk><trkseg>\n<trkpt lat=\"40\" "
        "lon=\"-3\"><time>2024-05-01T10:00:00Z</time></trkpt>\n";
    const std::string point = "<trkpt lat=\"41\" lon=\"-3\">";
    const std::string rest = "<time>2024-05-01T10:00:05Z</time></trkpt>\n</trkseg></trk></gpx>\n";
    const std::size_t mib = std::size_t{1} << 20;
    const std::size_t tens = std::size_t{30} << 20;
    const struct {
        const char* name;
        std::string before;
        char repeated;
        std::size_t count;
        std::string after;
        const char* detail;  // none: the file reads
        std::int64_t line;
        std::string start;  // the first bytes the message quotes
    } cases[] = {
        {"sin fin.plt", "", '\0', tens, "",
         "La línea pasa de 1048576 bytes: no es una línea de un track.", 1, ""},
        {"atributo.gpx", head + "<trkpt lat=\"", '1', tens, "\" lon=\"1\">" + rest, "una etiqueta",
         5, "<trkpt lat=\"111"},
        {"texto.gpx", head + point + "<desc>", 'a', tens, "</desc>" + rest, "un texto", 5, "aaa"},
        {"1 MiB.gpx", head + point + "<desc>", 'a', mib, "</desc>" + rest, nullptr, 0, ""},
        {"1 MiB y 1.gpx", head + point + "<desc>", 'a', mib + 1, "</desc>" + rest, "un texto", 5,
         "aaa"},
        {"comentario.gpx", head + "<!--", '<', tens, "-->" + rest, "un comentario", 5, "<!--<<<"},
        {"instruccion.gpx", head + "<?x ", '<', tens, "?>" + rest, "una instrucción de proceso", 5,
         "<?x <<"},
        {"cdata.gpx", head + point + "<desc><![CDATA[", '<', tens, "]]></desc>" + rest,
         "una sección CDATA", 5, "<![CDATA[<<"},
        {"entidad.gpx", "<!DOCTYPE gpx [\n<!ENTITY a \"", '>', tens,
         "\">]>\n" + head.substr(22) + rest, "una declaración", 1, "<!DOCTYPE gpx ["},
        // Watched by its characters: U+2020 is two bytes 0x20.
        {"utf16.gpx", "\xFF\xFE" + utf16le(head + "<trkpt lat=\""), ' ', tens,
         utf16le("\" lon=\"1\">" + rest), "una etiqueta", 5, ""},
    };
    for (const auto& c : cases) {
        const std::string path = dir.writeRun(c.name, c.before, c.repeated, c.count, c.after);
        for (const bool split : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (split ? " (split)" : ""));
            const test::PeakMemoryGrowth growth;
            std::optional<RuntimeError> e;
            try {
                view.path = path;
                split ? splitTrack(path, "500") : (void)runAnalysis(view, NumberLocale::comma());
            } catch (const RuntimeError& error) {
                e = error;
            }
            EXPECT_LT(growth.bytes(), 8 << 20);
            ASSERT_EQ(e.has_value(), c.detail != nullptr) << (e ? e->message() : "");
            if (!e)
                continue;
            EXPECT_EQ(e->kind(), ErrorKind::Overflow);
            EXPECT_NE(e->message().find(c.detail), std::string::npos) << e->message();
            EXPECT_EQ(e->file(), path);
            EXPECT_EQ(e->line(), c.line);
            EXPECT_EQ(e->text()->rfind(c.start, 0), 0u);
        }
    }
}

// Line ends of every kind give the same analysis as CR LF.
TEST_F(HostileAnalysis, EveryLineEndReadsTheSameTrack) {
    const std::vector<std::string> lines = points(12);
    const std::string crlf = test::trackText(lines);
    std::string mixed = test::trackText({});
    const char* ends[] = {"\r", "\n", "\r\n"};
    for (std::size_t i = 0; i < lines.size(); ++i)
        mixed += lines[i] + ends[i % 3];
    view.path = dir.write("crlf.plt", crlf);
    runAnalysis(view, NumberLocale::comma());
    const MemoryAnalysisView reference = view;
    ASSERT_EQ(reference.label(SummaryLabel::Distance), "1,1 km");
    for (const std::string& bytes : {test::trackText(lines, "\r"), test::trackText(lines, "\n"),
                                     mixed, crlf.substr(0, crlf.size() - 2)}) {
        view = MemoryAnalysisView();
        view.path = dir.write("otra.plt", bytes);
        runAnalysis(view, NumberLocale::comma());
        EXPECT_EQ(view.labels, reference.labels);
        EXPECT_EQ(view.altitude.rows(), reference.altitude.rows());
        EXPECT_EQ(view.speed.rows(), reference.speed.rows());
        EXPECT_EQ(view.lastLinesRead, reference.lastLinesRead);
    }
}

// Nothing but a regular file is read: no FIFO that waits for a writer, no device without end.
// The count refuses it first, so the charts keep their rows.
TEST_F(HostileAnalysis, WhatIsNotARegularFileIsRefusedBeforeAnythingIsCharted) {
    const std::string fifo = dir.file("tubería.plt");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    fs::create_directory(dir.file("carpeta"));
    view.altitude.setRowCount(4);
    for (const std::string& path :
         {dir.file("carpeta"), fifo, std::string("/dev/null"), std::string("/dev/zero")}) {
        SCOPED_TRACE(path);
        failure(path, ErrorKind::PathFileAccess);
        EXPECT_EQ(view.altitude.rowCount(), 4);
    }
}

TEST_F(HostileAnalysis, PathWithSpacesAndAccents) {
    fs::create_directory(dir.path() / "Año nuevo");
    view.path = dir.write("Año nuevo/ruta ñ.plt", test::trackText(points(12)));
    const TrackSummary summary = runAnalysis(view, NumberLocale::point());
    EXPECT_EQ(view.label(SummaryLabel::Distance), "1.1 km");
    EXPECT_EQ(summary.linesRead, 18);
}

struct FileFault {
    const char* name;
    int failOpen;
    int openErrno;
    bool deleted;
    ErrorKind kind;
    bool sized;  // the count ran and sized the charts before the failure
};

// The count opens the file first, the read loop second; either open can fail, and a file can go
// between the two.
TEST_F(HostileAnalysis, FileGoneOrRefusedAtEitherOpen) {
    const FileFault cases[] = {
        {"deleted between the count and the read", 2, ENOENT, true, ErrorKind::FileNotFound, true},
        {"refused at the count", 1, EACCES, false, ErrorKind::PathFileAccess, false},
        {"refused at the read", 2, EACCES, false, ErrorKind::PathFileAccess, true},
        {"device error at the count", 1, EIO, false, ErrorKind::DeviceIo, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.write("ruta.plt", test::trackText(points(5)));
        view.altitude.setRowCount(2);
        view.speed.setRowCount(2);
        test::PathFaults faults(path);
        faults.failOpen = c.failOpen;
        faults.openErrno = c.openErrno;
        faults.deleteBeforeFailingOpen = c.deleted;
        {
            ScopedFileCalls scoped(faults);
            failure(path, c.kind);
        }
        EXPECT_EQ(faults.opens(), c.failOpen);
        EXPECT_EQ(view.altitude.rowCount(), c.sized ? 5 : 2);
        EXPECT_EQ(view.altitude.rows()[0], "");  // no point was read
        EXPECT_EQ(fs::exists(path), !c.deleted);
    }
}

// A read failure in the middle of a long track names the line it cut and keeps the stops and rows
// found before it.
TEST_F(HostileAnalysis, ReadErrorInTheMiddleKeepsWhatWasDone) {
    std::vector<std::string> lines = points(30000);
    lines[10] = test::pointLine(40.0, -3.5, 2000, test::clock(10 * 2 + 100));
    const std::string bytes = test::trackText(lines);
    const std::string path = dir.write("larga.plt", bytes);
    // The second read of the file starts 1 MiB in, inside this line.
    const std::size_t buffer = std::size_t{1} << 20;
    ASSERT_NE(bytes[buffer - 1], '\n');
    const auto cutLine = std::count(bytes.begin(), bytes.begin() + buffer, '\n') + 1;
    test::PathFaults faults(path);
    faults.failReadsOfOpen = 2;  // the read loop's open, after the count's
    faults.failReadNumber = 2;
    const RuntimeError e = [&] {
        ScopedFileCalls scoped(faults);
        return failure(path, ErrorKind::DeviceIo);
    }();
    EXPECT_EQ(e.line(), cutLine);
    EXPECT_EQ(view.stopList.size(), 1u);
    const auto pointsRead = static_cast<std::size_t>(cutLine - 7);
    EXPECT_FALSE(view.altitude.rows()[pointsRead - 1].empty());
    EXPECT_TRUE(view.altitude.rows()[pointsRead].empty());
}

TEST_F(HostileAnalysis, UnreadableByItsPermissions) {
    if (geteuid() == 0)
        GTEST_SKIP() << "running as root: permissions do not refuse a read; the injected EACCES "
                        "covers the case";
    const std::string path = dir.write("ruta.plt", test::trackText(points(5)));
    fs::permissions(path, fs::perms::none);
    failure(path, ErrorKind::PathFileAccess);
}

}  // namespace
}  // namespace at
