#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QTcpServer>
#include <vector>

namespace at::test {

// An HTTP tile server on 127.0.0.1 that draws its tiles (a shaded relief with contour lines that
// runs on from tile to tile, and the tile's number) and records what it was asked.
class TileServer final : public QObject {
  public:
    struct Request {
        QString path;
        QByteArray userAgent;
    };

    TileServer();

    QString urlTemplate() const;
    static QImage drawTile(int zoom, int x, int y);

    std::vector<Request> requests;
    // The most requests it held unanswered at the same time.
    int mostAtOnce = 0;
    // Connections the client closed before they were answered.
    int dropped = 0;
    // How long each answer takes; a silent server accepts and never answers.
    int answerAfterMs = 30;
    bool silent = false;
    // Sent with every tile when not empty.
    QByteArray cacheControl;

  private:
    void serve(QTcpSocket* socket);

    QTcpServer listener_;
    int open_ = 0;
};

}  // namespace at::test
