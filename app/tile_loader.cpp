#include "app/tile_loader.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <algorithm>

#include "app/tile_disk_cache.h"

namespace at {

size_t qHash(const TileKey& key, size_t seed) {
    return qHashMulti(seed, key.zoom, key.x, key.y);
}

namespace {

// A tile that failed is not asked for again before this many milliseconds.
constexpr int kRetryAfterMs = 60000;

}  // namespace

TileLoader::TileLoader(const QString& cacheFolder, QObject* parent)
    : QObject(parent), disk_(new TileDiskCache(cacheFolder, this)), memory_(kMemoryBytes) {
    network_.setCache(disk_);
    connect(&network_, &QNetworkAccessManager::finished, this, &TileLoader::finished);
}

TileLoader::~TileLoader() {
    showTiles({});
}

QByteArray TileLoader::userAgent() {
    return QByteArrayLiteral("AnalisisTracks/" AT_VERSION " (+https://senderal.example)");
}

void TileLoader::setSource(const TileSource& source) {
    showTiles({});
    memory_.clear();
    failed_.clear();
    source_ = source;
    setOffline(false);
}

QUrl TileLoader::urlOf(const TileKey& key) const {
    return QUrl(QString::fromStdString(tileUrl(source_, key)));
}

const QImage* TileLoader::tile(const TileKey& key) const {
    return memory_.object(key);
}

void TileLoader::showTiles(const std::vector<TileKey>& visible) {
    const auto wanted = [&visible](const TileKey& key) {
        return std::find(visible.begin(), visible.end(), key) != visible.end();
    };
    for (auto it = inFlight_.begin(); it != inFlight_.end();) {
        if (wanted(it->second.key)) {
            ++it;
            continue;
        }
        QNetworkReply* reply = it->first;
        it = inFlight_.erase(it);
        // Out of the books first: the abort's own "finished" is then nobody's answer.
        reply->abort();
    }
    queue_.clear();
    for (const TileKey& key : visible) {
        if (key.zoom < source_.minZoom || key.zoom > source_.maxZoom)
            continue;
        // A tile that failed waits for its retry, even when an old copy of it is shown.
        if (const auto failed = failed_.find(key); failed != failed_.end()) {
            if (!failed->second.hasExpired())
                continue;
            failed_.erase(failed);
        } else if (memory_.contains(key)) {
            continue;
        }
        const bool asked =
            std::any_of(inFlight_.begin(), inFlight_.end(),
                        [&key](const auto& entry) { return entry.second.key == key; });
        if (!asked)
            queue_.push_back({key, urlOf(key).authority()});
    }
    startRequests();
}

void TileLoader::startRequests() {
    std::map<QString, int> busy;
    for (const auto& [reply, pending] : inFlight_)
        ++busy[pending.server];
    for (auto it = queue_.begin(); it != queue_.end();) {
        int& running = busy[it->server];
        if (running >= kRequestsPerServer) {
            ++it;
            continue;
        }
        QNetworkRequest request(urlOf(it->key));
        request.setHeader(QNetworkRequest::UserAgentHeader, userAgent());
        request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                             QNetworkRequest::PreferNetwork);
        request.setTransferTimeout(timeoutMs_);
        inFlight_.emplace(network_.get(request), *it);
        ++running;
        it = queue_.erase(it);
    }
}

void TileLoader::finished(QNetworkReply* reply) {
    reply->deleteLater();
    const auto entry = inFlight_.find(reply);
    if (entry == inFlight_.end())
        return;  // cancelled: the tile left the view
    const TileKey key = entry->second.key;
    inFlight_.erase(entry);

    if (reply->error() == QNetworkReply::NoError && keep(key, reply->readAll())) {
        if (!reply->attribute(QNetworkRequest::SourceIsFromCacheAttribute).toBool())
            setOffline(false);
        emit tileArrived();
    } else {
        failed_[key] = QDeadlineTimer(kRetryAfterMs);
        if (takeFromDisk(key, reply->url()))
            emit tileArrived();
        setOffline(true);
    }
    startRequests();
}

bool TileLoader::takeFromDisk(const TileKey& key, const QUrl& url) {
    QIODevice* kept = disk_->data(url);
    if (kept == nullptr)
        return false;
    const bool taken = keep(key, kept->readAll());
    delete kept;
    return taken;
}

bool TileLoader::keep(const TileKey& key, const QByteArray& bytes) {
    QImage image = QImage::fromData(bytes);
    if (image.isNull())
        return false;
    // Drawn as it is, without a conversion at every paint.
    auto* kept = new QImage(image.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    return memory_.insert(key, kept, std::max<qsizetype>(1, kept->sizeInBytes()));
}

void TileLoader::setOffline(bool offline) {
    if (offline != offline_) {
        offline_ = offline;
        emit offlineChanged(offline);
    }
}

}  // namespace at
