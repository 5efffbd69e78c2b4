#pragma once

#include <QChartView>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "analysis/laps.h"
#include "analysis/point_details.h"
#include "analysis/profile_chart.h"
#include "platform/number_locale.h"

class QAreaSeries;
class QLineSeries;
class QValueAxis;

namespace at {

// One profile of the window drawn with Qt Charts: one value per row, rows from 1 to the row
// count along the horizontal axis. Rows are kept in full for reading back; what is drawn is
// thinned to the minimum and maximum of each pixel column, so 32,767 rows draw as fast as 1,000.
// Writing rows only stores them: the drawing is rebuilt once, by refresh() or by the deferred
// refresh that the first change of a command posts.
//
// The chart owns its gestures and marks; none of them changes a row. A left click in the plot
// area chooses the row nearest its x position; a left drag measures the stretch it covers; the
// wheel zooms the row axis around the mouse, a right or middle drag pans it and a double click
// shows every row again; the mouse shows the values of the row under it. A right click without a
// drag asks for the chart's menu.
class ProfileChartWidget : public QChartView, public ProfileChart {
    Q_OBJECT

  public:
    enum class Style { Area, Line };

    ProfileChartWidget(Style style, const QString& seriesName, QWidget* parent = nullptr);
    ~ProfileChartWidget() override;

    // The decimal separator of the row value texts and the read-outs.
    void setNumberLocale(const NumberLocale& locale) { locale_ = locale; }

    // A count below 1 leaves no rows. Rows the new count still covers keep their values.
    Q_INVOKABLE void setRowCount(qint16 count) override;
    Q_INVOKABLE qint16 rowCount() const override;
    Q_INVOKABLE void setRow(qint16 row) override;
    // Goes to the current row; a row outside 1 to the row count, a value that is no finite
    // number, or a text that is none in the locale's form, leaves every row as it was.
    void setRowValue(double value) override;
    Q_INVOKABLE void setRowValue(const QString& text);
    // Any range is accepted: a minimum above the maximum is drawn with its ends swapped.
    Q_INVOKABLE void setValueAxisMinimum(double value) override;
    Q_INVOKABLE void setValueAxisMaximum(double value) override;

    // 1-based; 0 for a row outside the row count.
    Q_INVOKABLE double rowValue(int row) const;
    // The range as set, or the automatic one while none was set.
    Q_INVOKABLE double valueAxisMinimum() const;
    Q_INVOKABLE double valueAxisMaximum() const;

    // Rebuilds the drawn series if anything changed since the last time.
    Q_INVOKABLE void refresh();

    // The row nearest the x position of `position` (viewport coordinates), if it lies in the
    // plot area; none outside it or while there are no rows.
    std::optional<int> rowAt(const QPointF& position) const;

    // The values of each row for the read-outs; rows it does not cover show their own value only.
    // The table must outlive the chart or be replaced first.
    void setPointTable(const PointTable* points) { points_ = points; }

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

    // The rows shown along the horizontal axis; every row unless zoomed.
    std::pair<double, double> shownRows() const;
    // Shows rows `low` to `high`; a range covering every row shows the whole chart again.
    void setShownRows(double low, double high);
    void showAllRows();

    // The stretch chosen with a left drag, first and last row.
    std::optional<std::pair<int, int>> stretch() const { return stretch_; }
    void setStretch(std::optional<std::pair<int, int>> stretch);

    // Chooses `row` as a click on it does, through pointSelected; a row outside the rows is not
    // chosen.
    Q_INVOKABLE void chooseRow(int row);

    // The read-out the mouse over `position` shows; the lines of the read-outs now on show.
    void hoverAt(const QPointF& position);
    QStringList hoverText() const;
    QStringList stretchText() const;

    // The hint while the chart has never been given rows.
    static QString emptyHint();

  signals:
    // A data point was chosen with the mouse; `dataPoint` is its row. The other three carry the
    // series (always 1), the mouse buttons and a cancel flag (always 0).
    void pointSelected(qint16 series, qint16 dataPoint, qint16 mouseFlags, qint16 cancel);
    // The user zoomed or panned; a chart shown beside it follows with setShownRows.
    void shownRowsChanged(double low, double high);
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

    void changed();
    void rebuildSeries();
    void applyAxes();
    int drawingColumns() const;
    std::pair<double, double> allRows() const;
    // The row value under an x position of the plot, not rounded or clamped.
    double rowValueAtX(double viewportX) const;
    QRectF plotInViewport() const;
    void viewChanged(bool byUser);
    // The lap whose mark lies within a few pixels of `position`, and the tooltip that goes with it.
    void showLapTipAt(const QPointF& position);
    void drawLapMarks(QPainter& painter, const std::function<double(double)>& xOf,
                      const QRectF& plot, double low, double high) const;
    void drawReadout(QPainter& painter, const QStringList& lines, QPointF anchor,
                     const QRectF& bounds) const;

    Style style_;
    NumberLocale locale_;
    std::vector<double> values_;
    qint16 currentRow_ = 1;
    std::optional<double> axisMinimum_;
    std::optional<double> axisMaximum_;
    double autoMinimum_ = 0.0;
    double autoMaximum_ = 1.0;
    bool dirty_ = false;
    bool refreshPosted_ = false;
    bool sized_ = false;

    const PointTable* points_ = nullptr;
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
    QValueAxis* axisY_ = nullptr;
};

}  // namespace at
