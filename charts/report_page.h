#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "analysis/analysis_result.h"
#include "charts/map_mark.h"
#include "charts/map_track.h"
#include "platform/number_locale.h"

class QPainter;
class QRectF;

namespace at {

// Everything the report shows, as the window or the command line has it after an analysis.
struct ReportContent {
    std::string fileName;
    // Days since 1899-12-30: the activity's local date (0 when the track gives none) and the day
    // the report is made.
    std::int32_t activityDay = 0;
    std::int32_t exportDay = 0;
    // The threshold texts as typed: altitude jump (m), stop gap minutes and seconds.
    std::string altitudeJump;
    std::string stopMinutes;
    std::string stopSeconds;
    // The summary band, caption and text, in reading order.
    std::vector<std::pair<std::string, std::string>> figures;
    // What the band does not say: the legs set aside as GPS jumps, the points without time.
    std::vector<std::string> notes;
    std::vector<std::string> stops;
    // What the file tells of the activity besides the date ("Velocidad media en ruta: …",
    // "Ritmo: …"), and the laps it marks, one text each.
    std::vector<std::string> activity;
    std::vector<std::string> laps;
    // The point where each stop began, as the charts mark it.
    std::vector<int> stopRows;
    // One value per point: metres and km/h.
    std::vector<double> altitude;
    std::vector<double> speed;
    // A small profile of each sensor the track has, titled with its lowest, mean and highest
    // value: one value per point, NaN where the point has none.
    struct SensorProfile {
        std::string title;
        std::vector<double> values;
    };
    std::vector<SensorProfile> sensors;
    // The route as the map draws it, with the map's marks.
    MapTrack route;
    std::vector<MapMark> routeMarks;
    // The altitude chart's value axis as the analysis fitted it.
    double altitudeAxisMinimum = 0.0;
    double altitudeAxisMaximum = 0.0;
    // What a profile the track has no values for shows instead of them, as the window does.
    std::string altitudeHint;
    std::string speedHint;
    // The user's number format, for the figures on the axes.
    NumberLocale locale = NumberLocale::point();
};

// Today's local date as days since 1899-12-30.
std::int32_t todayAsDayCount();

// The report of an analysis, made today, its numbers in the user's format.
ReportContent reportContent(const AnalysisResult& result, const NumberLocale& locale);

// Draws the report page after page into `page` (in the painter's units): heading, thresholds,
// figures, both profiles, the sensors' profiles, every stop and every lap, and at the top of the
// second page the route. Before each page after the first it calls `newPage`, which starts one and
// returns true, or returns false to stop there. Returns the pages drawn.
int paintReport(QPainter& painter, const QRectF& page, const ReportContent& content,
                const std::function<bool()>& newPage);

// The report as an A4 PDF of as many pages as it takes; empty if it could not be drawn.
QByteArray reportPdf(const ReportContent& content);

// The report written whole as the PDF file `path` (or nothing written); on failure, false and the
// error's message with its kind, the file and the reason.
bool writeReportPdf(const ReportContent& content, const QString& path, QString& error);

}  // namespace at
