#pragma once

#include <memory>
#include <string>

#include "track/point_source.h"

namespace at {

// The points of the track at `path` as the analysis takes them, its format recognised by content.
std::unique_ptr<PointSource> openPointSource(const std::string& path);

}  // namespace at
