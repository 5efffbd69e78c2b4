#include "app/tile_disk_cache.h"

#include <QDateTime>

namespace at {

TileDiskCache::TileDiskCache(const QString& folder, QObject* parent) : QNetworkDiskCache(parent) {
    setCacheDirectory(folder);
    setMaximumCacheSize(kMaximumBytes);
}

QNetworkCacheMetaData TileDiskCache::withExpiry(QNetworkCacheMetaData metaData) {
    for (const auto& [name, value] : metaData.rawHeaders()) {
        if (name.compare("Expires", Qt::CaseInsensitive) == 0)
            return metaData;
        if (name.compare("Cache-Control", Qt::CaseInsensitive) == 0 &&
            value.toLower().contains("max-age")) {
            return metaData;
        }
    }
    metaData.setExpirationDate(QDateTime::currentDateTimeUtc().addDays(kDaysWhenUnsaid));
    return metaData;
}

QIODevice* TileDiskCache::prepare(const QNetworkCacheMetaData& metaData) {
    return QNetworkDiskCache::prepare(withExpiry(metaData));
}

void TileDiskCache::updateMetaData(const QNetworkCacheMetaData& metaData) {
    QNetworkDiskCache::updateMetaData(withExpiry(metaData));
}

}  // namespace at
