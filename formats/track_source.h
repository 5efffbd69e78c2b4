#pragma once

#include <memory>
#include <string>

#include "track/point_source.h"

namespace at {

// The points of track `track` (from 1) of the file at `path` as the analysis takes them, its
// format recognised by content. A track file of point lines is one track.
std::unique_ptr<PointSource> openPointSource(const std::string& path, int track = 1);

// The local date of the first point of the track at `path`, read without reading the rest; 0 when
// the file gives none or cannot be read that far (the analysis says why).
std::int32_t firstPointDay(const std::string& path);

}  // namespace at
