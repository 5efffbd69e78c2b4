#include "charts/map_content.h"

#include "analysis/activity_lines.h"

namespace at {

GeoPosition geoPosition(const PointDetail& point) {
    return {point.latitudeDigits / 1e6, point.longitudeDigits / 1e6};
}

MapTrack mapTrackOf(const std::vector<PointDetail>& points) {
    std::vector<GeoPosition> positions;
    positions.reserve(points.size());
    for (const PointDetail& point : points)
        positions.push_back(geoPosition(point));
    return MapTrack(positions);
}

std::vector<MapMark> mapMarksOf(const AnalysisResult& result, const NumberLocale& locale) {
    std::vector<MapMark> marks;
    marks.reserve(result.stops.size() + result.laps.size());
    for (std::size_t i = 0; i < result.stops.size(); ++i) {
        const Stop& stop = result.stops[i];
        marks.push_back(
            {MapMark::Kind::Stop, stop.row, std::to_string(i + 1), stopEntryText(stop, locale)});
    }
    for (const Lap& lap : result.laps) {
        marks.push_back(
            {MapMark::Kind::Lap, lap.row, std::to_string(lap.number), lapText(lap, locale)});
    }
    return marks;
}

}  // namespace at
