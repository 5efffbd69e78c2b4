#pragma once

#include <QChartView>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "analysis/laps.h"
#include "analysis/point_details.h"
#include "analysis/profile_chart.h"
#include "charts/profile_axis.h"
#include "platform/number_locale.h"
#include "track/sensor_values.h"

class QAbstractAxis;
class QAreaSeries;
class QCategoryAxis;
class QLineSeries;
class QValueAxis;

namespace at {

// One profile of the window drawn with Qt Charts: one value per row, rows from 1 to the row
// count along the horizontal axis, or, with the points' table, each row at its point's km or hour.
// Rows are kept in full for reading back; what is drawn is thinned to the minimum and maximum of
// each pixel column of the rows shown, so a million rows draw as fast as a thousand, every peak
// stays, and zooming in draws every row again. Writing rows only stores them: the drawing is
// rebuilt once, by refresh() or by the deferred refresh that the first change of a command posts.
//
// Rows and counts are 16-bit in the classic operations (setRowCount, rowCount, setRow,
// pointSelected), which a track file's rows always fit; the operations ending in 32 take the
// rows of the longer tracks of other formats, beyond 32,767.
//
// The chart owns its gestures and marks; none of them changes a row. A left click in the plot
// area chooses the row nearest its x position, to the exact row whatever the thinning; a left drag
// measures the stretch it covers; the wheel zooms the row axis around the mouse, a right or middle
// drag pans it and a double click shows every row again; the mouse shows the values of the row
// under it. A right click without a drag asks for the chart's menu.
class ProfileChartWidget : public QChartView {
    Q_OBJECT

  public:
    enum class Style { Area, Line };

    ProfileChartWidget(Style style, const QString& seriesName, QWidget* parent = nullptr);
    ~ProfileChartWidget() override;

    // The decimal separator of the row value texts and the read-outs.
    void setNumberLocale(const NumberLocale& locale) { locale_ = locale; }

    // The chart as the analysis writes to it, rows and counts in 32 bits.
    ProfileChart& port() { return port_; }

    // A count below 1 leaves no rows. Rows the new count still covers keep their values.
    Q_INVOKABLE void setRowCount(qint16 count);
    Q_INVOKABLE void setRowCount32(qint32 count);
    // The row count; rowCount gives 32767 for a count beyond 16 bits.
    Q_INVOKABLE qint16 rowCount() const;
    Q_INVOKABLE qint32 rowCount32() const;
    Q_INVOKABLE void setRow(qint16 row);
    Q_INVOKABLE void setRow32(qint32 row);
    // Goes to the current row; a row outside 1 to the row count, a value that is no finite
    // number, or a text that is none in the locale's form, leaves every row as it was.
    void setRowValue(double value);
    Q_INVOKABLE void setRowValue(const QString& text);
    // Any range is accepted: a minimum above the maximum is drawn with its ends swapped.
    Q_INVOKABLE void setValueAxisMinimum(double value);
    Q_INVOKABLE void setValueAxisMaximum(double value);
    // Shown in the plot instead of the rows until the next row count; the value axis goes back to
    // the chart's own scaling.
    void setHint(const std::string& text);

    // 1-based; 0 for a row outside the row count.
    Q_INVOKABLE double rowValue(int row) const;
    // The range as set, or the automatic one while none was set.
    Q_INVOKABLE double valueAxisMinimum() const;
    Q_INVOKABLE double valueAxisMaximum() const;

    // Rebuilds the drawn series if anything changed since the last time.
    Q_INVOKABLE void refresh();

    // What the horizontal axis measures: "puntos" (row numbers, the default), "distancia" (the km
    // covered) or "hora" (the hour of the day, going on past 24 after midnight). The choice holds
    // for every track from then on; while the track's time does not move, or there is no points'
    // table, rows stand at their numbers. The rows shown stay in view. False for any other name.
    Q_INVOKABLE bool setHorizontalAxis(const QString& name);
    // The axis in force now: "puntos", "distancia" or "hora".
    Q_INVOKABLE QString horizontalAxis() const;
    // Whether the track on show has times that move, so that "hora" can be in force.
    Q_INVOKABLE bool hasTimeAxis() const;
    // Where `row` lies along the horizontal axis: its number, km or hour; NaN for a row without a
    // place (beyond the points of the track).
    Q_INVOKABLE double rowPosition(int row) const;
    // The row a click at `position` along the horizontal axis chooses: the nearest, the lowest of
    // several at the same place; 0 while no row has a place.
    Q_INVOKABLE int rowNearestPosition(double position) const;

    // A level line across the plot at `value` (a mean, in the rows' units) with `caption` at its
    // end; none when `value` is empty. It is hidden while a sensor is drawn instead of the rows,
    // and back when they are.
    void setMeanLine(std::optional<double> value, const QString& caption);
    Q_INVOKABLE bool meanLineShown() const { return shownMeanLine().has_value(); }
    // NaN while no line is shown.
    Q_INVOKABLE double meanLineValue() const;
    QString meanLineCaption() const { return meanLineCaption_; }

    // The row nearest the x position of `position` (viewport coordinates), if it lies in the
    // plot area; none outside it or while there are no rows.
    std::optional<int> rowAt(const QPointF& position) const;

    // The values of each row for the read-outs; rows it does not cover show their own value only.
    // The table must outlive the chart or be replaced first.
    void setPointTable(const PointTable* points);

    // A chart that offers the sensors may draw one of the point table's instead of its rows, with
    // the sensor's name and an axis title of its own. Its rows keep their values, and a sensor
    // chosen once is drawn for every track that has it; a track without it shows the rows.
    void setOffersSensors(bool offers);
    // The chart's own series, named as the chart was made, then the sensors the track shown has.
    Q_INVOKABLE QStringList seriesChoices() const;
    // Draws the series named `name` if it is one of seriesChoices(); false otherwise.
    Q_INVOKABLE bool showSeries(const QString& name);
    Q_INVOKABLE QString shownSeries() const;
    // The value drawn for `row`: the row's own, or the sensor's; NaN for a point without one.
    Q_INVOKABLE double shownValue(int row) const;
    // "Pulso (ppm)" while a sensor is drawn; empty for the rows.
    Q_INVOKABLE QString valueAxisTitle() const;

    // The row marked as chosen, until the next choice or the next row count.
    std::optional<int> markedRow() const { return markedRow_; }
    void setMarkedRow(std::optional<int> row);

    // Stops are marked at the row where each began; one of them may stand out.
    void addStopRow(int row);
    void clearStopRows();
    const std::vector<int>& stopRows() const { return stopRows_; }
    // Marks stop `index` of the list and puts it in the middle of the rows shown, zooming in
    // when every row is shown.
    void showStop(int index);

    // Laps are marked like stops, in a colour of their own, at the row where each begins; the
    // mouse over a mark shows the lap's figures.
    void setLaps(const std::vector<Lap>& laps);
    Q_INVOKABLE int lapCount() const;
    // The row where lap `index` (from 0) begins; 0 for no such lap.
    Q_INVOKABLE int lapRow(int index) const;
    Q_INVOKABLE QString lapToolTip(int index) const;
    // The lap whose mark the mouse is over, from 0; -1 for none.
    Q_INVOKABLE int hoveredLap() const { return hoveredLap_.value_or(-1); }

    // The range shown along the horizontal axis, in its units (rows, km or hours); every row unless
    // zoomed.
    std::pair<double, double> shownRows() const;
    // Shows the range `low` to `high`; a range covering every row shows the whole chart again.
    void setShownRows(double low, double high);
    void showAllRows();

    // The stretch chosen with a left drag, first and last row.
    std::optional<std::pair<int, int>> stretch() const { return stretch_; }
    void setStretch(std::optional<std::pair<int, int>> stretch);

    // Chooses `row` as a click on it does, through pointSelected32 (and pointSelected while the
    // row fits it); a row outside the rows is not chosen.
    Q_INVOKABLE void chooseRow(int row);

    // The read-out the mouse over `position` shows; the lines of the read-outs now on show.
    void hoverAt(const QPointF& position);
    QStringList hoverText() const;
    QStringList stretchText() const;

    // The hint while the chart has never been given rows.
    static QString emptyHint();
    // The hint the plot shows: the empty one, one for a track without the profile's values, or
    // none.
    Q_INVOKABLE QString hintText() const;

  signals:
    // A data point was chosen with the mouse; `dataPoint` is its row. The other three carry the
    // series (always 1), the mouse buttons and a cancel flag (always 0). Sent for rows up to
    // 32767 only.
    void pointSelected(qint16 series, qint16 dataPoint, qint16 mouseFlags, qint16 cancel);
    // Every choice of a data point, whatever its row: the chart's own, and each one announced
    // with pointSelected (which arrives here too). The arguments are those of pointSelected.
    void pointSelected32(qint32 series, qint32 dataPoint, qint32 mouseFlags, qint32 cancel);
    // The user zoomed or panned; a chart shown beside it follows with setShownRows.
    void shownRowsChanged(double low, double high);
    // The horizontal axis was chosen anew; a chart shown beside it follows with setHorizontalAxis.
    void horizontalAxisChanged(const QString& name);
    // A right click without a drag, at `globalPosition`.
    void menuRequested(const QPoint& globalPosition);
    // The mouse is over `row` now; 0 when it left the rows.
    void hoveredRowChanged(int row);
    // The stretch is now `first` to `last`; 0, 0 when there is none.
    void stretchChanged(int first, int last);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void drawForeground(QPainter* painter, const QRectF& rect) override;

  private:
    enum class Drag { None, Stretch, PanPending, Pan };

    class Port final : public ProfileChart {
      public:
        explicit Port(ProfileChartWidget& chart) : chart_(chart) {}
        void setRowCount(std::int32_t count) override { chart_.setRowCount32(count); }
        std::int32_t rowCount() const override { return chart_.rowCount32(); }
        void setRow(std::int32_t row) override { chart_.setRow32(row); }
        void setRowValue(double value) override { chart_.setRowValue(value); }
        void setValueAxisMinimum(double value) override { chart_.setValueAxisMinimum(value); }
        void setValueAxisMaximum(double value) override { chart_.setValueAxisMaximum(value); }
        void setHint(const std::string& text) override { chart_.setHint(text); }

      private:
        ProfileChartWidget& chart_;
    };

    void changed();
    void announceChoice(qint32 row);
    void rebuildSeries();
    // The sensor drawn instead of the rows, if any.
    std::optional<Sensor> shownSensor() const;
    // The mean line, if one is set and the rows are drawn.
    std::optional<double> shownMeanLine() const;
    // The rows' values, or the shown sensor's in sensorValues_.
    const std::vector<double>& drawnValues();
    void applyAxes();
    // The horizontal axis of the mode in force attached to the series, with its ticks.
    void applyHorizontalAxis(double low, double high);
    int drawingColumns() const;
    // Where each row lies now, worked out again after any change to the rows or their points.
    const ProfileAxis& placement() const;
    std::pair<double, double> allRows() const;
    // The row value under an x position of the plot, not rounded or clamped.
    double rowValueAtX(double viewportX) const;
    QRectF plotInViewport() const;
    void viewChanged(bool byUser);
    // The lap whose mark lies within a few pixels of `position`, and the tooltip that goes with it.
    void showLapTipAt(const QPointF& position);
    // `xOf` places a row along the plot, NaN for a row without a place.
    void drawLapMarks(QPainter& painter, const std::function<double(int)>& xOf,
                      const QRectF& plot) const;
    void drawReadout(QPainter& painter, const QStringList& lines, QPointF anchor,
                     const QRectF& bounds) const;

    Style style_;
    QString seriesName_;
    NumberLocale locale_;
    std::vector<double> values_;
    bool offersSensors_ = false;
    std::optional<Sensor> chosenSensor_;
    std::vector<double> sensorValues_;
    qint32 currentRow_ = 1;
    std::optional<double> axisMinimum_;
    std::optional<double> axisMaximum_;
    double autoMinimum_ = 0.0;
    double autoMaximum_ = 1.0;
    bool dirty_ = false;
    bool refreshPosted_ = false;
    bool sized_ = false;
    QString hint_;

    const PointTable* points_ = nullptr;
    AxisMode chosenAxis_ = AxisMode::Points;
    mutable ProfileAxis placement_;
    mutable bool placementStale_ = true;
    std::optional<double> meanLine_;
    QString meanLineCaption_;
    std::optional<std::pair<double, double>> zoom_;
    std::optional<int> markedRow_;
    std::vector<int> stopRows_;
    std::optional<int> shownStop_;
    struct LapMark {
        int row;
        QString tip;
    };
    std::vector<LapMark> laps_;
    std::optional<int> hoveredLap_;
    std::optional<std::pair<int, int>> stretch_;
    std::optional<int> hoverRow_;
    QPointF hoverPosition_;

    Drag drag_ = Drag::None;
    QPointF pressPosition_;
    std::pair<double, double> pressRows_;
    int stretchAnchor_ = 0;

    QLineSeries* line_ = nullptr;
    QAreaSeries* area_ = nullptr;
    QValueAxis* axisX_ = nullptr;
    // The distance and time axes, labelled at ticks of their own ("2,5", "25:30").
    QCategoryAxis* axisPlaced_ = nullptr;
    QAbstractAxis* attachedX_ = nullptr;
    QValueAxis* axisY_ = nullptr;
    Port port_{*this};
};

}  // namespace at
