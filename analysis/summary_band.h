#pragma once

#include <array>
#include <string>

#include "analysis/analysis_result.h"
#include "analysis/analysis_view.h"
#include "platform/number_locale.h"

namespace at {

struct SummaryBandEntry {
    SummaryLabel label;
    const char* caption;
};

// The window's summary band read row by row, left to right: each value with the caption beside it.
inline constexpr std::array<SummaryBandEntry, 11> kSummaryBand = {{
    {SummaryLabel::Climb, "Desnivel acumulado:"},
    {SummaryLabel::Distance, "Distancia:"},
    {SummaryLabel::LowestAltitude, "Cota Min:"},
    {SummaryLabel::LowestSpeed, "Velocidad Min:"},
    {SummaryLabel::DiscardedSamples, "Tomas despreciadas:"},
    {SummaryLabel::StopCount, "Número de paradas:"},
    {SummaryLabel::HighestAltitude, "Cota Máx:"},
    {SummaryLabel::HighestSpeed, "Velocidad Máx:"},
    {SummaryLabel::TotalTime, "Tiempo:"},
    {SummaryLabel::StopTime, "t en paradas:"},
    {SummaryLabel::MovingTime, "t en ruta:"},
}};

// A path of any length is named, but no more of it than a line can show.
inline constexpr std::size_t kShownPathChars = 400;

// The heading of the stop list.
inline constexpr const char* kStopListHeading = "Paradas";

// The summary band row by row ("Distancia: 12.2 km"), the activity's date, mean speed in motion
// and pace, then "Paradas" and the stop list and the laps, each line ending with "\n". The file
// is named first, and the track after it when the file holds several (`tracksInFile`). The
// command line prints it, the window copies it.
void appendSummaryText(std::string& out, const AnalysisResult& result, const NumberLocale& locale,
                       int tracksInFile = 1);

}  // namespace at
