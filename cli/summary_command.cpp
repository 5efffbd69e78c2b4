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
#include "formats/track_list.h"
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

FileResult analyse(const std::string& path, int track, const SummaryOptions& options,
                   const NumberLocale& locale) {
    FileResult result;
    try {
        result.analysis = analyseTrack({path, options.thresholds, track}, locale);
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

Json lapsJson(const std::vector<Lap>& laps) {
    Json list = Json::array();
    for (const Lap& lap : laps) {
        list.push_back({{"numero", lap.number},
                        {"fila", lap.row},
                        {"distanciaKm", jsonNumber(lap.distanceKm)},
                        {"segundos", lap.seconds},
                        {"velocidadMedia", orNull(lap.meanSpeedKmh)},
                        {"pulsoMedio", orNull(lap.meanHeartRate)}});
    }
    return list;
}

// The tracks of a file to summarise: the one asked for, else every one of a file of several.
// A file that does not list is summarised as one track, and fails as the window would.
std::vector<int> tracksToSummarise(const std::string& path, const SummaryOptions& options,
                                   int& tracksInFile) {
    tracksInFile = 1;
    try {
        tracksInFile = std::max<int>(1, static_cast<int>(listTracks(path).size()));
    } catch (const std::exception&) {
    }
    if (options.track)
        return {*options.track};
    std::vector<int> tracks(static_cast<std::size_t>(tracksInFile));
    for (int i = 0; i < tracksInFile; ++i)
        tracks[static_cast<std::size_t>(i)] = i + 1;
    return tracks;
}

}  // namespace

Json summaryJson(const AnalysisResult& result, const NumberLocale& locale, int tracksInFile) {
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
    Json object = {{"archivo", jsonText(result.inputs.trackPath)}};
    if (tracksInFile > 1)
        object["track"] = result.inputs.track;
    object["resumen"] = std::move(band);
    object["paradas"] = std::move(stops);
    object["valores"] = figures;
    object["vueltas"] = lapsJson(result.laps);
    for (const Sensor sensor : kSensors)
        object[sensorKey(sensor)] = sensorJson(result, sensor);
    return object;
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
        int tracksInFile = 1;
        bool fileFailed = false;
        for (const int track : tracksToSummarise(path, options, tracksInFile)) {
            const FileResult result = analyse(path, track, options, locale);
            if (result.failure) {
                fileFailed = true;
                err << fileErrorText(path, result.failure->message);
            }
            if (options.json) {
                // One object a line, so that a batch can be read line by line as well.
                text += printed == 0 ? "\n" : ",\n";
                text +=
                    jsonLine(result.failure ? fileErrorJson(path, *result.failure)
                                            : summaryJson(*result.analysis, locale, tracksInFile));
                ++printed;
            } else if (!result.failure && options.csv) {
                appendPointsCsvLines(text, result.analysis->points, result.analysis->sensors,
                                     csvColumns, displayableText(path, kShownPathChars), locale);
            } else if (!result.failure) {
                if (printed > 0)
                    text += '\n';
                appendSummaryText(text, *result.analysis, locale, tracksInFile);
                ++printed;
            }
            out << text;
            text.clear();
        }
        if (fileFailed)
            ++failures;
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
