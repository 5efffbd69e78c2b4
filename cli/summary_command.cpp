#include "cli/summary_command.h"

#include <algorithm>
#include <exception>

#include "analysis/analyse_track.h"
#include "analysis/analysis_settings.h"
#include "analysis/point_csv.h"
#include "analysis/sensor_figures.h"
#include "analysis/summary_band.h"
#include "analysis/summary_panel.h"
#include "cli/exit_status.h"
#include "formats/track_source.h"
#include "platform/runtime_error.h"

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
    std::optional<AnalysisResult> analysis;
    std::optional<FileFailure> failure;
};

FileResult analyse(const std::string& path, const SummaryOptions& options,
                   const NumberLocale& locale) {
    FileResult result;
    try {
        result.analysis = analyseTrack({path, options.thresholds}, locale);
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
    return result;
}

// What is not known is null rather than missing, so that every error object has the same members.
template <typename T>
Json orNull(const std::optional<T>& value) {
    return value ? Json(*value) : Json(nullptr);
}

const char* sensorKey(Sensor sensor) {
    switch (sensor) {
        case Sensor::HeartRate:
            return "pulso";
        case Sensor::Cadence:
            return "cadencia";
        case Sensor::Power:
            return "potencia";
        case Sensor::Temperature:
            return "temperatura";
    }
    return "";
}

// Over the points that have a value; null for a track without the sensor.
Json sensorJson(const AnalysisResult& result, Sensor sensor) {
    const auto figures = sensorFigures(result.sensors, sensor, 0, result.points.size());
    if (!figures)
        return nullptr;
    return {{"minimo", jsonNumber(figures->lowest)},
            {"media", figures->mean},
            {"maximo", jsonNumber(figures->highest)}};
}

}  // namespace

Json summaryJson(const AnalysisResult& result, const NumberLocale& locale) {
    const TrackSummary& summary = result.summary;
    Json band = Json::array();
    for (const auto& entry : kSummaryBand) {
        band.push_back({{"etiqueta", entry.caption},
                        {"texto", jsonText(summaryFigure(entry.label, summary, locale))}});
    }
    Json stops = Json::array();
    for (const Stop& stop : result.stops)
        stops.push_back(jsonText(stopEntryText(stop, locale)));
    // Units as the analysis keeps them: km, metres, km/h, seconds; times of day in days. What the
    // track lacks (altitudes, times) is null, as its text is "—".
    const auto ifAltitudes = [&](const Json& value) {
        return summary.hasAltitudes ? value : Json(nullptr);
    };
    const auto ifTimes = [&](const Json& value) {
        return summary.hasTimes ? value : Json(nullptr);
    };
    const Json figures = {
        {"distanciaKm", jsonNumber(summary.distanceKm)},
        {"cotaMinima", ifAltitudes(summary.lowestAltitude)},
        {"cotaMaxima", ifAltitudes(summary.highestAltitude)},
        {"desnivelAcumulado", ifAltitudes(summary.accumulatedClimb)},
        {"tomasDespreciadas", summary.discardedSamples},
        {"velocidadMinima", ifTimes(summary.lowestSpeed)},
        {"velocidadMaxima", ifTimes(summary.highestSpeed)},
        {"numeroParadas", ifTimes(summary.stopCount)},
        {"segundosEnParadas", ifTimes(summary.stopSeconds)},
        {"horaInicio", ifTimes(orNull(summary.startTime))},
        {"horaFin", ifTimes(summary.endTime)},
        {"lineasLeidas", summary.linesRead},
        {"segundosTotales", ifTimes(elapsedSeconds(summary))},
        {"saltosGps", ifTimes(summary.gpsJumps)},
        {"puntosSinHora", summary.pointsWithoutTime},
    };
    Json json = {{"archivo", jsonText(result.inputs.trackPath)},
                 {"resumen", std::move(band)},
                 {"paradas", std::move(stops)},
                 {"valores", figures}};
    for (const Sensor sensor : kSensors)
        json[sensorKey(sensor)] = sensorJson(result, sensor);
    return json;
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
        readAnalysisSettings(options.thresholds.altitudeJump, options.thresholds.stopMinutes,
                             options.thresholds.stopSeconds, locale);
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
        const FileResult result = analyse(path, options, locale);
        if (result.failure) {
            ++failures;
            err << fileErrorText(path, result.failure->message);
        }
        if (options.json) {
            // One object a line, so that a batch can be read line by line as well.
            text += printed == 0 ? "\n" : ",\n";
            text += jsonLine(result.failure ? fileErrorJson(path, *result.failure)
                                            : summaryJson(*result.analysis, locale));
            ++printed;
        } else if (!result.failure && options.csv) {
            appendPointsCsvLines(text, result.analysis->points, result.analysis->sensors,
                                 csvColumns, displayableText(path, kShownPathChars), locale);
        } else if (!result.failure) {
            if (printed > 0)
                text += '\n';
            appendSummaryText(text, *result.analysis, locale);
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
