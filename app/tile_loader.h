#pragma once

#include <QCache>
#include <QDeadlineTimer>
#include <QImage>
#include <QNetworkAccessManager>
#include <QObject>
#include <map>
#include <vector>

#include "charts/map_tiles.h"
#include "charts/tile_source.h"

class QNetworkReply;

namespace at {

size_t qHash(const TileKey& key, size_t seed = 0);

class TileDiskCache;

// Fetches the map's tiles as the tile servers' usage policies ask: a User-Agent naming the
// program and its version; at most two requests in flight per server, the rest waiting in the
// loader's own queue (Qt would open six connections); only the tiles in view, and a request for
// a tile that left the view is cancelled; every answer kept on disk as the server's expiry
// headers say. Tiles in memory are bounded.
//
// When the server cannot be reached or refuses, a tile kept on disk is shown however old it is,
// the note "Sin conexión" is asked for, and the tile is not asked for again for a minute.
class TileLoader final : public QObject, public MapTiles {
    Q_OBJECT

  public:
    static constexpr int kRequestsPerServer = 2;
    static constexpr qint64 kMemoryBytes = 100LL * 1024 * 1024;

    // The disk cache lives in `cacheFolder`.
    explicit TileLoader(const QString& cacheFolder, QObject* parent = nullptr);
    ~TileLoader() override;

    // Drops everything of the source before.
    void setSource(const TileSource& source);
    const TileSource& source() const { return source_; }
    // How long a server may stay silent before the request counts as failed.
    void setTimeout(int milliseconds) { timeoutMs_ = milliseconds; }

    void showTiles(const std::vector<TileKey>& visible) override;
    const QImage* tile(const TileKey& key) const override;

    qint64 memoryBytes() const { return memory_.totalCost(); }
    bool offline() const { return offline_; }
    static QByteArray userAgent();

  signals:
    void tileArrived();
    void offlineChanged(bool offline);

  private:
    struct Pending {
        TileKey key;
        QString server;
    };

    void startRequests();
    void finished(QNetworkReply* reply);
    // The tile as kept on disk, stale or not; false when there is none.
    bool takeFromDisk(const TileKey& key, const QUrl& url);
    bool keep(const TileKey& key, const QByteArray& bytes);
    void setOffline(bool offline);
    QUrl urlOf(const TileKey& key) const;

    QNetworkAccessManager network_;
    TileDiskCache* disk_ = nullptr;
    TileSource source_;
    int timeoutMs_ = 15000;
    QCache<TileKey, QImage> memory_;
    // Wanted and not yet asked for, most wanted first.
    std::vector<Pending> queue_;
    std::map<QNetworkReply*, Pending> inFlight_;
    std::map<TileKey, QDeadlineTimer> failed_;
    bool offline_ = false;
};

}  // namespace at
