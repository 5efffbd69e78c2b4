#include "tests/support/tile_server.h"

#include <QBuffer>
#include <QPainter>
#include <QTcpSocket>
#include <QTimer>
#include <cmath>

namespace at::test {

TileServer::TileServer() {
    listener_.listen(QHostAddress::LocalHost);
    connect(&listener_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = listener_.nextPendingConnection())
            serve(socket);
    });
}

QString TileServer::urlTemplate() const {
    return QStringLiteral("http://127.0.0.1:%1/{z}/{x}/{y}.png").arg(listener_.serverPort());
}

QImage TileServer::drawTile(int zoom, int x, int y) {
    QImage tile(256, 256, QImage::Format_RGB32);
    const double size = std::ldexp(256.0, zoom);
    // A made-up land, the same at every zoom: woods on the heights, water in the hollows.
    for (int py = 0; py < 256; ++py) {
        for (int px = 0; px < 256; ++px) {
            const double wx = (x * 256 + px) / size * 40000, wy = (y * 256 + py) / size * 40000;
            const double h =
                std::sin(wx * 0.9) * std::cos(wy * 0.7) + 0.4 * std::sin(wx * 2.3 + wy);
            const bool contour = std::abs(std::fmod(h * 5 + 10, 1.0) - 0.5) > 0.47;
            QRgb colour = h > 0.75 ? qRgb(200, 222, 180) : qRgb(242, 239, 228);
            if (h < -1.05)
                colour = qRgb(170, 205, 230);
            tile.setPixel(px, py, contour ? qRgb(214, 190, 160) : colour);
        }
    }
    QPainter painter(&tile);
    painter.setPen(QColor(150, 150, 150));
    painter.drawRect(0, 0, 255, 255);
    painter.drawText(QRect(4, 4, 200, 16), QStringLiteral("%1/%2/%3").arg(zoom).arg(x).arg(y));
    return tile;
}

void TileServer::serve(QTcpSocket* socket) {
    connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
        if (socket->property("asked").toBool() && !socket->property("answered").toBool()) {
            ++dropped;
            --open_;
        }
        socket->deleteLater();
    });
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
        const QByteArray head = socket->peek(8192);
        if (!head.contains("\r\n\r\n") || socket->property("asked").toBool())
            return;
        socket->setProperty("asked", true);
        Request request{QString::fromLatin1(head.split(' ').value(1)), {}};
        for (const QByteArray& line : head.split('\n')) {
            if (line.toLower().startsWith("user-agent:"))
                request.userAgent = line.mid(11).trimmed();
        }
        requests.push_back(request);
        mostAtOnce = std::max(mostAtOnce, ++open_);
        if (silent)
            return;
        QTimer::singleShot(answerAfterMs, socket, [this, socket, path = request.path] {
            const QStringList parts = path.chopped(4).split('/');
            QByteArray png;
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            drawTile(parts.value(1).toInt(), parts.value(2).toInt(), parts.value(3).toInt())
                .save(&buffer, "PNG");
            QByteArray answer =
                "HTTP/1.1 200 OK\r\nContent-Type: image/png\r\nConnection: close\r\n";
            if (!cacheControl.isEmpty())
                answer += "Cache-Control: " + cacheControl + "\r\n";
            answer += "Content-Length: " + QByteArray::number(png.size()) + "\r\n\r\n" + png;
            socket->setProperty("answered", true);
            --open_;
            socket->write(answer);
            socket->disconnectFromHost();
        });
    });
}

}  // namespace at::test
