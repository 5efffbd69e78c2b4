#pragma once

#include <cstdint>
#include <string>

#include "analysis/analysis_port.h"

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

// What an analysis writes into the window: while the pass runs (the port), and in the closing
// stage that shows its result (the summary band and the two values the km read-out works from).
class AnalysisView : public AnalysisPort {
  public:
    virtual void setSummaryLabel(SummaryLabel label, const std::string& text) = 0;
    // The lines read in the width of the track's numbering.
    virtual void keepForReadout(std::int32_t linesRead, float distanceKm) = 0;
};

}  // namespace at
