#include "cli/summary_command.h"

#include <algorithm>
#include <exception>

#include "analysis/analysis_pass.h"
#include "analysis/analysis_settings.h"
#include "analysis/summary_band.h"
#include "analysis/summary_panel.h"
#include "charts/point_csv.h"
#include "cli/exit_status.h"
#include "platform/runtime_error.h"
#include "track/point_source.h"

namespace at {
namespace {

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
    std::optional<FileFailure> failure;
};

void analyse(FileResult& result, const std::string& path, const SummaryOptions& options,
             const NumberLocale& locale) {
    result.view.path = path;
    result.view.altitudeJump = options.altitudeJump;
    result.view.stopMinutes = options.stopMinutes;
    result.view.stopSecondsInput = options.stopSeconds;
    result.view.keepPoints = options.csv;
    try {
        result.summary = runAnalysis(result.view, locale);
    } catch (const RuntimeError& e) {
        result.failure = FileFailure{.kind = spanishName(e.kind()),
                                     .file = e.file().value_or(path),
                                     .line = e.line(),
                                     .byteOffset = e.byteOffset(),
                                     .text = e.text(),
                                     .message = e.message()};
    } catch (const std::exception& e) {
        result.failure = FileFailure{.kind = kUnexpectedError,
                                     .file = path,
                                     .line = std::nullopt,
                                     .byteOffset = std::nullopt,
                                     .text = std::nullopt,
                                     .message = std::string(kUnexpectedError) + "\n" + e.what()};
    }
}

// What is not known is null rather than missing, so that every error object has the same members.
template <typename T>
Json orNull(const std::optional<T>& value) {
    return value ? Json(*value) : Json(nullptr);
}

}  // namespace

Json summaryJson(const std::string& path, const MemoryAnalysisView& view,
                 const TrackSummary& summary) {
    Json band = Json::array();
    for (const auto& entry : kSummaryBand) {
        band.push_back({{"etiqueta", entry.caption}, {"texto", jsonText(view.label(entry.label))}});
    }
    Json stops = Json::array();
    for (const auto& stop : view.stopList)
        stops.push_back(jsonText(stop));
    // Units as the analysis keeps them: km, metres, km/h, seconds; times of day in days.
    const Json figures = {
        {"distanciaKm", jsonNumber(summary.distanceKm)},
        {"cotaMinima", summary.lowestAltitude},
        {"cotaMaxima", summary.highestAltitude},
        {"desnivelAcumulado", summary.accumulatedClimb},
        {"tomasDespreciadas", summary.discardedSamples},
        {"velocidadMinima", summary.lowestSpeed},
        {"velocidadMaxima", summary.highestSpeed},
        {"numeroParadas", summary.stopCount},
        {"segundosEnParadas", summary.stopSeconds},
        {"horaInicio", orNull(summary.startTime)},
        {"horaFin", summary.endTime},
        {"lineasLeidas", summary.linesRead},
        {"segundosTotales", elapsedSeconds(summary)},
    };
    return {{"archivo", jsonText(path)},
            {"resumen", std::move(band)},
            {"paradas", std::move(stops)},
            {"valores", figures}};
}

Json fileErrorJson(const std::string& path, const FileFailure& failure) {
    const Json error = {
        {"tipo", failure.kind},
        {"archivo", jsonText(failure.file)},
        {"linea", orNull(failure.line)},
        {"byte", orNull(failure.byteOffset)},
        {"texto", failure.text ? Json(jsonText(*failure.text)) : Json(nullptr)},
        {"mensaje", jsonText(failure.message)},
    };
    return {{"archivo", jsonText(path)}, {"error", error}};
}

std::string fileErrorText(const std::string& path, const std::string& message) {
    return displayableText(path, kShownPathChars) + ": " + indentedLines(message) + "\n";
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
    // One table for every file, with a date column when any of them gives dates.
    const CsvColumns csvColumns{
        .file = true,
        .date = options.csv && std::any_of(files.begin(), files.end(), [](const std::string& f) {
                    return firstPointDay(f) != 0;
                })};
    if (options.csv)
        out << pointsCsvHeading(csvColumns, locale);
    for (const std::string& path : files) {
        FileResult result;
        analyse(result, path, options, locale);
        if (result.failure) {
            ++failures;
            err << fileErrorText(path, result.failure->message);
        }
        if (options.json) {
            // One object a line, so that a batch can be read line by line as well.
            text += printed == 0 ? "\n" : ",\n";
            text += jsonLine(result.failure ? fileErrorJson(path, *result.failure)
                                            : summaryJson(path, result.view, result.summary));
            ++printed;
        } else if (!result.failure && options.csv) {
            appendPointsCsvLines(text, result.view.points, csvColumns,
                                 displayableText(path, kShownPathChars), locale);
        } else if (!result.failure) {
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
