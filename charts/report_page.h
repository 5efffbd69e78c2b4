#pragma once

#include <QByteArray>
#include <QString>
#include <string>
#include <utility>
#include <vector>

#include "analysis/analysis_result.h"
#include "platform/number_locale.h"

class QPainter;
class QRectF;

namespace at {

// Everything one report page shows, as the window or the command line has it after an analysis.
struct ReportContent {
    std::string fileName;
    std::string date;
    // The threshold texts as typed: altitude jump (m), stop gap minutes and seconds.
    std::string altitudeJump;
    std::string stopMinutes;
    std::string stopSeconds;
    // The summary band, caption and text, in reading order.
    std::vector<std::pair<std::string, std::string>> figures;
    std::vector<std::string> stops;
    // One value per point: metres and km/h.
    std::vector<double> altitude;
    std::vector<double> speed;
    // The altitude chart's value axis as the analysis fitted it.
    double altitudeAxisMinimum = 0.0;
    double altitudeAxisMaximum = 0.0;
    // The user's number format, for the range written beside each profile.
    NumberLocale locale = NumberLocale::point();
};

// The report of an analysis, dated today, its numbers in the user's format.
ReportContent reportContent(const AnalysisResult& result, const NumberLocale& locale);

// Draws the report into `page` (in the painter's units): heading, thresholds, figures, stop list
// and both profiles.
void paintReport(QPainter& painter, const QRectF& page, const ReportContent& content);

// One A4 page as PDF; empty if it could not be drawn.
QByteArray reportPdf(const ReportContent& content);

// The page written whole as the PDF file `path` (or nothing written); on failure, false and the
// error's message with its kind, the file and the reason.
bool writeReportPdf(const ReportContent& content, const QString& path, QString& error);

}  // namespace at
