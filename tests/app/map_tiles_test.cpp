#include <gtest/gtest.h>

#include <QNetworkDiskCache>
#include <QTest>
#include <set>

#include "app/tile_disk_cache.h"
#include "app/tile_loader.h"
#include "charts/map_widget.h"
#include "tests/support/temp_dir.h"
#include "tests/support/tile_server.h"

namespace at::test {
namespace {

QString pathOf(const TileKey& key) {
    return QStringLiteral("/%1/%2/%3.png").arg(key.zoom).arg(key.x).arg(key.y);
}

// A tile server on 127.0.0.1, a tile cache of the test's own and a map of a short walk in Madrid.
class MapTilesTest : public testing::Test {
  protected:
    std::unique_ptr<TileLoader> loader() const {
        auto tiles = std::make_unique<TileLoader>(QString::fromStdString(cache.path().string()));
        tiles->setSource(tileSources(server.urlTemplate().toStdString()).front());
        tiles->setTimeout(300);
        return tiles;
    }
    void showMap(TileLoader* tiles) {
        map.setTiles(tiles);
        map.setTrack(MapTrack({{40.4168, -3.7038}, {40.4180, -3.7010}}), {});
        map.resize(600, 400);
        map.show();
    }
    static bool hasAll(const TileLoader& tiles, const std::vector<TileKey>& keys) {
        return std::all_of(keys.begin(), keys.end(),
                           [&](const TileKey& k) { return tiles.tile(k) != nullptr; });
    }

    TempDir cache;
    TileServer server;
    MapWidget map;
};

TEST_F(MapTilesTest, AsksForTheVisibleTilesOnlyTwoAtATimeNamingTheProgram) {
    const auto tiles = loader();
    showMap(tiles.get());
    const std::vector<TileKey> visible = map.view().visibleTiles();
    ASSERT_GE(visible.size(), 6u);
    ASSERT_TRUE(QTest::qWaitFor([&] { return hasAll(*tiles, visible); }, 10000));

    std::multiset<QString> asked, expected;
    for (const TileServer::Request& request : server.requests) {
        asked.insert(request.path);
        EXPECT_EQ(request.userAgent, "AnalisisTracks/1.3.0 (+https://senderal.example)");
    }
    for (const TileKey& key : visible)
        expected.insert(pathOf(key));
    EXPECT_EQ(asked, expected);
    EXPECT_EQ(server.mostAtOnce, TileLoader::kRequestsPerServer);
    EXPECT_LE(tiles->memoryBytes(), TileLoader::kMemoryBytes);

    // A second look at the same place, by a program started anew, is answered by the disk.
    const auto again = loader();
    again->showTiles(visible);
    ASSERT_TRUE(QTest::qWaitFor([&] { return hasAll(*again, visible); }, 10000));
    EXPECT_EQ(server.requests.size(), visible.size());
    // The server said nothing about expiry: kept for 7 days.
    QNetworkDiskCache disk;
    disk.setCacheDirectory(QString::fromStdString(cache.path().string()));
    const QUrl url(QString::fromStdString(tileUrl(again->source(), visible.front())));
    const qint64 kept = QDateTime::currentDateTimeUtc().secsTo(disk.metaData(url).expirationDate());
    EXPECT_NEAR(kept, 7 * 86400, 120);
}

TEST_F(MapTilesTest, TheServersOwnExpiryIsKept) {
    QNetworkCacheMetaData said;
    said.setRawHeaders({{"Cache-Control", "public, max-age=60"}});
    said.setExpirationDate(QDateTime::currentDateTimeUtc().addSecs(60));
    EXPECT_EQ(TileDiskCache::withExpiry(said).expirationDate(), said.expirationDate());
    said.setRawHeaders({{"expires", "Thu, 01 Jan 2037 00:00:00 GMT"}});
    EXPECT_EQ(TileDiskCache::withExpiry(said).expirationDate(), said.expirationDate());
}

TEST_F(MapTilesTest, TilesThatLeaveTheViewAreCancelled) {
    server.silent = true;
    const auto tiles = loader();
    tiles->setTimeout(60000);
    tiles->showTiles({{3, 0, 0}, {3, 1, 0}, {3, 2, 0}, {3, 3, 0}});
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.requests.size() == 2; }, 5000));
    tiles->showTiles({{3, 6, 6}, {3, 7, 7}});
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return server.dropped == 2 && server.requests.size() == 4; }, 5000));
    EXPECT_EQ(server.requests[2].path, QStringLiteral("/3/6/6.png"));
    EXPECT_EQ(server.requests[3].path, QStringLiteral("/3/7/7.png"));
    // Hidden, the map wants nothing: what was in flight goes too.
    tiles->showTiles({});
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.dropped == 4; }, 5000));
    QTest::qWait(50);
    EXPECT_EQ(server.requests.size(), 4u);
}

TEST_F(MapTilesTest, ASilentServerLeavesTheKeptTilesTheTrackAndTheNote) {
    showMap(nullptr);
    const TileKey kept = tileAt(toWorld({40.4168, -3.7038}), map.zoomLevel());
    const TileKey corner = tileAt(map.view().toWorld({597, 3}), map.zoomLevel());
    ASSERT_NE(kept, corner);
    {
        // Stale as soon as it is kept.
        server.cacheControl = "max-age=0";
        const auto first = loader();
        first->showTiles({kept});
        ASSERT_TRUE(QTest::qWaitFor([&] { return first->tile(kept) != nullptr; }, 5000));
    }
    server.silent = true;
    const auto tiles = loader();
    QObject::connect(tiles.get(), &TileLoader::offlineChanged, &map, &MapWidget::setOfflineNote);
    map.setTiles(tiles.get());
    ASSERT_TRUE(QTest::qWaitFor([&] { return map.offlineNoteShown(); }, 10000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return tiles->tile(kept) != nullptr; }, 10000));
    EXPECT_EQ(tiles->tile(corner), nullptr);

    const QImage picture = map.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(picture.pixelColor(597, 3), QColor(214, 214, 214));
    const QPointF middle = (map.rowPosition(1) + map.rowPosition(2)) / 2;
    const QColor line = picture.pixelColor(middle.toPoint());
    EXPECT_GT(line.blue(), line.green() + 60) << line.name().toStdString();
    // The kept tile is drawn as the server drew it, wherever the track and the marks leave it.
    const QImage drawn = TileServer::drawTile(kept.zoom, kept.x, kept.y);
    const ScreenPoint keptCorner =
        map.view().toScreen({double(kept.x) / (1 << kept.zoom), double(kept.y) / (1 << kept.zoom)});
    const QPointF origin(keptCorner.x, keptCorner.y);
    int same = 0, seen = 0;
    for (int y = 0; y < 256; y += 4) {
        for (int x = 0; x < 256; x += 4) {
            const QPoint at = origin.toPoint() + QPoint(x, y);
            if (!picture.rect().contains(at))
                continue;
            ++seen;
            same += picture.pixel(at) == drawn.pixel(x, y);
        }
    }
    EXPECT_GT(same, seen * 8 / 10);
}

}  // namespace
}  // namespace at::test
