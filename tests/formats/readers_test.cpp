// The GPX, TCX and FIT readers on files the tests write: which points they yield, in which order,
// with which values; and how a file's format is recognised.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "formats/fit_reader.h"
#include "formats/track_format.h"
#include "tests/support/temp_dir.h"
#include "tests/support/track_formats.h"

namespace at {
namespace {

using test::RecordedPoint;
using test::TempDir;

constexpr std::int64_t k10h = 1714557600;  // 2024-05-01T10:00:00Z

struct Seen {
    std::int32_t latitude;
    std::int32_t longitude;
    std::int16_t feet;
    int secondOfDay;
    std::int32_t day;
    std::int64_t place;

    bool operator==(const Seen&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Seen& s) {
    return os << "{" << s.latitude << ", " << s.longitude << ", " << s.feet << ", " << s.secondOfDay
              << ", " << s.day << ", @" << s.place << "}";
}

std::vector<Seen> readAll(const std::string& path) {
    const auto reader = openPointReader(path, detectTrackFormat(path));
    std::vector<Seen> seen;
    TrackPoint p;
    while (reader->next(p)) {
        seen.push_back({p.latitudeDigits, p.longitudeDigits, p.altitudeFeet,
                        static_cast<int>(std::lround(p.timeOfDay * 86400)), reader->localDay(),
                        reader->place().value});
    }
    reader->close();
    return seen;
}

class Readers : public ::testing::Test {
  protected:
    test::ScopedTimeZone zone_{"UTC0"};
    TempDir dir_;
};

TEST_F(Readers, GpxTrackPointsOfEverySegmentAndTrackInFileOrder) {
    const std::string gpx =
        "<?xml version=\"1.0\"?>\n"
        "<gpx:gpx version=\"1.0\" xmlns:gpx=\"http://www.topografix.com/GPX/1/0\">\n"
        "<gpx:wpt lat=\"1\" lon=\"1\"><gpx:time>2024-05-01T09:00:00Z</gpx:time></gpx:wpt>\n"
        "<gpx:rte><gpx:rtept lat=\"2\" lon=\"2\"><gpx:time>2024-05-01T09:00:00Z</gpx:time>"
        "</gpx:rtept></gpx:rte>\n"
        "<gpx:trk><gpx:trkseg>\n"
        "<gpx:trkpt lat=\"40.416775\" lon=\"-3.70379\"><gpx:ele>650.5</gpx:ele>"
        "<gpx:time>2024-05-01T10:00:00Z</gpx:time></gpx:trkpt>\n"
        "</gpx:trkseg><gpx:trkseg>\n"
        "<gpx:trkpt lon=\"-3.7\" lat=\"40.4\"><gpx:time>2024-05-01T10:00:07.6Z</gpx:time>\n"
        "  <gpx:extensions><gpx:time>junk</gpx:time><gpx:ele>x</gpx:ele></gpx:extensions>"
        "</gpx:trkpt>\n"
        "</gpx:trkseg></gpx:trk>\n"
        "<gpx:trk><gpx:trkseg><gpx:trkpt lat=\"-0.0000005\" lon=\"0.0000015\">\n"
        "<gpx:ele>-1.5</gpx:ele><gpx:time>2024-05-01T23:59:59+01:00</gpx:time></gpx:trkpt>"
        "</gpx:trkseg></gpx:trk>\n"
        "</gpx:gpx>\n";
    const std::vector<Seen> expected = {
        {40416775, -3703790, 2134, 36000, 45413, 6},
        {40400000, -3700000, -777, 36007, 45413, 8},  // no ele: no altitude
        {0, 2, -5, 82799, 45413, 11},
    };
    EXPECT_EQ(readAll(dir_.write("a.gpx", gpx)), expected);
}

TEST_F(Readers, LinesCountedWhateverTheLineEnds) {
    std::vector<RecordedPoint> points;
    for (int i = 0; i < 3000; ++i)
        points.push_back({"40.1", "-3.1", "700", k10h + i});
    const std::string lf = test::gpxText({points});
    std::vector<std::int64_t> expected;
    for (std::int64_t i = 0; i < 3000; ++i)
        expected.push_back(7 + i);
    const auto withEnds = [&lf](const char* eol, int pad) {
        std::string text;
        for (const char c : lf) {
            if (c == '\n') {
                text += eol;
            } else {
                text += c;
            }
        }
        // Blanks at the end of the first line move every later byte, and with them the places
        // where the file is read in pieces: some piece then ends between a CR and its LF.
        text.insert(text.find('\r') != std::string::npos ? text.find('\r') : text.find('\n'),
                    std::string(static_cast<std::size_t>(pad), ' '));
        return text;
    };
    const struct {
        const char* eol;
        int pads;
    } cases[] = {{"\n", 1}, {"\r", 1}, {"\r\n", 110}};
    for (const auto& c : cases) {
        for (int pad = 0; pad < c.pads; ++pad) {
            const std::string text = withEnds(c.eol, pad);
            ASSERT_GT(text.size(), 3u * 65536);
            std::vector<std::int64_t> lines;
            for (const Seen& seen : readAll(dir_.write("lineas.gpx", text)))
                lines.push_back(seen.place);
            EXPECT_EQ(lines, expected) << "pad " << pad << (c.eol[0] == '\n' ? " LF" : " CR");
        }
    }
}

// A route planned in an app, or a track with a point whose time was lost: every point is read,
// and the one without a time says so.
TEST_F(Readers, GpxAndTcxPointsWithoutTimeAreReadAsSuch) {
    const std::vector<RecordedPoint> points = {{"40.1", "-3.1", "700", k10h},
                                               {"40.2", "-3.2", "701", std::nullopt}};
    for (const std::string& path : {dir_.write("ruta.gpx", test::gpxText({points})),
                                    dir_.write("ruta.tcx", test::tcxText({points}))}) {
        const auto reader = openPointReader(path, detectTrackFormat(path));
        TrackPoint first;
        TrackPoint second;
        ASSERT_TRUE(reader->next(first) && reader->next(second)) << path;
        EXPECT_TRUE(first.hasTime && !second.hasTime) << path;
        EXPECT_EQ(second.altitudeFeet, 2300) << path;
        reader->close();
    }
}

TEST_F(Readers, TcxTrackpointsOfEveryLapOfTheFirstActivity) {
    const std::vector<RecordedPoint> lap1 = {{"40.1", "-3.1", "700", k10h},
                                             {"40.2", "-3.2", std::nullopt, k10h + 5}};
    const std::vector<RecordedPoint> lap2 = {{"40.3", "-3.3", "701.2", k10h + 10}};
    std::string tcx = test::tcxText({lap1, lap2});
    // A trackpoint without position (a pause) is skipped; a second activity is a track of its own.
    tcx.replace(tcx.find("          <Trackpoint>"), 0,
                "          <Trackpoint><Time>2024-05-01T09:00:00Z</Time>"
                "<HeartRateBpm><Value>90</Value></HeartRateBpm></Trackpoint>\n");
    tcx.replace(tcx.find("  </Activities>"), 0,
                "    <Activity Sport=\"Running\"><Lap><Track><Trackpoint>"
                "<Time>2024-05-02T09:00:00Z</Time><Position><LatitudeDegrees>1</LatitudeDegrees>"
                "<LongitudeDegrees>1</LongitudeDegrees></Position></Trackpoint></Track></Lap>"
                "</Activity>\n");
    const auto seen = readAll(dir_.write("a.tcx", tcx));
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0], (Seen{40100000, -3100000, 2297, 36000, 45413, seen[0].place}));
    EXPECT_EQ(seen[1], (Seen{40200000, -3200000, -777, 36005, 45413, seen[1].place}));
    EXPECT_EQ(seen[2], (Seen{40300000, -3300000, 2301, 36010, 45413, seen[2].place}));
    EXPECT_LT(seen[0].place, seen[1].place);
}

TEST_F(Readers, TcxCourseTrackpoints) {
    const std::string tcx =
        "<TrainingCenterDatabase><Courses><Course><Name>c</Name><Track><Trackpoint>"
        "<Time>2024-05-01T10:00:00Z</Time><Position><LatitudeDegrees>1.5</LatitudeDegrees>"
        "<LongitudeDegrees>2.5</LongitudeDegrees></Position><AltitudeMeters>10</AltitudeMeters>"
        "</Trackpoint></Track></Course></Courses></TrainingCenterDatabase>";
    const std::vector<Seen> expected = {{1500000, 2500000, 33, 36000, 45413, 1}};
    EXPECT_EQ(readAll(dir_.write("c.tcx", tcx)), expected);
}

TEST_F(Readers, FitRecordsWithEveryKindOfHeader) {
    constexpr std::uint32_t t0 = static_cast<std::uint32_t>(k10h - 631065600);
    test::FitWriter fit;
    fit.define(0, 0, {{0, 1, 0x00}});
    fit.data(0, {4});
    // Records with timestamp, position, altitude and enhanced altitude, little-endian.
    fit.define(1, 20, {{253, 4, 0x86}, {0, 4, 0x85}, {1, 4, 0x85}, {2, 2, 0x84}, {78, 4, 0x86}});
    auto record = [](std::uint32_t t, std::int32_t lat, std::int32_t lon, std::uint16_t alt,
                     std::uint32_t enhanced) {
        std::vector<std::uint8_t> b = test::le(t, 4);
        for (auto x : test::le(static_cast<std::uint32_t>(lat), 4))
            b.push_back(x);
        for (auto x : test::le(static_cast<std::uint32_t>(lon), 4))
            b.push_back(x);
        for (auto x : test::le(alt, 2))
            b.push_back(x);
        for (auto x : test::le(enhanced, 4))
            b.push_back(x);
        return b;
    };
    // Header, file_id definition and message, record definition.
    const std::size_t firstRecord = 14 + 9 + 2 + 21;
    const std::int32_t lat = test::semicircles(40.0);
    const std::int32_t lon = test::semicircles(-3.0);
    fit.data(1, record(t0, lat, lon, (650 + 500) * 5, 0xFFFFFFFF));           // altitude only
    fit.data(1, record(t0 + 1, lat, lon, (650 + 500) * 5, (651 + 500) * 5));  // enhanced wins
    // A record without position (sensor data only) is no point.
    fit.data(1, record(t0 + 2, 0x7FFFFFFF, 0x7FFFFFFF, 0xFFFF, 0xFFFFFFFF));
    // Big-endian records of position only, with a developer field, then compressed timestamps.
    fit.define(2, 20, {{0, 4, 0x85}, {1, 4, 0x85}}, true, {{0, 3, 0}});
    std::vector<std::uint8_t> be;
    for (auto v : {test::semicircles(41.0), test::semicircles(-4.0)}) {
        const auto u = static_cast<std::uint32_t>(v);
        be.insert(be.end(), {static_cast<std::uint8_t>(u >> 24), static_cast<std::uint8_t>(u >> 16),
                             static_cast<std::uint8_t>(u >> 8), static_cast<std::uint8_t>(u)});
    }
    be.insert(be.end(), {9, 9, 9});
    // t0 + 2 was the last full timestamp; offsets below its low five bits roll over.
    const int low = static_cast<int>((t0 + 2) & 0x1F);
    fit.compressedData(2, (low + 3) & 0x1F, be);
    fit.compressedData(2, (low + 3 + 31) & 0x1F, be);
    const auto seen = readAll(dir_.write("a.fit", fit.file()));
    const std::int32_t d = 45413;
    const std::vector<Seen> expected = {
        {40000000, -3000000, 2133, 36000, d, static_cast<std::int64_t>(firstRecord)},
        {40000000, -3000000, 2136, 36001, d, static_cast<std::int64_t>(firstRecord + 19)},
        {41000000, -4000000, -777, 36005, d, seen.size() > 2 ? seen[2].place : 0},
        {41000000, -4000000, -777, 36036, d, seen.size() > 3 ? seen[3].place : 0},
    };
    EXPECT_EQ(seen, expected);
}

TEST_F(Readers, FitFilesOneAfterTheOther) {
    const std::vector<RecordedPoint> a = {{"10", "20", "5", k10h}};
    const std::vector<RecordedPoint> b = {{"11", "21", std::nullopt, k10h + 60}};
    const auto seen = readAll(dir_.write("two.fit", test::fitFile(a) + test::fitFile(b)));
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].latitude, 10000000);
    EXPECT_EQ(seen[1].latitude, 11000000);
    EXPECT_EQ(seen[1].feet, -777);
    EXPECT_EQ(seen[1].secondOfDay, 36060);
}

TEST_F(Readers, FitCrcAsTheProtocolDefinesIt) {
    const std::string bytes = test::fitFile({{"10", "20", "5", k10h}});
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    EXPECT_EQ(fitCrc(0, data, bytes.size() - 2),
              test::fitCrcBitwise(bytes.substr(0, bytes.size() - 2)));
    // The CRC of a whole file, its own CRC included, is 0.
    EXPECT_EQ(fitCrc(0, data, bytes.size()), 0);
}

TEST_F(Readers, LocalTimeOfTheMachinesZone) {
    const test::ScopedTimeZone madrid("CET-1CEST,M3.5.0,M10.5.0/3");
    const std::vector<RecordedPoint> points = {{"40", "-3", "600", k10h - 9 * 3600 - 1}};
    for (const std::string& path : {dir_.write("z.gpx", test::gpxText({points})),
                                    dir_.write("z.tcx", test::tcxText({points})),
                                    dir_.write("z.fit", test::fitFile(points))}) {
        const auto seen = readAll(path);
        ASSERT_EQ(seen.size(), 1u) << path;
        EXPECT_EQ(seen[0].secondOfDay, 2 * 3600 + 59 * 60 + 59) << path;  // 00:59:59Z is 02:59:59
        EXPECT_EQ(seen[0].day, 45413) << path;
    }
}

TEST(TrackFormatDetection, ByContentFirstThenByExtension) {
    const test::ScopedTimeZone zone("UTC0");
    TempDir dir;
    const std::string fit = test::fitFile({{"1", "2", "3", k10h}});
    const struct {
        const char* name;
        std::string content;
        TrackFormat expected;
    } cases[] = {
        {"a.plt", "OziExplorer\r\n", TrackFormat::Plt},
        {"gpx-inside.plt", "\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<!-- c -->\n<gpx>",
         TrackFormat::Gpx},
        {"track.txt", "<!DOCTYPE x>\n<TrainingCenterDatabase xmlns=\"x\">", TrackFormat::Tcx},
        {"noextension", fit, TrackFormat::Fit},
        {"fit.GPX", fit, TrackFormat::Fit},
        {"other.gpx", "<kml>", TrackFormat::Gpx},
        {"empty.TCX", "", TrackFormat::Tcx},
        {"broken.fit", "garbage", TrackFormat::Fit},
        {"x.xml", "<kml>", TrackFormat::Plt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(detectTrackFormat(dir.write(c.name, c.content)), c.expected) << c.name;
    EXPECT_EQ(detectTrackFormat(dir.file("missing.fit")), TrackFormat::Fit);
    EXPECT_EQ(detectTrackFormat(dir.file("missing.plt")), TrackFormat::Plt);
    EXPECT_EQ(detectTrackFormat(dir.path().string()), TrackFormat::Plt);  // a folder
}

}  // namespace
}  // namespace at
