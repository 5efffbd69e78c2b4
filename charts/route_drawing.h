#pragma once

#include <vector>

#include "charts/map_mark.h"
#include "charts/map_track.h"

class QPainter;
class QRectF;

namespace at {

// The route as the report prints it, without tiles, so that it looks the same offline: north up,
// Web Mercator at the scale that fills `box` (in the painter's units; `em` is the report's unit
// of measure), the start and the end, the marks numbered, a metric scale bar and the north.
void paintRoute(QPainter& painter, const QRectF& box, const MapTrack& track,
                const std::vector<MapMark>& marks, double em);

}  // namespace at
