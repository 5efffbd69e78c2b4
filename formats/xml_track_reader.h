#pragma once

#include <memory>
#include <string>

#include "track/point_reader.h"

// GPX 1.0 and 1.1 and TCX, read as a stream with expat: memory stays flat whatever the size of the
// file. One reader drives expat for both; what each format calls a point is its handler's
// (formats/xml_format.h).
namespace at {

enum class XmlTrackKind { Gpx, Tcx };

std::unique_ptr<PointReader> openXmlTrackReader(const std::string& path, XmlTrackKind kind);

}  // namespace at
