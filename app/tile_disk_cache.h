#pragma once

#include <QNetworkDiskCache>

namespace at {

// The tiles kept on disk, the program's only stored state: 200 MB at most, each tile until the
// server's own expiry headers say it is stale, or for 7 days where the server says nothing.
class TileDiskCache final : public QNetworkDiskCache {
    Q_OBJECT

  public:
    static constexpr qint64 kMaximumBytes = 200LL * 1024 * 1024;
    static constexpr int kDaysWhenUnsaid = 7;

    TileDiskCache(const QString& folder, QObject* parent = nullptr);

    QIODevice* prepare(const QNetworkCacheMetaData& metaData) override;
    void updateMetaData(const QNetworkCacheMetaData& metaData) override;

    // `metaData` with an expiry 7 days on when its headers set none.
    static QNetworkCacheMetaData withExpiry(QNetworkCacheMetaData metaData);
};

}  // namespace at
