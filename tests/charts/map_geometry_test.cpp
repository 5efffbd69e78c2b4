#include <gtest/gtest.h>

#include "charts/map_track.h"
#include "charts/map_view.h"
#include "charts/scale_bar.h"
#include "charts/tile_source.h"
#include "charts/web_mercator.h"

namespace at {
namespace {

TEST(WebMercator, KnownPlacesFallInTheirTiles) {
    const struct {
        GeoPosition place;
        TileKey tile;
    } cases[] = {
        {{52.51628, 13.37771}, {16, 35203, 21493}},    // Brandenburg Gate
        {{40.416775, -3.703790}, {15, 16046, 12355}},  // Puerta del Sol
        {{-33.8568, 151.2153}, {12, 3768, 2457}},      // Sydney Opera House
        {{0.0, 0.0}, {1, 1, 1}},
        {{85.0511, -180.0}, {3, 0, 0}},
        {{-85.0511, 180.0}, {3, 7, 7}},  // the last tile holds the edge
    };
    for (const auto& c : cases) {
        EXPECT_EQ(tileAt(toWorld(c.place), c.tile.zoom), c.tile) << c.place.latitude;
        const GeoPosition back = toGeo(toWorld(c.place));
        EXPECT_NEAR(back.latitude, c.place.latitude, 1e-9);
        EXPECT_NEAR(back.longitude, c.place.longitude, 1e-9);
    }
    EXPECT_DOUBLE_EQ(toWorld({0.0, 0.0}).x, 0.5);
    EXPECT_DOUBLE_EQ(toWorld({0.0, 0.0}).y, 0.5);
    EXPECT_NEAR(toWorld({85.0511287798, 0.0}).y, 0.0, 1e-10);
    EXPECT_NEAR(metresPerPixel(0.0, 0), 156543.034, 1e-3);
    EXPECT_NEAR(metresPerPixel(0.0, 18), 0.597164, 1e-6);
    EXPECT_NEAR(metresPerPixel(60.0, 10), metresPerPixel(0.0, 10) / 2, 1e-9);

    EXPECT_TRUE(onMercatorMap({85.0511, 180.0}));
    EXPECT_TRUE(onMercatorMap({-85.0511, -180.0}));
    EXPECT_FALSE(onMercatorMap({85.0512, 0.0}));
    EXPECT_FALSE(onMercatorMap({-85.0512, 0.0}));
    EXPECT_FALSE(onMercatorMap({0.0, 180.5}));
}

TEST(TileSources, OpenStreetMapFirstOrTheUsersOwnTemplate) {
    const std::vector<TileSource> builtIn = tileSources("");
    ASSERT_EQ(builtIn.size(), 2u);
    EXPECT_EQ(builtIn[0].name, "OpenStreetMap");
    EXPECT_EQ(tileUrl(builtIn[0], {5, 15, 12}), "https://tile.openstreetmap.org/5/15/12.png");
    EXPECT_EQ(builtIn[0].maxZoom, 19);
    EXPECT_EQ(builtIn[0].attribution, "© OpenStreetMap contributors");
    EXPECT_EQ(builtIn[1].name, "OpenTopoMap");
    EXPECT_EQ(builtIn[1].maxZoom, 17);

    const std::vector<TileSource> own =
        tileSources("http://127.0.0.1:8080/t/{z}/{y}/{x}.png?z={z}");
    ASSERT_EQ(own.size(), 1u);
    EXPECT_EQ(tileUrl(own[0], {7, 64, 40}), "http://127.0.0.1:8080/t/7/40/64.png?z=7");
    EXPECT_EQ(own[0].attribution, "Teselas: 127.0.0.1:8080");
    // Without all three fields it is no template.
    EXPECT_EQ(tileSources("http://127.0.0.1/{z}/{x}.png").size(), 2u);
}

TEST(ScaleBar, RoundLengthsInMetresOrKilometres) {
    const struct {
        double metresPerPixel;
        const char* label;
        double pixels;
    } cases[] = {
        {1.0, "100 m", 100.0},       {3.0, "200 m", 200.0 / 3}, {14.6, "1 km", 1000 / 14.6},
        {60.0, "5 km", 5000 / 60.0}, {0.03, "2 m", 2 / 0.03},   {2500.0, "200 km", 80.0},
    };
    for (const auto& c : cases) {
        const ScaleBar bar = scaleBar(c.metresPerPixel, 100.0);
        EXPECT_EQ(bar.label, c.label) << c.metresPerPixel;
        EXPECT_NEAR(bar.pixels, c.pixels, 1e-9) << c.metresPerPixel;
    }
}

TEST(MapView, TilesInViewCentreFirstAndGestures) {
    MapView view{{4.5 / 8, 4.5 / 8}, 3, 600, 300};
    const std::vector<TileKey> tiles = view.visibleTiles();
    ASSERT_EQ(tiles.size(), 9u);
    EXPECT_EQ(tiles.front(), (TileKey{3, 4, 4}));
    for (const TileKey& tile : tiles) {
        EXPECT_TRUE(tile.x >= 3 && tile.x <= 5 && tile.y >= 3 && tile.y <= 5);
    }
    // The world at zoom 0 is one tile, however large the window.
    const std::vector<TileKey> world = MapView{{0.5, 0.5}, 0, 800, 600}.visibleTiles();
    EXPECT_EQ(world, std::vector<TileKey>(1, TileKey{0, 0, 0}));

    const WorldPoint held = view.toWorld({100, 50});
    view.zoomAround({100, 50}, 5);
    EXPECT_NEAR(view.toWorld({100, 50}).x, held.x, 1e-12);
    EXPECT_NEAR(view.toWorld({100, 50}).y, held.y, 1e-12);
    view.panBy(30, -20);
    EXPECT_NEAR(view.toScreen(held).x, 130, 1e-6);
    EXPECT_NEAR(view.toScreen(held).y, 30, 1e-6);

    view = MapView{{0.5, 0.5}, 0, 600, 400};
    view.fit({0.3, 0.3, 0.301, 0.3005}, 0, 19, 24);
    EXPECT_EQ(view.zoom, 11);  // 0.001 of the world is 524 px at 11, 1049 px at 12
    view.fit({0.3, 0.3, 0.3, 0.3}, 0, 17, 24);
    EXPECT_EQ(view.zoom, 17);
}

TEST(MapTrack, OutlineKeepsWhatShowsAndBreaksAtThePoles) {
    // North in steps of 11 m, zigzagging 0.85 m east and back: 7 px at zoom 20, nothing at 10.
    std::vector<GeoPosition> walk;
    for (int i = 0; i < 1000; ++i)
        walk.push_back({40.0 + i * 1e-4, -3.0 + (i % 2) * 1e-5});
    walk[500].latitude = 89.0;  // no place on the map
    const MapTrack track(walk);
    EXPECT_FALSE(track.at(501));
    EXPECT_TRUE(track.at(500));

    const std::vector<int>& near = track.outline(20);
    EXPECT_EQ(near.size(), 1001u);
    EXPECT_EQ(near[500], MapTrack::kBreak);
    constexpr int kBreak = MapTrack::kBreak;
    EXPECT_EQ(track.outline(10), (std::vector<int>{1, 500, kBreak, 502, 1000, kBreak}));
}

TEST(MapTrack, AClickChoosesTheNearestPointOnScreen) {
    const MapView view{{0.5, 0.5}, 12, 800, 600};
    std::vector<GeoPosition> places;
    for (const ScreenPoint p : {ScreenPoint{100, 300}, {200, 300}, {300, 300}, {200, 300}})
        places.push_back(toGeo(view.toWorld(p)));
    const MapTrack track(places);
    const struct {
        ScreenPoint click;
        std::optional<int> row;
    } cases[] = {
        {{203, 303}, 2},  // rows 2 and 4 share the place: the lowest
        {{150, 300}, 1},  // halfway: the lowest again
        {{170, 309}, 2},  // 9 px off the line
        {{170, 311}, std::nullopt},
        {{300, 290}, 3},
        {{320, 300}, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(track.rowNear(view, c.click, 10.0), c.row) << c.click.x << "," << c.click.y;
    EXPECT_EQ(MapTrack().rowNear(view, {0, 0}, 10.0), std::nullopt);
}

}  // namespace
}  // namespace at
