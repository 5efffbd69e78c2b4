#pragma once

#include <array>

#include "analysis/analysis_view.h"

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

// The heading of the stop list.
inline constexpr const char* kStopListHeading = "Paradas";

}  // namespace at
