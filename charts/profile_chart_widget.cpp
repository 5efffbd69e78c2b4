#include "charts/profile_chart_widget.h"

#include <QAreaSeries>
#include <QCategoryAxis>
#include <QLegend>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPainter>
#include <QValueAxis>
#include <QWheelEvent>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "analysis/sensor_figures.h"
#include "charts/point_readout.h"
#include "charts/profile_drawing.h"
#include "charts/sensor_readout.h"
#include "platform/number_text.h"

namespace at {
namespace {

// How far the mouse moves, in pixels, before a press becomes a drag.
constexpr double kDragThreshold = 4.0;
// Each notch of the wheel shows this share of the rows shown before.
constexpr double kZoomPerNotch = 0.8;
// A stop chosen in the list while every row is shown: this share of the rows around it.
constexpr double kStopViewShare = 0.1;

const QColor kMarkColour(200, 20, 20);
const QColor kStopColour(230, 140, 0, 110);
const QColor kShownStopColour(230, 110, 0, 220);
const QColor kStretchColour(40, 90, 200, 60);
const QColor kHoverLineColour(60, 60, 60, 140);
const QColor kMeanLineColour(0, 130, 60);

QStringList toLines(const std::vector<std::string>& lines) {
    QStringList out;
    for (const std::string& line : lines)
        out << QString::fromStdString(line);
    return out;
}

QString nameOf(Sensor sensor) {
    return QString::fromUtf8(sensorName(sensor));
}

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
    : QChartView(parent), style_(style), seriesName_(seriesName) {
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
    axisPlaced_ = new QCategoryAxis(chart);
    axisPlaced_->setVisible(false);
    axisPlaced_->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    axisPlaced_->setLabelsFont(smallFont(font()));
    axisY_ = new QValueAxis(chart);
    axisY_->setLabelFormat("%g");
    axisY_->setLabelsFont(smallFont(font()));
    chart->addAxis(axisX_, Qt::AlignBottom);
    chart->addAxis(axisY_, Qt::AlignLeft);
    chart->addAxis(axisPlaced_, Qt::AlignBottom);
    drawn->attachAxis(axisX_);
    drawn->attachAxis(axisY_);
    attachedX_ = axisX_;

    // The view made a chart of its own; setChart hands it back instead of deleting it.
    QChart* const placeholder = QChartView::chart();
    setChart(chart);
    delete placeholder;
    setRenderHint(QPainter::Antialiasing, true);
    setFrameShape(QFrame::NoFrame);
    // The marks are drawn over the scene, not as items of it: when they move (a zoom, a pan, a
    // new choice) only a repaint of the whole view takes away where they were before.
    setViewportUpdateMode(QGraphicsView::FullViewportUpdate);

    setMouseTracking(true);
    viewport()->setMouseTracking(true);
    // Right-button presses and releases come here: a right drag pans, a right click asks for the
    // menu.
    setContextMenuPolicy(Qt::PreventContextMenu);
    connect(this, &ProfileChartWidget::pointSelected, this,
            [this](qint16 series, qint16 row, qint16 mouseFlags, qint16 cancel) {
                emit pointSelected32(series, row, mouseFlags, cancel);
            });
    // Whoever reports a choice, the chosen row is marked.
    connect(this, &ProfileChartWidget::pointSelected32, this,
            [this](qint32, qint32 row, qint32, qint32) { setMarkedRow(row); });

    dirty_ = true;
    rebuildSeries();
}

ProfileChartWidget::~ProfileChartWidget() = default;

void ProfileChartWidget::setRowCount(qint16 count) {
    setRowCount32(count);
}

void ProfileChartWidget::setRowCount32(qint32 count) {
    values_.resize(count > 0 ? static_cast<std::size_t>(count) : 0, 0.0);
    // A new row count starts a new track: what was chosen, measured or zoomed belongs to the old.
    sized_ = true;
    hint_.clear();
    zoom_.reset();
    markedRow_.reset();
    stretch_.reset();
    hoverRow_.reset();
    shownStop_.reset();
    changed();
}

qint16 ProfileChartWidget::rowCount() const {
    return static_cast<qint16>(std::min<qint32>(rowCount32(), std::numeric_limits<qint16>::max()));
}

qint32 ProfileChartWidget::rowCount32() const {
    return static_cast<qint32>(values_.size());
}

void ProfileChartWidget::setRow(qint16 row) {
    setRow32(row);
}

void ProfileChartWidget::setRow32(qint32 row) {
    currentRow_ = row;
}

void ProfileChartWidget::setRowValue(double value) {
    if (currentRow_ < 1 || static_cast<std::size_t>(currentRow_) > values_.size() ||
        !std::isfinite(value)) {
        return;
    }
    values_[static_cast<std::size_t>(currentRow_) - 1] = value;
    changed();
}

void ProfileChartWidget::setRowValue(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    if (const auto value = parseNumber(
            std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), locale_)) {
        setRowValue(*value);
    }
}

void ProfileChartWidget::setValueAxisMinimum(double value) {
    axisMinimum_ = value;
    changed();
}

void ProfileChartWidget::setValueAxisMaximum(double value) {
    axisMaximum_ = value;
    changed();
}

void ProfileChartWidget::setHint(const std::string& text) {
    hint_ = QString::fromStdString(text);
    if (!hint_.isEmpty()) {
        axisMinimum_.reset();
        axisMaximum_.reset();
    }
    changed();
}

double ProfileChartWidget::rowValue(int row) const {
    if (row < 1 || static_cast<std::size_t>(row) > values_.size())
        return 0.0;
    return values_[static_cast<std::size_t>(row) - 1];
}

void ProfileChartWidget::setOffersSensors(bool offers) {
    offersSensors_ = offers;
    changed();
}

std::optional<Sensor> ProfileChartWidget::shownSensor() const {
    if (!chosenSensor_ || points_ == nullptr || !points_->sensors().has(*chosenSensor_))
        return std::nullopt;
    return chosenSensor_;
}

QStringList ProfileChartWidget::seriesChoices() const {
    QStringList choices = {seriesName_};
    if (offersSensors_ && points_ != nullptr) {
        for (const Sensor sensor : kSensors) {
            if (points_->sensors().has(sensor))
                choices << nameOf(sensor);
        }
    }
    return choices;
}

bool ProfileChartWidget::showSeries(const QString& name) {
    if (!seriesChoices().contains(name))
        return false;
    chosenSensor_.reset();
    for (const Sensor sensor : kSensors) {
        if (name == nameOf(sensor))
            chosenSensor_ = sensor;
    }
    dirty_ = true;
    refresh();
    scene()->update();
    return true;
}

QString ProfileChartWidget::shownSeries() const {
    const auto sensor = shownSensor();
    return sensor ? nameOf(*sensor) : seriesName_;
}

double ProfileChartWidget::shownValue(int row) const {
    const auto sensor = shownSensor();
    if (!sensor)
        return rowValue(row);
    const auto v = row >= 1 ? points_->sensors().value(*sensor, static_cast<std::size_t>(row) - 1)
                            : std::nullopt;
    return v ? *v : std::numeric_limits<double>::quiet_NaN();
}

QString ProfileChartWidget::valueAxisTitle() const {
    const auto sensor = shownSensor();
    return sensor ? QString::fromStdString(sensorTitle(*sensor)) : QString();
}

const std::vector<double>& ProfileChartWidget::drawnValues() {
    const auto sensor = shownSensor();
    if (!sensor)
        return values_;
    sensorValues_.assign(values_.size(), std::numeric_limits<double>::quiet_NaN());
    for (std::size_t i = 0; i < sensorValues_.size(); ++i) {
        if (const auto v = points_->sensors().value(*sensor, i))
            sensorValues_[i] = *v;
    }
    return sensorValues_;
}

double ProfileChartWidget::valueAxisMinimum() const {
    return axisMinimum_.value_or(autoMinimum_);
}

double ProfileChartWidget::valueAxisMaximum() const {
    return axisMaximum_.value_or(autoMaximum_);
}

void ProfileChartWidget::setPointTable(const PointTable* points) {
    points_ = points;
    placementStale_ = true;
}

bool ProfileChartWidget::setHorizontalAxis(const QString& name) {
    const std::optional<AxisMode> mode = axisModeNamed(name.toStdString());
    if (!mode)
        return false;
    if (*mode == chosenAxis_)
        return true;
    // The rows shown before are shown after, at their new places.
    std::optional<std::pair<int, int>> shown;
    if (zoom_) {
        const auto first = placement().nearestRow(zoom_->first);
        const auto last = placement().nearestRow(zoom_->second);
        if (first && last)
            shown = std::pair(*first, *last);
    }
    chosenAxis_ = *mode;
    placementStale_ = true;
    zoom_.reset();
    const ProfileAxis& axis = placement();
    if (shown && shown->second <= axis.placedRows()) {
        setShownRows(axis.positionOf(shown->first), axis.positionOf(shown->second));
    } else {
        dirty_ = true;
        refresh();
    }
    scene()->update();
    emit horizontalAxisChanged(name);
    return true;
}

QString ProfileChartWidget::horizontalAxis() const {
    const std::string_view name = axisModeName(placement().mode());
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

bool ProfileChartWidget::hasTimeAxis() const {
    return points_ != nullptr && hasMovingTime(points_->points());
}

double ProfileChartWidget::rowPosition(int row) const {
    const ProfileAxis& axis = placement();
    if (row < 1 || row > axis.placedRows())
        return std::numeric_limits<double>::quiet_NaN();
    return axis.positionOf(row);
}

int ProfileChartWidget::rowNearestPosition(double position) const {
    return placement().nearestRow(position).value_or(0);
}

void ProfileChartWidget::setMeanLine(std::optional<double> value, const QString& caption) {
    meanLine_ = value;
    meanLineCaption_ = value ? caption : QString();
    scene()->update();
}

std::optional<double> ProfileChartWidget::shownMeanLine() const {
    return shownSensor() ? std::nullopt : meanLine_;
}

double ProfileChartWidget::meanLineValue() const {
    return shownMeanLine().value_or(std::numeric_limits<double>::quiet_NaN());
}

const ProfileAxis& ProfileChartWidget::placement() const {
    if (placementStale_) {
        placementStale_ = false;
        const int rows = static_cast<int>(values_.size());
        const std::span<const PointDetail> points =
            points_ != nullptr ? std::span<const PointDetail>(points_->points())
                               : std::span<const PointDetail>();
        AxisMode mode = chosenAxis_;
        if (points.empty() || (mode == AxisMode::Time && !hasMovingTime(points)))
            mode = AxisMode::Points;
        placement_ = ProfileAxis(mode, points, rows);
    }
    return placement_;
}

void ProfileChartWidget::changed() {
    dirty_ = true;
    // Rows and points arrive together; where the rows lie is worked out again when next needed.
    placementStale_ = true;
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
    const std::vector<double>& values = drawnValues();
    const QString name = shownSeries();
    line_->setName(name);
    if (area_ != nullptr)
        area_->setName(name);
    axisY_->setTitleText(valueAxisTitle());
    const std::size_t n = values.size();
    const ProfileAxis& axis = placement();
    // Only the rows shown are drawn, with one row beyond each edge so the line leaves the plot.
    const auto [shownLow, shownHigh] = shownRows();
    const auto [begin, end] = axis.rowsToDraw(shownLow, shownHigh);
    const auto columns = static_cast<std::size_t>(drawingColumns());
    // A profile with a hint has no values to draw.
    std::vector<std::size_t> rows;
    if (hint_.isEmpty()) {
        rows = axis.mode() == AxisMode::Points ? drawnRows(values, begin, end, columns)
                                               : drawnRowsAlong(values, axis.positions(), begin,
                                                                end, shownLow, shownHigh, columns);
    }
    QList<QPointF> points;
    points.reserve(static_cast<qsizetype>(rows.size()));
    for (const std::size_t i : rows)
        points.append(QPointF(axis.positionOf(static_cast<int>(i) + 1), values[i]));
    line_->replace(points);

    autoMinimum_ = 0.0;
    autoMaximum_ = 1.0;
    if (&values == &sensorValues_) {
        // A sensor's axis spans its values only: a pulse from 0 would leave half the plot empty.
        bool first = true;
        for (const double v : values) {
            if (std::isnan(v))
                continue;
            autoMinimum_ = first ? v : std::min(autoMinimum_, v);
            autoMaximum_ = first ? v : std::max(autoMaximum_, v);
            first = false;
        }
    } else if (n > 0) {
        const auto [low, high] = std::minmax_element(values.begin(), values.end());
        autoMinimum_ = std::min(0.0, *low);
        autoMaximum_ = *high;
    }
    applyAxes();
}

void ProfileChartWidget::applyAxes() {
    const auto [shownLow, shownHigh] = shownRows();
    applyHorizontalAxis(shownLow, shownHigh);

    // A range set for the rows is none of a sensor's drawn instead.
    const bool automatic = shownSensor() || (!axisMinimum_ && !axisMaximum_);
    double low = shownSensor() ? autoMinimum_ : valueAxisMinimum();
    double high = shownSensor() ? autoMaximum_ : valueAxisMaximum();
    if (low > high)
        std::swap(low, high);
    if (high - low < 1e-9) {
        low -= 1.0;
        high += 1.0;
    }
    if (automatic) {
        // Automatic scaling starts and ends on a tick.
        const double step = niceStep(high - low, 5);
        if (std::isfinite(step) && step > 0.0) {
            low = std::floor(low / step) * step;
            high = std::ceil(high / step) * step;
        }
    }
    setTicks(axisY_, low, high, 5);
}

void ProfileChartWidget::applyHorizontalAxis(double low, double high) {
    const AxisMode mode = placement().mode();
    QAbstractAxis* wanted = axisX_;
    if (mode == AxisMode::Points) {
        setTicks(axisX_, low, high, values_.size() >= 2 ? 5 : 2);
    } else {
        wanted = axisPlaced_;
        for (const QString& label : axisPlaced_->categoriesLabels())
            axisPlaced_->remove(label);
        axisPlaced_->setStartValue(low);
        for (const AxisTick& tick : axisTicks(mode, low, high, locale_))
            axisPlaced_->append(QString::fromStdString(tick.label), tick.position);
        axisPlaced_->setRange(low, high);
    }
    if (wanted == attachedX_)
        return;
    // Both axes stay in the chart, the one not in force hidden: an axis taken out of a chart
    // leaves its labels on show until the event loop deletes them.
    QAbstractSeries* drawn = area_ != nullptr ? static_cast<QAbstractSeries*>(area_) : line_;
    drawn->detachAxis(attachedX_);
    attachedX_->setVisible(false);
    drawn->attachAxis(wanted);
    wanted->setVisible(true);
    attachedX_ = wanted;
}

std::pair<double, double> ProfileChartWidget::allRows() const {
    return placement().extent();
}

std::pair<double, double> ProfileChartWidget::shownRows() const {
    return zoom_.value_or(allRows());
}

void ProfileChartWidget::setShownRows(double low, double high) {
    const auto [first, last] = allRows();
    if (!std::isfinite(low) || !std::isfinite(high))
        return;
    if (low > high)
        std::swap(low, high);
    const double span = std::min(last - first, std::max(high - low, placement().narrowestRange()));
    if (span >= last - first) {
        zoom_.reset();
    } else {
        // The same width, slid back inside the rows there are.
        low = std::clamp(low, first, last - span);
        zoom_ = std::pair(low, low + span);
    }
    dirty_ = true;
    refresh();
}

void ProfileChartWidget::showAllRows() {
    zoom_.reset();
    dirty_ = true;
    refresh();
}

void ProfileChartWidget::viewChanged(bool byUser) {
    if (byUser) {
        const auto [low, high] = shownRows();
        emit shownRowsChanged(low, high);
    }
    scene()->update();
}

QRectF ProfileChartWidget::plotInViewport() const {
    // Exact, not rounded to whole pixels as mapFromScene would: with more rows than pixels a
    // pixel decides between rows.
    return viewportTransform().mapRect(chart()->mapRectToScene(chart()->plotArea()));
}

double ProfileChartWidget::rowValueAtX(double viewportX) const {
    const QRectF plot = plotInViewport();
    const auto [low, high] = shownRows();
    if (plot.width() <= 0)
        return low;
    return low + (viewportX - plot.left()) / plot.width() * (high - low);
}

std::optional<int> ProfileChartWidget::rowAt(const QPointF& position) const {
    if (values_.empty())
        return std::nullopt;
    const QRectF plot = plotInViewport().adjusted(-1, -1, 1, 1);
    if (!plot.contains(position))
        return std::nullopt;
    return placement().nearestRow(rowValueAtX(position.x()));
}

void ProfileChartWidget::setMarkedRow(std::optional<int> row) {
    markedRow_ = row;
    scene()->update();
}

void ProfileChartWidget::addStopRow(int row) {
    stopRows_.push_back(row);
    scene()->update();
}

void ProfileChartWidget::clearStopRows() {
    stopRows_.clear();
    shownStop_.reset();
    scene()->update();
}

void ProfileChartWidget::showStop(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= stopRows_.size())
        return;
    shownStop_ = index;
    refresh();
    const double at = rowPosition(stopRows_[static_cast<std::size_t>(index)]);
    if (std::isnan(at)) {
        scene()->update();
        return;
    }
    const auto [low, high] = shownRows();
    const auto [first, last] = allRows();
    double span = high - low;
    if (!zoom_)
        span = std::max(placement().narrowestRange() * 4, (last - first) * kStopViewShare);
    setShownRows(at - span / 2, at + span / 2);
    scene()->update();
}

void ProfileChartWidget::setStretch(std::optional<std::pair<int, int>> stretch) {
    const bool changed = stretch != stretch_;
    stretch_ = stretch;
    scene()->update();
    if (changed)
        emit stretchChanged(stretch ? stretch->first : 0, stretch ? stretch->second : 0);
}

void ProfileChartWidget::chooseRow(int row) {
    if (row >= 1 && static_cast<std::size_t>(row) <= values_.size())
        announceChoice(row);
}

void ProfileChartWidget::announceChoice(qint32 row) {
    // Through pointSelected while the row fits it, on to pointSelected32 by the connection made
    // at the start; a row beyond goes to pointSelected32 alone.
    if (row <= std::numeric_limits<qint16>::max()) {
        emit pointSelected(1, static_cast<qint16>(row), 1, 0);
    } else {
        emit pointSelected32(1, row, 1, 0);
    }
}

void ProfileChartWidget::hoverAt(const QPointF& position) {
    const std::optional<int> row = rowAt(position);
    if (row == hoverRow_ && (!row || position == hoverPosition_))
        return;
    const bool moved = row != hoverRow_;
    hoverRow_ = row;
    hoverPosition_ = position;
    showLapTipAt(position);
    scene()->update();
    if (moved)
        emit hoveredRowChanged(row.value_or(0));
}

QStringList ProfileChartWidget::hoverText() const {
    if (!hoverRow_)
        return {};
    if (points_ != nullptr) {
        if (const PointDetail* detail = points_->atRow(*hoverRow_)) {
            const auto index = static_cast<std::size_t>(*hoverRow_) - 1;
            return toLines(pointReadout(*detail, locale_, slopePercent(points_->points(), index))) +
                   toLines(sensorReadout(points_->sensors().reading(index), locale_));
        }
    }
    // A row the last analysis did not reach shows its own value.
    return {QStringLiteral("Punto %1").arg(*hoverRow_),
            QString::fromStdString(formatDouble(rowValue(*hoverRow_), locale_))};
}

QStringList ProfileChartWidget::stretchText() const {
    if (!stretch_ || points_ == nullptr)
        return {};
    const PointDetail* from = points_->atRow(stretch_->first);
    const PointDetail* to = points_->atRow(stretch_->second);
    if (from == nullptr || to == nullptr)
        return {};
    return toLines(stretchReadout(measureStretch(*from, *to), locale_)) +
           toLines(stretchSensorReadout(points_->sensors(),
                                        static_cast<std::size_t>(stretch_->first) - 1,
                                        static_cast<std::size_t>(stretch_->second), locale_));
}

QString ProfileChartWidget::emptyHint() {
    return QStringLiteral("Cargue un track para ver su perfil");
}

QString ProfileChartWidget::hintText() const {
    return sized_ ? hint_ : emptyHint();
}

void ProfileChartWidget::mousePressEvent(QMouseEvent* event) {
    pressPosition_ = event->position();
    pressRows_ = shownRows();
    if (event->button() == Qt::LeftButton) {
        refresh();
        if (const auto row = rowAt(event->position())) {
            // A click clears the stretch and chooses the row; dragging on measures a new one.
            setStretch(std::nullopt);
            stretchAnchor_ = *row;
            drag_ = Drag::Stretch;
            scene()->update();
            announceChoice(*row);
        }
    } else if (event->button() == Qt::RightButton) {
        drag_ = Drag::PanPending;
    } else if (event->button() == Qt::MiddleButton) {
        drag_ = Drag::Pan;
    }
    event->accept();
}

void ProfileChartWidget::mouseMoveEvent(QMouseEvent* event) {
    const QPointF position = event->position();
    const double moved = (position - pressPosition_).manhattanLength();
    if (drag_ == Drag::PanPending && moved > kDragThreshold)
        drag_ = Drag::Pan;
    if (drag_ == Drag::Pan) {
        const QRectF plot = plotInViewport();
        if (plot.width() > 0) {
            const double rows = (position.x() - pressPosition_.x()) / plot.width() *
                                (pressRows_.second - pressRows_.first);
            setShownRows(pressRows_.first - rows, pressRows_.second - rows);
            viewChanged(true);
        }
    } else if (drag_ == Drag::Stretch && moved > kDragThreshold) {
        const std::optional<int> last = placement().nearestRow(rowValueAtX(position.x()));
        if (last && *last != stretchAnchor_)
            setStretch(std::pair(std::min(stretchAnchor_, *last), std::max(stretchAnchor_, *last)));
    }
    hoverAt(position);
    event->accept();
}

void ProfileChartWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton && drag_ == Drag::PanPending)
        emit menuRequested(event->globalPosition().toPoint());
    drag_ = Drag::None;
    scene()->update();
    event->accept();
}

void ProfileChartWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        showAllRows();
        viewChanged(true);
    }
    event->accept();
}

void ProfileChartWidget::wheelEvent(QWheelEvent* event) {
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0.0 || values_.size() < 2) {
        event->ignore();
        return;
    }
    refresh();
    const auto [low, high] = shownRows();
    // The row under the mouse stays under the mouse.
    const double anchor = std::clamp(rowValueAtX(event->position().x()), low, high);
    const double factor = std::pow(kZoomPerNotch, notches);
    setShownRows(anchor - (anchor - low) * factor, anchor + (high - anchor) * factor);
    viewChanged(true);
    hoverAt(event->position());
    event->accept();
}

void ProfileChartWidget::leaveEvent(QEvent* event) {
    if (hoverRow_) {
        hoverRow_.reset();
        emit hoveredRowChanged(0);
    }
    scene()->update();
    QChartView::leaveEvent(event);
}

void ProfileChartWidget::resizeEvent(QResizeEvent* event) {
    QChartView::resizeEvent(event);
    constexpr qreal kLegendWidth = 90;
    chart()->legend()->setGeometry(QRectF(width() - kLegendWidth - 4, 0, kLegendWidth, 18));
    dirty_ = true;
    refresh();
}

void ProfileChartWidget::drawReadout(QPainter& painter, const QStringList& lines, QPointF anchor,
                                     const QRectF& bounds) const {
    if (lines.isEmpty())
        return;
    QFont font = this->font();
    font.setPointSizeF(7.5);
    painter.setFont(font);
    const QFontMetricsF metrics(font);
    double width = 0;
    for (const QString& line : lines)
        width = std::max(width, metrics.horizontalAdvance(line));
    const double lineHeight = metrics.height();
    QRectF box(anchor, QSizeF(width + 8, lineHeight * lines.size() + 6));
    // Beside the mouse, turned back inside the plot near its edges.
    if (box.right() > bounds.right())
        box.moveRight(anchor.x() - 24);
    if (box.bottom() > bounds.bottom())
        box.moveBottom(bounds.bottom());
    if (box.left() < bounds.left())
        box.moveLeft(bounds.left());
    if (box.top() < bounds.top())
        box.moveTop(bounds.top());
    painter.setPen(QColor(90, 90, 90));
    painter.setBrush(QColor(255, 255, 235, 235));
    painter.drawRect(box);
    painter.setPen(Qt::black);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        painter.drawText(QPointF(box.left() + 4, box.top() + 3 + metrics.ascent() + i * lineHeight),
                         lines[i]);
    }
}

void ProfileChartWidget::drawForeground(QPainter* painter, const QRectF& rect) {
    QChartView::drawForeground(painter, rect);
    const QRectF plot = chart()->mapRectToScene(chart()->plotArea());
    if (plot.width() <= 0 || plot.height() <= 0)
        return;
    painter->save();
    if (!hintText().isEmpty()) {
        QFont font = this->font();
        font.setPointSizeF(9);
        painter->setFont(font);
        painter->setPen(QColor(110, 110, 110));
        painter->drawText(plot, Qt::AlignCenter, hintText());
    }
    if (!sized_) {
        painter->restore();
        return;
    }
    const auto [low, high] = shownRows();
    const double yLow = axisY_->min();
    const double yHigh = axisY_->max();
    const ProfileAxis& axis = placement();
    const auto placed = [&](int row) { return row >= 1 && row <= axis.placedRows(); };
    const auto xOf = [&](int row) {
        return plot.left() + (axis.positionOf(row) - low) / (high - low) * plot.width();
    };
    const auto yOf = [&](double value) {
        return plot.bottom() - (value - yLow) / (yHigh - yLow) * plot.height();
    };
    painter->setClipRect(plot);
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setPen(Qt::NoPen);

    if (stretch_ && placed(stretch_->first) && placed(stretch_->second)) {
        painter->setBrush(kStretchColour);
        painter->drawRect(QRectF(QPointF(xOf(stretch_->first), plot.top()),
                                 QPointF(xOf(stretch_->second), plot.bottom())));
    }
    for (std::size_t i = 0; i < stopRows_.size(); ++i) {
        const int row = stopRows_[i];
        if (!placed(row))
            continue;
        const double stopX = xOf(row);
        if (stopX < plot.left() - 4 || stopX > plot.right() + 4)
            continue;
        const bool shown = shownStop_ && static_cast<std::size_t>(*shownStop_) == i;
        // The chosen stop lies exactly where it is; the others on whole pixels, crisp and drawn
        // fast when a long track has many.
        const double width = shown ? 4.0 : 2.0;
        const double x = shown ? stopX : std::round(stopX);
        painter->setBrush(shown ? kShownStopColour : kStopColour);
        painter->drawRect(QRectF(x - width / 2, plot.top(), width, plot.height()));
    }
    if (const auto mean = shownMeanLine();
        mean && *mean >= std::min(yLow, yHigh) && *mean <= std::max(yLow, yHigh)) {
        const double y = yOf(*mean);
        QPen pen(kMeanLineColour, 1.2, Qt::DashLine);
        painter->setPen(pen);
        painter->drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        QFont font = this->font();
        font.setPointSizeF(7.0);
        painter->setFont(font);
        const QFontMetricsF metrics(font);
        const double width = metrics.horizontalAdvance(meanLineCaption_);
        painter->drawText(QPointF(plot.right() - width - 4, y - 3), meanLineCaption_);
        painter->setPen(Qt::NoPen);
    }
    drawLapMarks(
        *painter, [&](int row) { return placed(row) ? xOf(row) : std::nan(""); }, plot);
    if (markedRow_ && placed(*markedRow_)) {
        const double x = xOf(*markedRow_);
        QPen pen(kMarkColour);
        pen.setWidthF(1.5);
        painter->setPen(pen);
        painter->drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        painter->setBrush(kMarkColour);
        if (const double value = shownValue(*markedRow_); !std::isnan(value))
            painter->drawEllipse(QPointF(x, yOf(value)), 3.5, 3.5);
    }
    if (hoverRow_ && placed(*hoverRow_)) {
        const double x = xOf(*hoverRow_);
        painter->setPen(QPen(kHoverLineColour, 1, Qt::DashLine));
        painter->drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
    }

    painter->setClipping(false);
    drawReadout(*painter, stretchText(), plot.topLeft() + QPointF(4, 4), plot);
    if (hoverRow_) {
        const QPointF mouse = mapToScene(hoverPosition_.toPoint());
        drawReadout(*painter, hoverText(), mouse + QPointF(14, 10), plot);
    }
    painter->restore();
}

}  // namespace at
