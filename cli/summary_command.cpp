#include "cli/summary_command.h"

#include <exception>

#include "analysis/analysis_pass.h"
#include "analysis/analysis_settings.h"
#include "analysis/summary_panel.h"
#include "charts/point_csv.h"
#include "cli/exit_status.h"
#include "cli/summary_band.h"
#include "platform/runtime_error.h"

namespace at {
namespace {

// Paths are bytes; what reaches the terminal is readable text, as in error messages.
constexpr std::size_t kPathChars = 400;

std::string indentedLines(const std::string& message) {
    std::string out;
    for (const char c : message) {
        out += c;
        if (c == '\n')
            out += "  ";
    }
    return out;
}

struct FileResult {
    MemoryAnalysisView view;
    TrackSummary summary;
    std::string error;
    bool failed = false;
};

void analyse(FileResult& result, const std::string& path, const SummaryOptions& options,
             const NumberLocale& locale) {
    result.view.path = path;
    result.view.altitudeJump = options.altitudeJump;
    result.view.stopMinutes = options.stopMinutes;
    result.view.stopSecondsInput = options.stopSeconds;
    try {
        result.summary = runAnalysis(result.view, locale);
    } catch (const RuntimeError& e) {
        result.failed = true;
        result.error = e.message();
    } catch (const std::exception& e) {
        result.failed = true;
        result.error = std::string("Error inesperado\n") + e.what();
    }
}

void writeFileErrorJson(JsonWriter& json, const std::string& path, const std::string& message) {
    json.beginObject();
    json.key("archivo");
    json.string(path);
    json.key("error");
    json.string(message);
    json.endObject();
}

}  // namespace

void appendSummaryText(std::string& out, const std::string& path, const MemoryAnalysisView& view) {
    out += "Archivo: ";
    out += displayableText(path, kPathChars);
    out += '\n';
    for (const auto& entry : kSummaryBand) {
        out += entry.caption;
        out += ' ';
        out += view.label(entry.label);
        out += '\n';
    }
    out += kStopListHeading;
    out += '\n';
    for (const auto& stop : view.stopList) {
        out += stop;
        out += '\n';
    }
}

void writeSummaryJson(JsonWriter& json, const std::string& path, const MemoryAnalysisView& view,
                      const TrackSummary& summary) {
    json.beginObject();
    json.key("archivo");
    json.string(path);

    json.key("resumen");
    json.beginArray();
    for (const auto& entry : kSummaryBand) {
        json.beginObject();
        json.key("etiqueta");
        json.string(entry.caption);
        json.key("texto");
        json.string(view.label(entry.label));
        json.endObject();
    }
    json.endArray();

    json.key("paradas");
    json.beginArray();
    for (const auto& stop : view.stopList)
        json.string(stop);
    json.endArray();

    // Units as the analysis keeps them: km, metres, km/h, seconds; times of day in days.
    json.key("valores");
    json.beginObject();
    json.key("distanceKm");
    json.number(summary.distanceKm);
    json.key("lowestAltitude");
    json.number(summary.lowestAltitude);
    json.key("highestAltitude");
    json.number(summary.highestAltitude);
    json.key("accumulatedClimb");
    json.number(summary.accumulatedClimb);
    json.key("discardedSamples");
    json.integer(summary.discardedSamples);
    json.key("lowestSpeed");
    json.number(summary.lowestSpeed);
    json.key("highestSpeed");
    json.number(summary.highestSpeed);
    json.key("stopCount");
    json.integer(summary.stopCount);
    json.key("stopSeconds");
    json.integer(summary.stopSeconds);
    json.key("startTime");
    json.number(summary.startTime);
    json.key("endTime");
    json.number(summary.endTime);
    json.key("linesRead");
    json.integer(summary.linesRead);
    json.key("elapsedSeconds");
    json.integer(elapsedSeconds(summary));
    json.endObject();

    json.endObject();
}

std::string fileErrorText(const std::string& path, const std::string& message) {
    return displayableText(path, kPathChars) + ": " + indentedLines(message) + "\n";
}

int runSummary(const std::vector<std::string>& files, const SummaryOptions& options,
               std::ostream& out, std::ostream& err, const NumberLocale& locale) {
    // The thresholds are the same for every file: a text that does not read fails them all,
    // so it is said once.
    try {
        readAnalysisSettings(options.altitudeJump, options.stopMinutes, options.stopSeconds,
                             locale);
    } catch (const RuntimeError& e) {
        err << "analisis-tracks-cli: " << indentedLines(e.message()) << "\n";
        return kExitFailed;
    }

    std::size_t failures = 0;
    std::size_t printed = 0;
    std::string text;
    if (options.json)
        out << '[';
    for (const std::string& path : files) {
        FileResult result;
        analyse(result, path, options, locale);
        if (result.failed) {
            ++failures;
            err << fileErrorText(path, result.error);
        }
        if (options.json) {
            // One object a line, so that a batch can be read line by line as well.
            text += printed == 0 ? "\n" : ",\n";
            JsonWriter json(text);
            if (result.failed) {
                writeFileErrorJson(json, path, result.error);
            } else {
                writeSummaryJson(json, path, result.view, result.summary);
            }
            ++printed;
        } else if (!result.failed && options.csv) {
            text += pointsCsv(result.view.points, locale);
        } else if (!result.failed) {
            if (printed > 0)
                text += '\n';
            appendSummaryText(text, path, result.view);
            ++printed;
        }
        out << text;
        text.clear();
    }
    if (options.json)
        out << "\n]\n";
    out.flush();

    if (failures > 0) {
        err << "Archivos con errores: " << failures << " de " << files.size() << ".\n";
        return kExitFailed;
    }
    return kExitOk;
}

}  // namespace at
