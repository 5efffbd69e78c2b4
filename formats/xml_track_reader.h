#pragma once

#include <memory>
#include <string>

#include "track/point_reader.h"

// GPX 1.0 and 1.1 and TCX, read as a stream with expat: memory stays flat whatever the size of the
// file.
//  - GPX: every trkpt of every trkseg of every trk, in file order; routes and waypoints are no
//    points of the track.
//  - TCX: every Trackpoint of the first Activity (all its laps) or Course; a trackpoint without a
//    position is skipped.
namespace at {

enum class XmlTrackKind { Gpx, Tcx };

std::unique_ptr<PointReader> openXmlTrackReader(const std::string& path, XmlTrackKind kind);

}  // namespace at
