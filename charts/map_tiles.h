#pragma once

#include <vector>

#include "charts/web_mercator.h"

class QImage;

namespace at {

// Where the map gets its tiles: it says which tiles it shows, and draws those already at hand.
// Whoever provides them tells the map to repaint when more arrive.
class MapTiles {
  public:
    virtual ~MapTiles() = default;
    // The tiles now in view, the most wanted first; nothing else is fetched, and what was being
    // fetched for tiles no longer in view is dropped. An empty list: the map is not on show.
    virtual void showTiles(const std::vector<TileKey>& visible) = 0;
    // The picture of `tile` if it is at hand; null while it is not.
    virtual const QImage* tile(const TileKey& tile) const = 0;
};

}  // namespace at
