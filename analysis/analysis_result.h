#pragma once

#include <string>
#include <vector>

#include "analysis/analysis_settings.h"
#include "analysis/laps.h"
#include "analysis/point_details.h"
#include "analysis/stop_check.h"
#include "analysis/track_summary.h"
#include "track/point_numbering.h"
#include "track/sensor_values.h"
#include "track/track_layout.h"

namespace at {

// What an analysis starts from: the track and the thresholds, as plain values read from the
// window's controls (or the command line's arguments) when the command runs.
struct AnalysisInputs {
    std::string trackPath;
    ThresholdTexts thresholds;
    // Which track of a file of several, from 1.
    int track = 1;
};

// Everything one pass found, from which every way of showing it is made: the window's labels,
// the clipboard text, the PDF report, the CSV, the JSON and the command line's text. The track is
// named by its path and dated by its first point.
struct AnalysisResult {
    // The track by its path, and the thresholds as typed.
    AnalysisInputs inputs;
    // The thresholds as the pass used them.
    AnalysisSettings settings;
    // How wide the track's point numbers, point count, stop count and lines read are.
    PointNumbering numbering = PointNumbering::Bits16;
    TrackSummary summary;
    // In track order, each with the row where it began.
    std::vector<Stop> stops;
    // One per point read, by chart row.
    std::vector<PointDetail> points;
    // The sensors' values of those points, by their index in `points`.
    SensorColumns sensors;
    // The laps the file marks, in track order.
    std::vector<Lap> laps;
    // What the file says of the track: its name and whether it is done on foot. A track file of
    // point lines says nothing, and its texts stay as they have always been.
    std::optional<TrackHeading> heading;

    // The activity's date: its first point's local day (days since 1899-12-30); 0 when the file
    // gives none.
    std::int32_t date() const { return points.empty() ? 0 : points.front().localDay; }
};

}  // namespace at
