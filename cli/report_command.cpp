#include "cli/report_command.h"

#include <QFile>
#include <QGuiApplication>
#include <exception>
#include <memory>

#include "analysis/analysis_pass.h"
#include "analysis/memory_view.h"
#include "analysis/summary_band.h"
#include "charts/map_track.h"
#include "charts/report_page.h"
#include "cli/exit_status.h"
#include "cli/summary_command.h"
#include "platform/runtime_error.h"

namespace at {
namespace {

// Fonts and the PDF writer need a GUI application, never a screen: the command line draws
// offscreen.
std::unique_ptr<QGuiApplication> guiForDrawing() {
    if (QCoreApplication::instance() != nullptr)
        return nullptr;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's notes about the desktop session (no runtime folder, no screen) are not the user's
    // business here; errors of the report itself are reported on their own.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    static int argc = 1;
    static char name[] = "analisis-tracks-cli";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace

int runReport(const std::string& track, const std::string& pdfPath, const ReportOptions& options,
              std::ostream& err, const NumberLocale& locale) {
    MemoryAnalysisView view;
    view.path = track;
    view.altitudeJump = options.altitudeJump;
    view.stopMinutes = options.stopMinutes;
    view.stopSecondsInput = options.stopSeconds;
    try {
        runAnalysis(view, locale);
    } catch (const RuntimeError& e) {
        err << track << ": " << e.message() << "\n";
        return kExitFailed;
    } catch (const std::exception& e) {
        err << track << ": Error inesperado\n" << e.what() << "\n";
        return kExitFailed;
    }

    const auto app = guiForDrawing();
    ReportContent content;
    content.fileName = track;
    content.activityDay = view.points.firstDay();
    content.exportDay = todayAsDayCount();
    content.altitudeJump = options.altitudeJump;
    content.stopMinutes = options.stopMinutes;
    content.stopSeconds = options.stopSeconds;
    for (const SummaryBandEntry& entry : kSummaryBand)
        content.figures.emplace_back(entry.caption, view.label(entry.label));
    content.stops = view.stopList;
    content.stopRows.assign(view.stopRows.begin(), view.stopRows.end());
    for (const PointDetail& point : view.points.points()) {
        content.altitude.push_back(point.altitudeMetres);
        content.speed.push_back(point.speedKmh);
        content.positions.push_back(geoPosition(point));
    }
    content.altitudeAxisMinimum = view.altitude.axisMinimum().value_or(0.0);
    content.altitudeAxisMaximum = view.altitude.axisMaximum().value_or(0.0);
    content.locale = locale;
    QString error;
    if (!writeReportPdf(content, QFile::decodeName(pdfPath.c_str()), error)) {
        err << fileErrorText(pdfPath, error.toStdString());
        return kExitFailed;
    }
    return kExitOk;
}

}  // namespace at
