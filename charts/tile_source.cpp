#include "charts/tile_source.h"

namespace at {
namespace {

// The host and port of a URL, for the credit of an own server.
std::string_view hostOf(std::string_view url) {
    if (const auto scheme = url.find("://"); scheme != std::string_view::npos)
        url.remove_prefix(scheme + 3);
    return url.substr(0, url.find('/'));
}

void replaceAll(std::string& text, std::string_view field, std::string_view value) {
    for (auto at = text.find(field); at != std::string::npos;
         at = text.find(field, at + value.size())) {
        text.replace(at, field.size(), value);
    }
}

}  // namespace

bool isTileTemplate(std::string_view text) {
    for (std::string_view field : {"{z}", "{x}", "{y}"}) {
        if (text.find(field) == std::string_view::npos)
            return false;
    }
    return true;
}

std::vector<TileSource> tileSources(std::string_view ownTemplate) {
    if (isTileTemplate(ownTemplate)) {
        return {{"Teselas propias", std::string(ownTemplate), 0, 19,
                 "Teselas: " + std::string(hostOf(ownTemplate))}};
    }
    // One host per source, so that the limit of requests per server holds for the whole source.
    return {
        {"OpenStreetMap", "https://tile.openstreetmap.org/{z}/{x}/{y}.png", 0, 19,
         "© OpenStreetMap contributors"},
        {"OpenTopoMap", "https://a.tile.opentopomap.org/{z}/{x}/{y}.png", 0, 17,
         "Datos: © OpenStreetMap contributors, SRTM · Estilo: © OpenTopoMap (CC-BY-SA)"},
    };
}

std::string tileUrl(const TileSource& source, const TileKey& tile) {
    std::string url = source.urlTemplate;
    replaceAll(url, "{z}", std::to_string(tile.zoom));
    replaceAll(url, "{x}", std::to_string(tile.x));
    replaceAll(url, "{y}", std::to_string(tile.y));
    return url;
}

}  // namespace at
