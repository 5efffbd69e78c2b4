#pragma once

#include <cstdint>
#include <string>

#include "charts/point_details.h"
#include "charts/profile_chart.h"

namespace at {

// The eleven figures of the summary band, in the order they are written.
enum class SummaryLabel {
    Climb,             // lbl1
    DiscardedSamples,  // lbl2
    Distance,          // lbl3
    LowestAltitude,    // lbl4
    HighestAltitude,   // lbl5
    LowestSpeed,       // lbl6
    HighestSpeed,      // lbl7
    TotalTime,         // lblTiempo
    StopCount,         // Label8
    StopTime,          // Label10
    MovingTime,        // Label14
};

// What the analysis reads from the window and writes back to it. The window implements it; tests,
// benchmarks and the command-line companion use an in-memory one.
class AnalysisView {
  public:
    virtual ~AnalysisView() = default;

    virtual std::string trackPath() const = 0;
    virtual std::string altitudeJumpText() const = 0;
    virtual std::string stopMinutesText() const = 0;
    virtual std::string stopSecondsText() const = 0;

    virtual void clearStopList() = 0;
    // `beganAtRow`: the chart row of the point where the stop began, the last before its gap.
    virtual void addStopEntry(const std::string& entry, std::int16_t beganAtRow) = 0;
    virtual void setSummaryLabel(SummaryLabel label, const std::string& text) = 0;
    virtual ProfileChart& altitudeChart() = 0;
    virtual ProfileChart& speedChart() = 0;
    // The two values the km read-out of a chosen point works from.
    virtual void keepForReadout(std::int16_t linesRead, float distanceKm) = 0;
    // Where every point's values go once the pass is done with it; a view that shows no point
    // read-out keeps none.
    virtual PointDetails& pointDetails() {
        static DiscardedPoints discarded;
        return discarded;
    }

  private:
    class DiscardedPoints final : public PointDetails {
      public:
        void beginTrack() override {}
        void addPoint(const PointDetail&) override {}
    };
};

}  // namespace at
