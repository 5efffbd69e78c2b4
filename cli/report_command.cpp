#include "cli/report_command.h"

#include <QFile>
#include <QGuiApplication>
#include <exception>
#include <memory>

#include "analysis/analyse_track.h"
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

int runReport(const std::string& track, int trackNumber, const std::string& pdfPath,
              const ThresholdTexts& thresholds, std::ostream& err, const NumberLocale& locale) {
    AnalysisResult result;
    try {
        result = analyseTrack({track, thresholds, trackNumber}, locale);
    } catch (const RuntimeError& e) {
        err << track << ": " << e.message() << "\n";
        return kExitFailed;
    } catch (const std::exception& e) {
        err << track << ": Error inesperado\n" << e.what() << "\n";
        return kExitFailed;
    }

    const auto app = guiForDrawing();
    QString error;
    if (!writeReportPdf(reportContent(result, locale), QFile::decodeName(pdfPath.c_str()), error)) {
        err << fileErrorText(pdfPath, error.toStdString());
        return kExitFailed;
    }
    return kExitOk;
}

}  // namespace at
