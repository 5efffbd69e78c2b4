#include "charts/plot_alignment.h"

#include <QChart>
#include <QChartView>
#include <QGraphicsLayout>
#include <algorithm>
#include <cmath>
#include <limits>

namespace at {

PlotAlignment::PlotAlignment(std::vector<QChartView*> views, QObject* parent) : QObject(parent) {
    for (QChartView* view : views) {
        QChart* chart = view->chart();
        qreal left = 0, top = 0, right = 0, bottom = 0;
        chart->layout()->getContentsMargins(&left, &top, &right, &bottom);
        charts_.push_back({view, chart->margins(), QMarginsF(left, top, right, bottom)});
        // Wider or narrower labels, a new size: the chart lays itself out again and its plot
        // area moves.
        connect(chart, &QChart::plotAreaChanged, this, &PlotAlignment::alignLater);
    }
    alignLater();
}

void PlotAlignment::alignLater() {
    if (posted_)
        return;
    posted_ = true;
    QMetaObject::invokeMethod(this, &PlotAlignment::align, Qt::QueuedConnection);
}

void PlotAlignment::align() {
    posted_ = false;
    // What each chart's axes take beside its plot does not depend on its margins: the edges are
    // those that leave the widest axes their room, in the coordinates of the window the charts
    // share, and every other chart is given what it lacks as margin.
    struct Room {
        double origin;  // the chart's left edge in the window
        double width;
        // From the chart's edge to its plot, as it would be with the margins it first had.
        double left;
        double right;
    };
    std::vector<Room> rooms;
    double plotLeft = std::numeric_limits<double>::lowest();
    double plotRight = std::numeric_limits<double>::max();
    for (const Aligned& a : charts_) {
        QChart* chart = a.view->chart();
        const QRectF plot = chart->plotArea();
        qreal contentsLeft = 0, top = 0, contentsRight = 0, bottom = 0;
        chart->layout()->getContentsMargins(&contentsLeft, &top, &contentsRight, &bottom);
        const QRectF inWindow(a.view->viewport()->mapTo(a.view->window(), QPoint(0, 0)) +
                                  chart->mapToScene(QPointF(0, 0)),
                              chart->size());
        Room room;
        room.origin = inWindow.left();
        room.width = inWindow.width();
        room.left = plot.left() - contentsLeft - chart->margins().left() + a.contents.left() +
                    a.margins.left();
        room.right = inWindow.width() - plot.right() - contentsRight - chart->margins().right() +
                     a.contents.right() + a.margins.right();
        plotLeft = std::max(plotLeft, room.origin + room.left);
        plotRight = std::min(plotRight, room.origin + room.width - room.right);
        rooms.push_back(room);
    }
    for (std::size_t i = 0; i < charts_.size(); ++i) {
        const Aligned& a = charts_[i];
        const Room& room = rooms[i];
        const double moreLeft = plotLeft - (room.origin + room.left);
        const double moreRight = (room.origin + room.width - room.right) - plotRight;
        // Whole pixels go to the chart's margins, the fraction to the layout's, which moves the
        // chart's background by less than a pixel.
        QMargins margins = a.margins;
        margins.setLeft(a.margins.left() + static_cast<int>(std::floor(moreLeft)));
        margins.setRight(a.margins.right() + static_cast<int>(std::floor(moreRight)));
        const QMarginsF contents(
            a.contents.left() + moreLeft - std::floor(moreLeft), a.contents.top(),
            a.contents.right() + moreRight - std::floor(moreRight), a.contents.bottom());
        // Aligned already, but for rounding: a new layout would only bring this back.
        QChart* chart = a.view->chart();
        qreal left = 0, top = 0, right = 0, bottom = 0;
        chart->layout()->getContentsMargins(&left, &top, &right, &bottom);
        if (std::abs(left - contents.left()) > 1e-6 || std::abs(right - contents.right()) > 1e-6)
            chart->layout()->setContentsMargins(contents.left(), contents.top(), contents.right(),
                                                contents.bottom());
        if (chart->margins() != margins)
            chart->setMargins(margins);
    }
}

}  // namespace at
