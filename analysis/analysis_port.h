#pragma once

#include "analysis/point_details.h"
#include "analysis/profile_chart.h"
#include "analysis/stop_check.h"

namespace at {

// Where the pass writes while it runs, in the order it finds things: the stop list is emptied
// first and grows stop by stop, each point's rows go to the profiles as the point is read, and
// each point's details follow its last step. A pass that fails leaves here what it had written.
class AnalysisPort {
  public:
    virtual ~AnalysisPort() = default;

    virtual void clearStopList() = 0;
    virtual void addStop(const Stop& stop) = 0;
    virtual ProfileChart& altitudeChart() = 0;
    virtual ProfileChart& speedChart() = 0;
    // A port that shows no point read-out keeps no points.
    virtual void beginPoints() {}
    virtual void addPoint(const PointDetail&) {}
    // The sensors' values of the point handed over last, for a point that has any.
    virtual void addPointSensors(const SensorReading&) {}
};

}  // namespace at
