#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "formats/track_format.h"
#include "track/point_reader.h"

// The tracks of a file that holds several: several GPX trk, several TCX activities, a chain of FIT
// activities. Only tracks with points count; they are numbered from 1 in file order. The segments
// of one track stay one track.
namespace at {

struct TrackListing {
    int number = 0;
    std::string name;
    bool onFoot = false;
    // The local date of its first point, days since 1899-12-30; 0 when the file gives none.
    std::int32_t day = 0;
    std::int64_t points = 0;
};

// The tracks of the file at `path`, read once. A file of one track, and every track file of point
// lines, lists at most one: only a file of several asks which to analyse. A fault of the file
// ends the listing with its RuntimeError.
std::vector<TrackListing> listTracks(const std::string& path);

// The points of track `number` alone, the file still read to its end so that a fault anywhere in
// it is met; 0 reads every point of the file.
std::unique_ptr<PointReader> openTrackReader(const std::string& path, TrackFormat format,
                                             int number);

}  // namespace at
