// Bad GPX, TCX and FIT files: each ends reading with the right kind of error, naming the file,
// the line or byte offset and the offending text, after handing out the points before the fault;
// and no file stays open.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "formats/track_format.h"
#include "platform/file_calls.h"
#include "tests/support/hostile_files.h"
#include "tests/support/temp_dir.h"
#include "tests/support/track_formats.h"

namespace at {
namespace {

using test::RecordedPoint;
using test::TempDir;

constexpr std::int64_t k10h = 1714557600;

const std::vector<RecordedPoint> kThree = {{"40.1", "-3.1", "700", k10h},
                                           {"40.2", "-3.2", "701", k10h + 5},
                                           {"40.3", "-3.3", "702", k10h + 10}};

struct BadFile {
    const char* name;
    std::string content;
    ErrorKind kind;
    const char* detail;  // a part of the message
    int pointsBefore;    // points handed out before the failure
    std::optional<std::int64_t> line;
    std::optional<std::int64_t> byteOffset;
    std::optional<std::string> text;
};

std::string replaced(std::string text, const std::string& part, const std::string& by) {
    text.replace(text.find(part), part.size(), by);
    return text;
}

std::string fitWithoutTimestamps() {
    test::FitWriter fit;
    fit.define(0, 20, {{0, 4, 0x85}, {1, 4, 0x85}});
    fit.data(0, std::vector<std::uint8_t>(8, 1));
    return fit.file();
}

std::string fitWithUndefinedType() {
    test::FitWriter fit;
    fit.define(0, 0, {{0, 1, 0x00}});
    fit.data(3, {1});
    return fit.file();
}

std::string fitWithBadBaseType() {
    test::FitWriter fit;
    fit.define(0, 20, {{0, 4, 0x1F}});
    return fit.file();
}

std::string fitWithHeaderCrcSpoilt() {
    std::string bytes = test::fitFile(kThree);
    bytes[12] = static_cast<char>(bytes[12] ^ 0x55);
    return bytes;
}

TEST(BadTrackFiles, EndWithTheirErrorWhereTheFaultIs) {
    const test::ScopedTimeZone zone("UTC0");
    TempDir dir;
    const std::string gpx = test::gpxText({kThree});
    const std::string tcx = test::tcxText({kThree});
    const std::string fit = test::fitFile(kThree);
    // Lines of the GPX written by the support: points on lines 7, 8, 9; of the TCX: 8, 13, 18.
    const BadFile cases[] = {
        {"hora-mala.gpx", replaced(gpx, "2024-05-01T10:00:05Z", "ayer"), ErrorKind::TypeMismatch,
         "La hora no es", 1, 8, std::nullopt, "ayer"},
        {"lat-mala.gpx", replaced(gpx, "lat=\"40.3\"", "lat=\"40,3\""), ErrorKind::TypeMismatch,
         "coordenada", 2, 9, std::nullopt, "40,3"},
        {"sin-lon.gpx", replaced(gpx, "lon=\"-3.3\"", ""), ErrorKind::TypeMismatch,
         "falta la coordenada", 2, 9, std::nullopt, ""},
        {"lejos.gpx", replaced(gpx, "lat=\"40.3\"", "lat=\"4000\""), ErrorKind::TypeMismatch,
         "La latitud no está entre -90 y 90 grados", 2, 9, std::nullopt, "4000"},
        {"alto.gpx", replaced(gpx, "<ele>702</ele>", "<ele>12000</ele>"), ErrorKind::Overflow,
         "16 bits", 2, 9, std::nullopt, "12000"},
        {"ele-mala.tcx", replaced(tcx, ">701<", ">alto<"), ErrorKind::TypeMismatch,
         "La altitud no es un número", 1, 16, std::nullopt, "alto"},
        {"mal-formado.gpx", replaced(gpx, "</trkpt>\n      <trkpt lat=\"40.3\"", "</trkpx>"),
         ErrorKind::TypeMismatch, "XML mal formado: la etiqueta de cierre", 1, 8, std::nullopt,
         std::nullopt},
        {"cortado.gpx", gpx.substr(0, gpx.find("<trkpt lat=\"40.3\"") + 8),
         ErrorKind::PastEndOfFile, "cortado", 2, 9, std::nullopt, std::nullopt},
        {"vacio.gpx", "", ErrorKind::PastEndOfFile, "cortado", 0, 1, std::nullopt, std::nullopt},
        {"sin-puntos.gpx", test::gpxText({}), ErrorKind::PastEndOfFile,
         "no tiene ningún punto de track (<trkpt>)", 0, std::nullopt, std::nullopt, std::nullopt},
        {"solo-ruta.gpx",
         "<gpx><rte><rtept lat=\"1\" lon=\"1\"><time>2024-05-01T10:00:00Z</time></rtept></rte>"
         "<wpt lat=\"1\" lon=\"1\"/></gpx>",
         ErrorKind::PastEndOfFile, "ningún punto de track", 0, std::nullopt, std::nullopt,
         std::nullopt},
        {"otra-raiz.gpx", "<kml><trk/></kml>", ErrorKind::TypeMismatch,
         "El elemento raíz no es <gpx>", 0, 1, std::nullopt, "<kml>"},
        {"basura.gpx", "<gpx>\n<trk>\n&nada;</trk></gpx>", ErrorKind::TypeMismatch,
         "una entidad no definida", 0, 3, std::nullopt, "&nada;</trk></gpx>"},
        // Off the Earth, with the same kind of message as a coordinate that is no number.
        {"lat91.gpx", replaced(gpx, "lat=\"40.3\"", "lat=\"91\""), ErrorKind::TypeMismatch,
         "La latitud no está entre -90 y 90 grados", 2, 9, std::nullopt, "91"},
        // The edges themselves are places.
        {"borde.gpx",
         replaced(replaced(gpx, "lat=\"40.3\"", "lat=\"-90.0000001\""), "lat=\"40.1\" lon=\"-3.1\"",
                  "lat=\"90\" lon=\"-180.0\""),
         ErrorKind::TypeMismatch, "La latitud no está", 2, 9, std::nullopt, "-90.0000001"},
        {"cifras.gpx", replaced(gpx, "lat=\"40.3\"", "lat=\"" + std::string(400, '9') + "\""),
         ErrorKind::TypeMismatch, "La latitud no está", 2, 9, std::nullopt, std::string(400, '9')},
        {"lon-181.tcx", replaced(tcx, ">-3.3<", ">-181<"), ErrorKind::TypeMismatch,
         "La longitud no está entre -180 y 180 grados", 2, 18, std::nullopt, "-181"},
        {"polo.fit", test::fitFile({kThree[0], kThree[1], {"100", "-3.3", "702", k10h + 10}}),
         ErrorKind::TypeMismatch, "La latitud no está", 2, std::nullopt,
         static_cast<std::int64_t>(fit.size() - 2 - 15), "100.000000"},
        {"crc.fit", fit.substr(0, fit.size() - 1) + static_cast<char>(fit.back() ^ 1),
         ErrorKind::TypeMismatch, "CRC", 3, std::nullopt, static_cast<std::int64_t>(fit.size() - 2),
         std::nullopt},
        {"cabecera.fit", fitWithHeaderCrcSpoilt(), ErrorKind::TypeMismatch, "CRC", 0, std::nullopt,
         12, std::nullopt},
        // The header promises more than the file holds: nothing of it is believed.
        {"cortado.fit", fit.substr(0, fit.size() - 10), ErrorKind::PastEndOfFile, "cortado", 0,
         std::nullopt, static_cast<std::int64_t>(fit.size() - 10), std::nullopt},
        {"cabecera-corta.fit", fit.substr(0, 10), ErrorKind::PastEndOfFile, "cortado", 0,
         std::nullopt, 10, std::nullopt},
        {"vacio.fit", "", ErrorKind::PastEndOfFile, "vacío", 0, std::nullopt, 0, std::nullopt},
        {"firma.fit", replaced(fit, ".FIT", ".FIX"), ErrorKind::TypeMismatch, "«.FIT»", 0,
         std::nullopt, 8, std::nullopt},
        {"sin-hora.fit", fitWithoutTimestamps(), ErrorKind::TypeMismatch, "Punto sin hora", 0,
         std::nullopt, 26, std::nullopt},
        {"sin-definir.fit", fitWithUndefinedType(), ErrorKind::TypeMismatch, "sin definir", 0,
         std::nullopt, 23, std::nullopt},
        {"tipo-base.fit", fitWithBadBaseType(), ErrorKind::TypeMismatch, "mal definido", 0,
         std::nullopt, 20, std::nullopt},
    };
    for (const BadFile& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.write(c.name, c.content);
        const int openBefore = test::openFileCount();
        int points = 0;
        try {
            const auto reader = openPointReader(path, detectTrackFormat(path));
            TrackPoint p;
            while (reader->next(p))
                ++points;
            ADD_FAILURE() << "read to the end";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.kind(), c.kind) << e.message();
            EXPECT_NE(e.message().find(c.detail), std::string::npos) << e.message();
            EXPECT_EQ(e.file(), path);
            EXPECT_EQ(e.line(), c.line) << e.message();
            EXPECT_EQ(e.byteOffset(), c.byteOffset) << e.message();
            if (c.text) {
                EXPECT_EQ(e.text(), c.text) << e.message();
            }
        }
        EXPECT_EQ(points, c.pointsBefore);
        EXPECT_EQ(test::openFileCount(), openBefore);
    }
}

// A header that declares 4 GB of data in a file of 20 MB of one-byte messages is refused before
// the messages are walked: a third read of the file would fail.
TEST(BadTrackFiles, AFitPromisingMoreThanItHoldsIsRefusedUnread) {
    TempDir dir;
    // A header without its CRC (0 is allowed), then the definition of a message without fields.
    const std::string header = std::string("\x0E\x20\x00\x00\xF0\xFF\xFF\xFF.FIT\x00\x00", 14) +
                               std::string("\x40\x00\x00\x00\x00\x00", 6);
    const std::string path = dir.writeRun("promete.fit", header, '\0', std::size_t{20} << 20, "");
    test::PathFaults faults(path);
    faults.failReadsOfOpen = 1;
    faults.failReadNumber = 3;
    ScopedFileCalls scoped(faults);
    try {
        TrackPoint p;
        openPointReader(path, TrackFormat::Fit)->next(p);
        ADD_FAILURE() << "read";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.kind(), ErrorKind::PastEndOfFile) << e.message();
        EXPECT_NE(e.message().find("declara 4294967280 bytes de datos"), std::string::npos);
        EXPECT_EQ(e.byteOffset(), static_cast<std::int64_t>(header.size() + (20 << 20)));
    }
}

TEST(BadTrackFiles, AMissingFileIsTheOpenError) {
    TempDir dir;
    for (const char* name : {"no.gpx", "no.tcx", "no.fit"}) {
        const std::string path = dir.file(name);
        try {
            openPointReader(path, detectTrackFormat(path));
            ADD_FAILURE() << name;
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.kind(), ErrorKind::FileNotFound) << name;
            EXPECT_EQ(e.file(), path);
        }
    }
}

}  // namespace
}  // namespace at
