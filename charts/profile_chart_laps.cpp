#include <QPainter>
#include <QToolTip>
#include <cmath>

#include "analysis/activity_lines.h"
#include "charts/profile_chart_widget.h"

// The laps on a profile: their marks and the tooltip of the one under the mouse.
namespace at {
namespace {

const QColor kLapColour(30, 140, 60, 150);
// How near a mark, in pixels, the mouse shows its lap.
constexpr double kLapTipReach = 4.0;

}  // namespace

void ProfileChartWidget::setLaps(const std::vector<Lap>& laps) {
    laps_.clear();
    laps_.reserve(laps.size());
    for (const Lap& lap : laps)
        laps_.push_back({lap.row, QString::fromStdString(lapText(lap, locale_))});
    hoveredLap_.reset();
    scene()->update();
}

int ProfileChartWidget::lapCount() const {
    return static_cast<int>(laps_.size());
}

int ProfileChartWidget::lapRow(int index) const {
    if (index < 0 || index >= lapCount())
        return 0;
    return laps_[static_cast<std::size_t>(index)].row;
}

QString ProfileChartWidget::lapToolTip(int index) const {
    if (index < 0 || index >= lapCount())
        return {};
    return laps_[static_cast<std::size_t>(index)].tip;
}

void ProfileChartWidget::showLapTipAt(const QPointF& position) {
    std::optional<int> nearest;
    const QRectF plot = plotInViewport();
    if (hoverRow_ && plot.contains(position) && plot.width() > 0) {
        const auto [low, high] = shownRows();
        double best = kLapTipReach;
        for (std::size_t i = 0; i < laps_.size(); ++i) {
            const double at = rowPosition(laps_[i].row);
            const double x = plot.left() + (at - low) / (high - low) * plot.width();
            const double distance = std::abs(x - position.x());
            if (!std::isnan(distance) && distance <= best) {
                best = distance;
                nearest = static_cast<int>(i);
            }
        }
    }
    if (nearest == hoveredLap_)
        return;
    hoveredLap_ = nearest;
    if (nearest) {
        QToolTip::showText(viewport()->mapToGlobal(position.toPoint()),
                           laps_[static_cast<std::size_t>(*nearest)].tip, viewport());
    } else {
        QToolTip::hideText();
    }
}

void ProfileChartWidget::drawLapMarks(QPainter& painter, const std::function<double(int)>& xOf,
                                      const QRectF& plot) const {
    painter.setBrush(kLapColour);
    for (const LapMark& lap : laps_) {
        const double at = xOf(lap.row);
        if (std::isnan(at) || at < plot.left() - 9 || at > plot.right() + 9)
            continue;
        const double x = std::round(at);
        // A flag at the top tells a lap from a stop where the two fall together.
        painter.drawRect(QRectF(x - 1, plot.top(), 2, plot.height()));
        const QPointF flag[] = {
            {x + 1, plot.top()}, {x + 8, plot.top() + 4}, {x + 1, plot.top() + 8}};
        painter.drawPolygon(flag, 3);
    }
}

}  // namespace at
