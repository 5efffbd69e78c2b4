#include "charts/route_drawing.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "charts/map_look.h"
#include "charts/scale_bar.h"

namespace at {

void paintRoute(QPainter& painter, const QRectF& box, const MapTrack& track,
                const std::vector<MapMark>& marks, double em) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(Qt::black, em * 0.05));
    painter.setBrush(QColor(250, 250, 246));
    painter.drawRect(box);
    const auto bounds = track.bounds();
    if (!bounds) {
        painter.drawText(box, Qt::AlignCenter, QStringLiteral("El track no tiene posiciones"));
        painter.restore();
        return;
    }
    painter.setClipRect(box);
    // The scale that fits the route inside the box with a margin, the same both ways.
    const QRectF inner = box.adjusted(em * 1.5, em * 1.5, -em * 1.5, -em * 1.5);
    const double spanX = std::max(bounds->right - bounds->left, 1e-12);
    const double spanY = std::max(bounds->bottom - bounds->top, 1e-12);
    const double scale = std::min(inner.width() / spanX, inner.height() / spanY);
    const QPointF centre((bounds->left + bounds->right) / 2, (bounds->top + bounds->bottom) / 2);
    const auto place = [&](const WorldPoint& p) {
        return inner.center() + QPointF((p.x - centre.x()) * scale, (p.y - centre.y()) * scale);
    };
    // The outline of the zoom level at least as fine as the page.
    const int zoom = std::clamp(static_cast<int>(std::ceil(std::log2(scale / kTileSize))), 0,
                                MapTrack::kDeepestZoom);
    QPolygonF line;
    painter.setPen(QPen(map_look::kTrack, em * 0.16, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (const int row : track.outline(zoom)) {
        if (row != MapTrack::kBreak) {
            line << place(*track.at(row));
            continue;
        }
        painter.drawPolyline(line);
        line.clear();
    }

    const auto dot = [&](int row, const QColor& fill, double radius) {
        if (const auto point = track.at(row)) {
            painter.setPen(QPen(Qt::white, em * 0.06));
            painter.setBrush(fill);
            painter.drawEllipse(place(*point), radius, radius);
        }
    };
    dot(1, map_look::kStart, em * 0.35);
    dot(track.rowCount(), map_look::kEnd, em * 0.35);
    QFont font = painter.font();
    font.setPixelSize(std::max(1, static_cast<int>(em * 0.5)));
    font.setBold(true);
    painter.setFont(font);
    for (const MapMark& mark : marks) {
        const auto point = track.at(mark.row);
        if (!point)
            continue;
        const QPointF at = place(*point);
        const double radius = em * 0.42;
        dot(mark.row, map_look::markColour(mark.kind), radius);
        painter.setPen(Qt::white);
        painter.drawText(QRectF(at.x() - radius, at.y() - radius, 2 * radius, 2 * radius),
                         Qt::AlignCenter, QString::fromStdString(mark.label));
    }

    // Scale bar at the lower left, the north at the upper right.
    const double latitude = toGeo({centre.x(), centre.y()}).latitude;
    const double metresPerUnit = metresPerPixel(latitude, 0) * kTileSize / scale;
    const ScaleBar bar = scaleBar(metresPerUnit, box.width() / 4);
    const QPointF start(box.left() + em, box.bottom() - em);
    painter.setPen(QPen(Qt::black, em * 0.08, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(start, start + QPointF(bar.pixels, 0));
    painter.drawLine(start, start - QPointF(0, em * 0.3));
    painter.drawLine(start + QPointF(bar.pixels, 0), start + QPointF(bar.pixels, -em * 0.3));
    font.setBold(false);
    painter.setFont(font);
    painter.drawText(QRectF(start.x(), start.y() - em * 1.1, bar.pixels, em * 0.8), Qt::AlignCenter,
                     QString::fromStdString(bar.label));
    const QPointF north(box.right() - em * 1.2, box.top() + em * 0.8);
    painter.setBrush(Qt::black);
    painter.setPen(Qt::NoPen);
    painter.drawPolygon(QPolygonF(
        {north, north + QPointF(-em * 0.3, em * 0.8), north + QPointF(em * 0.3, em * 0.8)}));
    painter.setPen(Qt::black);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRectF(north.x() - em, north.y() + em * 0.8, 2 * em, em * 0.8),
                     Qt::AlignCenter, QStringLiteral("N"));
    painter.restore();
}

}  // namespace at
