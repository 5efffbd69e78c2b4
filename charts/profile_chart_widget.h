#pragma once

#include <QChartView>
#include <optional>
#include <vector>

#include "charts/profile_chart.h"
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
class ProfileChartWidget : public QChartView, public ProfileChart {
    Q_OBJECT

  public:
    enum class Style { Area, Line };

    ProfileChartWidget(Style style, const QString& seriesName, QWidget* parent = nullptr);
    ~ProfileChartWidget() override;

    // The decimal separator of the row value texts.
    void setNumberLocale(const NumberLocale& locale) { locale_ = locale; }

    // A count below 1 leaves no rows. Rows the new count still covers keep their values.
    Q_INVOKABLE void setRowCount(qint16 count) override;
    Q_INVOKABLE qint16 rowCount() const override;
    Q_INVOKABLE void setRow(qint16 row) override;
    // Goes to the current row; a row outside 1 to the row count, or a text that is no number,
    // leaves every row as it was.
    void setRowValue(std::string_view text) override;
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

    // The row of the data point drawn at or within a few pixels of `position` (widget
    // coordinates); none if no point is that close.
    std::optional<int> rowAt(const QPointF& position) const;

  signals:
    // A data point was chosen with the mouse; `dataPoint` is its row. The other three carry the
    // series (always 1), the mouse buttons and a cancel flag (always 0).
    void pointSelected(qint16 series, qint16 dataPoint, qint16 mouseFlags, qint16 cancel);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void changed();
    void rebuildSeries();
    void applyAxes();
    int drawingColumns() const;

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

    QLineSeries* line_ = nullptr;
    QAreaSeries* area_ = nullptr;
    QValueAxis* axisX_ = nullptr;
    QValueAxis* axisY_ = nullptr;
};

}  // namespace at
