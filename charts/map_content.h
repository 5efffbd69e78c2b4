#pragma once

#include <vector>

#include "analysis/analysis_result.h"
#include "charts/map_mark.h"
#include "charts/map_track.h"
#include "platform/number_locale.h"

// What the map and the report's route show of an analysis, made from its result as the profiles
// are: the places of its points and its marks.
namespace at {

// Where an analysed point lies: its coordinates' digits as millionths of a degree.
GeoPosition geoPosition(const PointDetail& point);
MapTrack mapTrackOf(const std::vector<PointDetail>& points);
// Every stop at the row where it began, numbered as in the list and with its line of the list.
std::vector<MapMark> mapMarksOf(const AnalysisResult& result, const NumberLocale& locale);

}  // namespace at
