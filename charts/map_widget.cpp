#include "charts/map_widget.h"

#include <QHelpEvent>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "charts/map_look.h"
#include "charts/map_tiles.h"
#include "charts/scale_bar.h"

namespace at {
namespace {

// A press released within this distance, in pixels, is a click; beyond it, a drag.
constexpr double kClickSlop = 4.0;
// A click this near the track, in pixels, chooses a point of it.
constexpr double kTrackReach = 10.0;
// A track is fitted with this much room, in pixels, on every side.
constexpr double kFitMargin = 24.0;
// A missing tile is drawn from a coarser one at hand up to this many levels above.
constexpr int kStandInLevels = 4;
// The pin's head: its radius and how far above the point its centre lies.
constexpr double kPinRadius = 10.0;
constexpr double kPinHeight = 17.0;

// The most points a drawn piece of the track holds.
constexpr qsizetype kPiecePoints = 16;

const QColor kNoTile(214, 214, 214);
const QColor kStretchColour(140, 175, 235);
const QColor kChosenColour(200, 20, 20);

bool segmentMayShow(const QRectF& area, const QPointF& a, const QPointF& b) {
    return std::max(a.x(), b.x()) >= area.left() && std::min(a.x(), b.x()) <= area.right() &&
           std::max(a.y(), b.y()) >= area.top() && std::min(a.y(), b.y()) <= area.bottom();
}

QToolButton* zoomButton(QWidget* parent, const char* name, const QString& caption,
                        const QString& tip) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(caption);
    button->setToolTip(tip);
    button->setFixedSize(26, 26);
    QFont font = button->font();
    font.setPixelSize(17);
    font.setBold(true);
    button->setFont(font);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

}  // namespace

MapWidget::MapWidget(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(160, 120);
    zoomInButton_ = zoomButton(this, "cmdAcercar", QStringLiteral("+"), QStringLiteral("Acercar"));
    zoomOutButton_ = zoomButton(this, "cmdAlejar", QStringLiteral("−"), QStringLiteral("Alejar"));
    zoomInButton_->move(8, 8);
    zoomOutButton_->move(8, 36);
    connect(zoomInButton_, &QToolButton::clicked, this, &MapWidget::zoomIn);
    connect(zoomOutButton_, &QToolButton::clicked, this, &MapWidget::zoomOut);
}

MapWidget::~MapWidget() = default;

QString MapWidget::offlineNoteText() {
    return QStringLiteral("Sin conexión: se muestra el mapa guardado");
}

void MapWidget::setTiles(MapTiles* tiles) {
    tiles_ = tiles;
    viewChanged();
}

void MapWidget::setZoomRange(int minZoom, int maxZoom) {
    minZoom_ = std::clamp(minZoom, 0, MapTrack::kDeepestZoom);
    maxZoom_ = std::clamp(maxZoom, minZoom_, MapTrack::kDeepestZoom);
    if (view_.zoom < minZoom_ || view_.zoom > maxZoom_)
        zoomTo(std::clamp(view_.zoom, minZoom_, maxZoom_), {view_.width / 2, view_.height / 2});
    else
        viewChanged();
}

void MapWidget::setAttribution(const QString& text) {
    attribution_ = text;
    update();
}

void MapWidget::setTrack(MapTrack track, std::vector<MapMark> marks) {
    track_ = std::move(track);
    marks_ = std::move(marks);
    chosenRow_.reset();
    hoverRow_.reset();
    stretch_.reset();
    fitTrack();
}

void MapWidget::fitTrack() {
    fitPending_ = view_.width <= 0 || view_.height <= 0;
    if (const auto bounds = track_.bounds()) {
        view_.fit(*bounds, minZoom_, maxZoom_, kFitMargin);
    } else {
        view_.centre = {0.5, 0.5};
        view_.zoom = minZoom_;
    }
    viewChanged();
}

void MapWidget::zoomIn() {
    zoomTo(view_.zoom + 1, {view_.width / 2, view_.height / 2});
}

void MapWidget::zoomOut() {
    zoomTo(view_.zoom - 1, {view_.width / 2, view_.height / 2});
}

void MapWidget::zoomTo(int zoom, const ScreenPoint& anchor) {
    view_.zoomAround(anchor, std::clamp(zoom, minZoom_, maxZoom_));
    viewChanged();
}

QPointF MapWidget::rowPosition(int row) const {
    const auto point = track_.at(row);
    return point ? screen(*point) : QPointF();
}

QPointF MapWidget::screen(const WorldPoint& point) const {
    const ScreenPoint p = view_.toScreen(point);
    return {p.x, p.y};
}

QString MapWidget::markTextAt(const QPointF& position) const {
    // The last drawn pin lies on top.
    for (auto mark = marks_.rbegin(); mark != marks_.rend(); ++mark) {
        const auto point = track_.at(mark->row);
        if (!point)
            continue;
        const QPointF head = screen(*point) - QPointF(0, kPinHeight);
        if (QLineF(head, position).length() <= kPinRadius + 1)
            return QString::fromStdString(mark->tooltip);
    }
    return {};
}

void MapWidget::setChosenRow(int row) {
    chosenRow_ = row > 0 ? std::optional(row) : std::nullopt;
    update();
}

void MapWidget::setHoverRow(int row) {
    const std::optional<int> hover = row > 0 ? std::optional(row) : std::nullopt;
    if (hover != hoverRow_) {
        hoverRow_ = hover;
        update();
    }
}

void MapWidget::setStretch(int first, int last) {
    stretch_ = first > 0 && last > 0
                   ? std::optional(std::pair(std::min(first, last), std::max(first, last)))
                   : std::nullopt;
    update();
}

void MapWidget::centreOnRow(int row) {
    if (const auto point = track_.at(row)) {
        view_.centre = *point;
        viewChanged();
    }
}

void MapWidget::setOfflineNote(bool shown) {
    if (shown != offlineNote_) {
        offlineNote_ = shown;
        update();
    }
}

void MapWidget::tilesArrived() {
    update();
}

void MapWidget::viewChanged() {
    if (tiles_ != nullptr && isVisible())
        tiles_->showTiles(view_.visibleTiles());
    update();
}

void MapWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    view_.width = width();
    view_.height = height();
    if (fitPending_)
        fitTrack();
    else
        viewChanged();
}

void MapWidget::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    viewChanged();
}

void MapWidget::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    // Out of sight nothing is wanted: what was still being fetched is dropped.
    if (tiles_ != nullptr)
        tiles_->showTiles({});
}

void MapWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    pressPosition_ = event->position();
    lastDragPosition_ = event->position();
    panning_ = false;
    event->accept();
}

void MapWidget::mouseMoveEvent(QMouseEvent* event) {
    if (!pressPosition_)
        return;
    const QPointF position = event->position();
    if (!panning_ && QLineF(*pressPosition_, position).length() > kClickSlop) {
        panning_ = true;
        setCursor(Qt::ClosedHandCursor);
    }
    if (panning_) {
        const QPointF moved = position - lastDragPosition_;
        view_.panBy(moved.x(), moved.y());
        lastDragPosition_ = position;
        viewChanged();
    }
    event->accept();
}

void MapWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressPosition_)
        return;
    const bool click =
        !panning_ && QLineF(*pressPosition_, event->position()).length() <= kClickSlop;
    pressPosition_.reset();
    panning_ = false;
    unsetCursor();
    if (click) {
        const QPointF at = event->position();
        if (const auto row = track_.rowNear(view_, {at.x(), at.y()}, kTrackReach)) {
            setChosenRow(*row);
            emit rowChosen(*row);
        }
    }
    event->accept();
}

void MapWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        fitTrack();
    event->accept();
}

void MapWidget::wheelEvent(QWheelEvent* event) {
    wheelRemainder_ += event->angleDelta().y();
    const int notches = wheelRemainder_ / 120;
    wheelRemainder_ %= 120;
    if (notches != 0) {
        const QPointF at = event->position();
        zoomTo(view_.zoom + notches, {at.x(), at.y()});
    }
    event->accept();
}

void MapWidget::contextMenuEvent(QContextMenuEvent* event) {
    emit menuRequested(event->globalPos());
    event->accept();
}

bool MapWidget::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString text = markTextAt(help->pos());
        if (text.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), text, this);
        }
        return true;
    }
    return QWidget::event(event);
}

void MapWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintTiles(painter);
    painter.setRenderHint(QPainter::Antialiasing, true);
    paintTrack(painter);
    paintMarks(painter);
    paintScaleBar(painter);
    paintCredit(painter);
    paintNote(painter);
}

void MapWidget::paintTiles(QPainter& painter) const {
    painter.fillRect(rect(), kNoTile);
    if (tiles_ == nullptr)
        return;
    // The map's corner in whole pixels, so that tiles meet without seams.
    const double scale = view_.scale();
    const int originX = static_cast<int>(std::lround(view_.width / 2 - view_.centre.x * scale));
    const int originY = static_cast<int>(std::lround(view_.height / 2 - view_.centre.y * scale));
    for (const TileKey& key : view_.visibleTiles()) {
        const QRect target(originX + key.x * kTileSize, originY + key.y * kTileSize, kTileSize,
                           kTileSize);
        if (const QImage* image = tiles_->tile(key)) {
            painter.drawImage(target.topLeft(), *image);
            continue;
        }
        for (int up = 1; up <= kStandInLevels && up <= key.zoom; ++up) {
            const TileKey coarser{key.zoom - up, key.x >> up, key.y >> up};
            const QImage* image = tiles_->tile(coarser);
            if (image == nullptr)
                continue;
            const int part = kTileSize >> up;
            const QRect source((key.x - (coarser.x << up)) * part,
                               (key.y - (coarser.y << up)) * part, part, part);
            painter.drawImage(target, *image, source);
            break;
        }
    }
}

void MapWidget::paintTrack(QPainter& painter) const {
    const QRectF area = QRectF(rect()).adjusted(-8, -8, 8, 8);
    // The drawn lines, cut where they leave the window, so that a zoomed-in track draws only
    // what shows.
    const auto lines = [&](const std::vector<int>& outline, int first, int last) {
        std::vector<QPolygonF> out;
        QPolygonF line;
        std::optional<QPointF> previous;
        const auto flush = [&] {
            if (line.size() >= 2)
                out.push_back(line);
            line.clear();
        };
        for (const int row : outline) {
            if (row == MapTrack::kBreak || row < first || row > last) {
                flush();
                previous.reset();
                continue;
            }
            const QPointF here = screen(*track_.at(row));
            if (previous && segmentMayShow(area, *previous, here)) {
                if (line.isEmpty())
                    line << *previous;
                line << here;
                // Short pieces fill far faster than one long line that crosses every scanline
                // many times; their round ends meet without a seam.
                if (line.size() >= kPiecePoints) {
                    flush();
                    line << here;
                }
            } else {
                flush();
            }
            previous = here;
        }
        flush();
        return out;
    };
    const std::vector<int>& outline = track_.outline(view_.zoom);
    const std::vector<QPolygonF> track = lines(outline, 1, track_.rowCount());
    if (stretch_) {
        painter.setPen(QPen(kStretchColour, 11, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        for (const QPolygonF& line : lines(outline, stretch_->first, stretch_->second))
            painter.drawPolyline(line);
    }
    painter.setPen(QPen(Qt::white, 5.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (const QPolygonF& line : track)
        painter.drawPolyline(line);
    painter.setPen(QPen(map_look::kTrack, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (const QPolygonF& line : track)
        painter.drawPolyline(line);
}

void MapWidget::paintMarks(QPainter& painter) const {
    const auto dot = [&](int row, const QColor& fill, double radius) {
        if (const auto point = track_.at(row)) {
            painter.setPen(QPen(Qt::white, 2));
            painter.setBrush(fill);
            painter.drawEllipse(screen(*point), radius, radius);
        }
    };
    if (track_.rowCount() > 0) {
        dot(1, map_look::kStart, 6);
        dot(track_.rowCount(), map_look::kEnd, 6);
    }
    QFont font = this->font();
    font.setPixelSize(11);
    font.setBold(true);
    painter.setFont(font);
    for (const MapMark& mark : marks_) {
        const auto point = track_.at(mark.row);
        if (!point)
            continue;
        const QPointF tip = screen(*point);
        if (!rect().adjusted(-20, -30, 20, 20).contains(tip.toPoint()))
            continue;
        const QPointF head = tip - QPointF(0, kPinHeight);
        QPainterPath pin;
        pin.moveTo(tip);
        pin.lineTo(head + QPointF(-kPinRadius * 0.6, kPinRadius * 0.8));
        pin.arcTo(
            QRectF(head.x() - kPinRadius, head.y() - kPinRadius, 2 * kPinRadius, 2 * kPinRadius),
            -127, 254);
        pin.closeSubpath();
        painter.setPen(QPen(Qt::white, 1.5));
        painter.setBrush(map_look::markColour(mark.kind));
        painter.drawPath(pin);
        painter.setPen(Qt::white);
        painter.drawText(
            QRectF(head.x() - kPinRadius, head.y() - kPinRadius, 2 * kPinRadius, 2 * kPinRadius),
            Qt::AlignCenter, QString::fromStdString(mark.label));
    }
    if (hoverRow_) {
        if (const auto point = track_.at(*hoverRow_)) {
            painter.setPen(QPen(QColor(40, 40, 40), 2));
            painter.setBrush(QColor(255, 255, 255, 180));
            painter.drawEllipse(screen(*point), 6, 6);
        }
    }
    if (chosenRow_) {
        if (const auto point = track_.at(*chosenRow_)) {
            painter.setPen(QPen(Qt::white, 2.5));
            painter.setBrush(kChosenColour);
            painter.drawEllipse(screen(*point), 7, 7);
        }
    }
}

void MapWidget::paintScaleBar(QPainter& painter) const {
    const double latitude = toGeo(view_.centre).latitude;
    const ScaleBar bar = scaleBar(metresPerPixel(latitude, view_.zoom), 100.0);
    const QPointF start(10, height() - 12);
    QFont font = this->font();
    font.setPixelSize(11);
    painter.setFont(font);
    const QRectF box(start.x() - 4, start.y() - 20, bar.pixels + 8, 26);
    painter.fillRect(box, QColor(255, 255, 255, 170));
    painter.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(start, start + QPointF(bar.pixels, 0));
    painter.drawLine(start, start - QPointF(0, 5));
    painter.drawLine(start + QPointF(bar.pixels, 0), start + QPointF(bar.pixels, -5));
    painter.drawText(QRectF(start.x(), box.top(), bar.pixels, 14), Qt::AlignCenter,
                     QString::fromStdString(bar.label));
}

void MapWidget::paintCredit(QPainter& painter) const {
    if (attribution_.isEmpty())
        return;
    QFont font = this->font();
    font.setPixelSize(11);
    painter.setFont(font);
    const QFontMetricsF metrics(font);
    const double width = metrics.horizontalAdvance(attribution_) + 10;
    const QRectF box(this->width() - width, height() - metrics.height() - 4, width,
                     metrics.height() + 4);
    painter.fillRect(box, QColor(255, 255, 255, 200));
    painter.setPen(QColor(30, 30, 30));
    painter.drawText(box, Qt::AlignCenter, attribution_);
}

void MapWidget::paintNote(QPainter& painter) const {
    if (!offlineNote_)
        return;
    QFont font = this->font();
    font.setPixelSize(12);
    font.setBold(true);
    painter.setFont(font);
    const QFontMetricsF metrics(font);
    const QString note = offlineNoteText();
    const double width = metrics.horizontalAdvance(note) + 20;
    const QRectF box((this->width() - width) / 2, 8, width, metrics.height() + 10);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 250, 215, 235));
    painter.drawRoundedRect(box, 4, 4);
    painter.setPen(QColor(90, 60, 0));
    painter.drawText(box, Qt::AlignCenter, note);
}

}  // namespace at
