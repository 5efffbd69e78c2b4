#pragma once

#include <memory>
#include <string>

#include "track/point_reader.h"

// Which format a track file is in, and the reader for it.
namespace at {

enum class TrackFormat { Plt, Gpx, Tcx, Fit };

// Recognised by content: the FIT header's signature, the XML root element. A file whose start
// says nothing (unreadable, missing, or of another kind) goes by its extension, and anything
// else is a track file of point lines. Never fails: opening the file for real reports the error.
TrackFormat detectTrackFormat(const std::string& path);

// What the start of a file says, for files already in memory.
TrackFormat formatOfContent(std::string_view start, const std::string& path);

// The reader of a GPX, TCX or FIT file (not of a file of point lines).
std::unique_ptr<PointReader> openPointReader(const std::string& path, TrackFormat format);

// "GPX", "TCX", "FIT", "PLT": for the header of a split.
const char* formatName(TrackFormat format);

}  // namespace at
