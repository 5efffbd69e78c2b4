#include "charts/profile_chart_widget.h"

#include <QAreaSeries>
#include <QLegend>
#include <QLineSeries>
#include <QMouseEvent>
#include <QValueAxis>
#include <algorithm>
#include <charconv>
#include <cmath>

namespace at {
namespace {

// How far from a drawn point a click still chooses it, in pixels.
constexpr double kPickRadius = 6.0;

// What the chart shows before the first analysis: a gentle hill, so the window does not open on
// an empty frame.
constexpr double kPlaceholder[] = {3, 4, 6, 9, 11, 12, 11, 8, 6, 5};

std::optional<double> parseNumber(std::string_view text, const NumberLocale& locale) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    if (text.empty() || text.size() > 64)
        return std::nullopt;
    // The text with "." for the locale's separator; a "." of its own is not a number here.
    const std::string& separator = locale.decimalSeparator;
    std::string plain;
    plain.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (separator != "." && text[i] == '.')
            return std::nullopt;
        if (!separator.empty() && text.compare(i, separator.size(), separator) == 0) {
            plain += '.';
            i += separator.size();
        } else {
            plain += text[i++];
        }
    }
    double value = 0.0;
    const char* first = plain.data();
    const char* last = plain.data() + plain.size();
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// A tick spacing of 1, 2 or 5 times a power of ten that gives about `ticks` intervals.
double niceStep(double span, int ticks) {
    const double raw = span / ticks;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (raw <= factor * power)
            return factor * power;
    }
    return 10.0 * power;
}

void setTicks(QValueAxis* axis, double low, double high, int ticks) {
    // Fixed ticks while the range changes: the old spacing over a new, wider range would lay
    // out thousands of ticks for nothing.
    axis->setTickType(QValueAxis::TicksFixed);
    axis->setTickCount(ticks + 1);
    axis->setRange(low, high);
    const double step = niceStep(high - low, ticks);
    if (!std::isfinite(step) || step <= 0.0 || !std::isfinite(low) || !std::isfinite(high))
        return;
    axis->setTickAnchor(0.0);
    axis->setTickInterval(step);
    axis->setTickType(QValueAxis::TicksDynamic);
}

QFont smallFont(const QFont& base) {
    QFont font = base;
    font.setPointSizeF(7.0);
    return font;
}

}  // namespace

ProfileChartWidget::ProfileChartWidget(Style style, const QString& seriesName, QWidget* parent)
    : QChartView(parent), style_(style) {
    auto* chart = new QChart();
    chart->setBackgroundRoundness(0);
    // Room above the plot for the series label, drawn in the top right corner.
    chart->setMargins(QMargins(2, 14, 8, 0));
    chart->legend()->setFont(smallFont(font()));
    chart->legend()->detachFromChart();
    chart->legend()->setBackgroundVisible(false);
    chart->setAnimationOptions(QChart::NoAnimation);

    line_ = new QLineSeries(chart);
    line_->setName(seriesName);
    QAbstractSeries* drawn = line_;
    if (style_ == Style::Area) {
        area_ = new QAreaSeries(line_);
        area_->setName(seriesName);
        area_->setColor(QColor(120, 170, 90));
        area_->setBorderColor(QColor(40, 100, 30));
        drawn = area_;
    } else {
        QPen pen(QColor(20, 60, 180));
        pen.setWidthF(1.2);
        line_->setPen(pen);
    }
    chart->addSeries(drawn);

    axisX_ = new QValueAxis(chart);
    axisX_->setLabelFormat("%.0f");
    axisX_->setLabelsFont(smallFont(font()));
    axisY_ = new QValueAxis(chart);
    axisY_->setLabelFormat("%g");
    axisY_->setLabelsFont(smallFont(font()));
    chart->addAxis(axisX_, Qt::AlignBottom);
    chart->addAxis(axisY_, Qt::AlignLeft);
    drawn->attachAxis(axisX_);
    drawn->attachAxis(axisY_);

    // The view made a chart of its own; setChart hands it back instead of deleting it.
    QChart* const placeholder = QChartView::chart();
    setChart(chart);
    delete placeholder;
    setRenderHint(QPainter::Antialiasing, true);
    setFrameShape(QFrame::NoFrame);

    values_.assign(std::begin(kPlaceholder), std::end(kPlaceholder));
    dirty_ = true;
    rebuildSeries();
}

ProfileChartWidget::~ProfileChartWidget() = default;

void ProfileChartWidget::setRowCount(qint16 count) {
    values_.resize(count > 0 ? static_cast<std::size_t>(count) : 0, 0.0);
    changed();
}

qint16 ProfileChartWidget::rowCount() const {
    return static_cast<qint16>(values_.size());
}

void ProfileChartWidget::setRow(qint16 row) {
    currentRow_ = row;
}

void ProfileChartWidget::setRowValue(std::string_view text) {
    if (currentRow_ < 1 || static_cast<std::size_t>(currentRow_) > values_.size())
        return;
    const auto value = parseNumber(text, locale_);
    if (!value)
        return;
    values_[static_cast<std::size_t>(currentRow_) - 1] = *value;
    changed();
}

void ProfileChartWidget::setRowValue(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    setRowValue(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

void ProfileChartWidget::setValueAxisMinimum(double value) {
    axisMinimum_ = value;
    changed();
}

void ProfileChartWidget::setValueAxisMaximum(double value) {
    axisMaximum_ = value;
    changed();
}

double ProfileChartWidget::rowValue(int row) const {
    if (row < 1 || static_cast<std::size_t>(row) > values_.size())
        return 0.0;
    return values_[static_cast<std::size_t>(row) - 1];
}

double ProfileChartWidget::valueAxisMinimum() const {
    return axisMinimum_.value_or(autoMinimum_);
}

double ProfileChartWidget::valueAxisMaximum() const {
    return axisMaximum_.value_or(autoMaximum_);
}

void ProfileChartWidget::changed() {
    dirty_ = true;
    // A command writes thousands of rows without returning to the event loop; one refresh after
    // it is enough, whoever asks first.
    if (!refreshPosted_) {
        refreshPosted_ = true;
        QMetaObject::invokeMethod(this, &ProfileChartWidget::refresh, Qt::QueuedConnection);
    }
}

void ProfileChartWidget::refresh() {
    refreshPosted_ = false;
    if (!dirty_)
        return;
    rebuildSeries();
}

int ProfileChartWidget::drawingColumns() const {
    const QRectF plot = chart()->plotArea();
    const double width = plot.width() > 1 ? plot.width() : static_cast<double>(this->width());
    return std::max(64, static_cast<int>(std::ceil(width * devicePixelRatioF())));
}

void ProfileChartWidget::rebuildSeries() {
    dirty_ = false;
    const std::size_t n = values_.size();
    QList<QPointF> points;
    const auto columns = static_cast<std::size_t>(drawingColumns());
    if (n <= 2 * columns) {
        points.reserve(static_cast<qsizetype>(n));
        for (std::size_t i = 0; i < n; ++i)
            points.append(QPointF(double(i + 1), values_[i]));
    } else {
        // Each pixel column keeps its lowest and its highest row, in row order, so peaks and
        // dips survive the thinning.
        points.reserve(static_cast<qsizetype>(2 * columns));
        for (std::size_t c = 0; c < columns; ++c) {
            const std::size_t first = c * n / columns;
            const std::size_t last = (c + 1) * n / columns;
            if (first >= last)
                continue;
            std::size_t low = first;
            std::size_t high = first;
            for (std::size_t i = first + 1; i < last; ++i) {
                if (values_[i] < values_[low])
                    low = i;
                if (values_[i] > values_[high])
                    high = i;
            }
            const std::size_t a = std::min(low, high);
            const std::size_t b = std::max(low, high);
            points.append(QPointF(double(a + 1), values_[a]));
            if (b != a)
                points.append(QPointF(double(b + 1), values_[b]));
        }
    }
    line_->replace(points);

    if (n == 0) {
        autoMinimum_ = 0.0;
        autoMaximum_ = 1.0;
    } else {
        const auto [low, high] = std::minmax_element(values_.begin(), values_.end());
        autoMinimum_ = std::min(0.0, *low);
        autoMaximum_ = *high;
    }
    applyAxes();
}

void ProfileChartWidget::applyAxes() {
    const double rows = static_cast<double>(values_.size());
    if (rows >= 2) {
        setTicks(axisX_, 1.0, rows, 5);
    } else {
        setTicks(axisX_, 0.0, 2.0, 2);
    }

    double low = valueAxisMinimum();
    double high = valueAxisMaximum();
    if (low > high)
        std::swap(low, high);
    if (high - low < 1e-9) {
        low -= 1.0;
        high += 1.0;
    }
    if (!axisMinimum_ && !axisMaximum_) {
        // Automatic scaling starts and ends on a tick.
        const double step = niceStep(high - low, 5);
        if (std::isfinite(step) && step > 0.0) {
            low = std::floor(low / step) * step;
            high = std::ceil(high / step) * step;
        }
    }
    setTicks(axisY_, low, high, 5);
}

std::optional<int> ProfileChartWidget::rowAt(const QPointF& position) const {
    if (values_.empty())
        return std::nullopt;
    QAbstractSeries* drawn = area_ ? static_cast<QAbstractSeries*>(area_) : line_;
    const QPointF local = chart()->mapFromScene(mapToScene(position.toPoint()));
    const QRectF reach =
        chart()->plotArea().adjusted(-kPickRadius, -kPickRadius, kPickRadius, kPickRadius);
    if (!reach.contains(local))
        return std::nullopt;
    const double left = chart()->mapToValue(local - QPointF(kPickRadius, 0), drawn).x();
    const double right = chart()->mapToValue(local + QPointF(kPickRadius, 0), drawn).x();
    const auto n = static_cast<double>(values_.size());
    const int first = static_cast<int>(std::max(1.0, std::ceil(std::min(left, right))));
    const int last = static_cast<int>(std::min(n, std::floor(std::max(left, right))));
    std::optional<int> best;
    double bestDistance = kPickRadius;
    for (int row = first; row <= last; ++row) {
        const QPointF at = chart()->mapToPosition(QPointF(row, rowValue(row)), drawn);
        const double distance = std::hypot(at.x() - local.x(), at.y() - local.y());
        if (distance <= bestDistance) {
            bestDistance = distance;
            best = row;
        }
    }
    return best;
}

void ProfileChartWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        refresh();
        if (const auto row = rowAt(event->position())) {
            emit pointSelected(1, static_cast<qint16>(*row), 1, 0);
        }
    }
    QChartView::mousePressEvent(event);
}

void ProfileChartWidget::resizeEvent(QResizeEvent* event) {
    QChartView::resizeEvent(event);
    constexpr qreal kLegendWidth = 90;
    chart()->legend()->setGeometry(QRectF(width() - kLegendWidth - 4, 0, kLegendWidth, 18));
    dirty_ = true;
    refresh();
}

}  // namespace at
