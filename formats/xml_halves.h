#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "formats/xml_track_reader.h"
#include "track/point_reader.h"
#include "track/track_layout.h"

// A long GPX file read in two halves at once, each by its own expat parser: a day recorded at one
// point a second is several megabytes of XML, and expat alone takes longer over them than the
// window may keep the user waiting. The leader reads from the start as a single reader would; the
// follower, on another thread, reads from a point's start tag near the middle, behind start tags
// that reopen the elements the points lie in. The halves join only where the leader, arriving at
// that very tag, finds those same elements open: else the follower's work is dropped and the
// leader reads on. Points, messages and their lines are those of one reader from start to end.
namespace at {

// What the follower needs to read the second half as part of the document.
struct XmlSecondHalf {
    // Where the line of the second half's first point begins, in the file.
    std::int64_t lineStart = 0;
    // The XML declaration and the start tags of the elements open at the first point, then a line
    // end: the follower reads them before the file's bytes from lineStart on.
    std::string opening;
};

// The leader's tracks where the second half begins.
struct XmlTracksAtHalf {
    int openTrack = 0;
    int tracksOpened = 0;
    // The layout of the whole file, the leader's so far: the follower adds what the second half
    // says of its tracks.
    TrackLayout* layout = nullptr;
};

// The leader hands its tracks over to the follower once it has reached the second half; the
// follower waits for them only when the second half opens or names a track.
class XmlHalfHandoff {
  public:
    void publish(const XmlTracksAtHalf& tracks);
    void cancel();
    // The leader's tracks, or nothing when the halves are not joined after all.
    std::optional<XmlTracksAtHalf> wait();

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::optional<XmlTracksAtHalf> tracks_;
    bool cancelled_ = false;
};

// The leader's side of a reader that can read in halves.
class XmlHalvesLeader : public PointReader {
  public:
    // Known once the first point has been read, when the document can be read in halves (no
    // document type declaration, a byte encoding): the opening of a second half, the first
    // point's element name, and how far the leader has parsed.
    struct FirstPoint {
        std::string opening;
        std::string pointName;
        std::int64_t parsedBytes = 0;
    };
    virtual std::optional<FirstPoint> firstPoint() const = 0;
    // The leader ends at the point whose start tag begins at `offset`, if the same elements are
    // open there as at the first point.
    virtual void stopAt(std::int64_t offset) = 0;
    // Whether it ended there: its line, and its tracks.
    virtual bool stoppedAtHalf() const = 0;
    virtual std::int64_t lineAtHalf() const = 0;
    virtual XmlTracksAtHalf tracksAtHalf() = 0;
};

std::unique_ptr<XmlHalvesLeader> openXmlLeader(const std::string& path, XmlTrackKind kind);
// The follower's places are lines counted from its opening, which is line 1; its points of the
// track open at the second half's start say track 0.
std::unique_ptr<PointReader> openXmlFollower(const std::string& path, XmlTrackKind kind,
                                             const XmlSecondHalf& half, XmlHalfHandoff& handoff);

// A reader that reads a file of at least `kXmlHalvesBytes` in halves where it can.
#ifdef AT_FUZZ_SMALL_LIMITS
inline constexpr std::int64_t kXmlHalvesBytes = 1024;
#else
inline constexpr std::int64_t kXmlHalvesBytes = std::int64_t{2} << 20;
#endif
class XmlHalvesReader : public PointReader {
  public:
    // Whether a follower has read the second half.
    virtual bool readInHalves() const = 0;
};
std::unique_ptr<XmlHalvesReader> openXmlHalvesReader(const std::string& path, XmlTrackKind kind);

}  // namespace at
