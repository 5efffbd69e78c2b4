#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "charts/web_mercator.h"

namespace at {

// Where map tiles come from: a URL template with {z}, {x} and {y}, the zoom levels the server
// has, and the credit its terms ask to be shown on the map.
struct TileSource {
    std::string name;
    std::string urlTemplate;
    int minZoom = 0;
    int maxZoom = 0;
    std::string attribution;
};

// OpenStreetMap's standard tiles first, OpenTopoMap second. A template of the user's own
// (ANALISIS_TRACKS_TESELAS) replaces both; one without {z}, {x} and {y} is not a template and
// is ignored.
std::vector<TileSource> tileSources(std::string_view ownTemplate);

bool isTileTemplate(std::string_view text);
std::string tileUrl(const TileSource& source, const TileKey& tile);

}  // namespace at
