#pragma once

#include <QMargins>
#include <QObject>
#include <vector>

class QChartView;

namespace at {

// Keeps the plot areas of charts shown one above the other between the same left and right edges,
// so that a row lies under itself from one chart to the next: the widest axis labels of any of
// them set the edges of all. It follows every new layout of the charts (new ranges, label fonts,
// sizes).
class PlotAlignment final : public QObject {
    Q_OBJECT

  public:
    PlotAlignment(std::vector<QChartView*> views, QObject* parent);

    // Gives each chart the margins that align it to the others as they are laid out now; their
    // new layout follows once the current event is done.
    void align();

  private:
    void alignLater();

    struct Aligned {
        QChartView* view;
        // As the chart had them before any alignment.
        QMargins margins;
        QMarginsF contents;
    };
    std::vector<Aligned> charts_;
    bool posted_ = false;
};

}  // namespace at
