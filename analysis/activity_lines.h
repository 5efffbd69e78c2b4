#pragma once

#include <optional>
#include <string>

#include "analysis/analysis_result.h"
#include "platform/number_locale.h"

// What a result says of the activity beyond the summary band: its date, the mean speed in motion,
// the pace of a track done on foot and its laps. The command line, the clipboard and the report
// all show these texts.
namespace at {

// The distance over the time in motion ("t en ruta"), km/h; none without time in motion.
std::optional<double> movingSpeedKmh(const AnalysisResult& result);

// The activity's date, "01/05/2024"; empty when the file gives none.
std::string activityDateText(const AnalysisResult& result);
// "12,3 km/h"; empty without time in motion.
std::string movingSpeedText(const AnalysisResult& result, const NumberLocale& locale);
// The time one km takes at the mean speed in motion, "5'12'' /km"; empty unless the file says
// the activity is done on foot and there is a speed.
std::string paceText(const AnalysisResult& result);
// "Vuelta 2: 1,2 km en 00h 06' 10'' · 11,7 km/h", the heart rate added where there is one.
std::string lapText(const Lap& lap, const NumberLocale& locale);

inline constexpr const char* kDateCaption = "Fecha:";
inline constexpr const char* kMovingSpeedCaption = "Velocidad media en ruta:";
inline constexpr const char* kPaceCaption = "Ritmo:";
inline constexpr const char* kLapListHeading = "Vueltas";

// The date, speed and pace lines that apply, each "Caption text\n"; none for a track file of point
// lines.
void appendActivityLines(std::string& out, const AnalysisResult& result,
                         const NumberLocale& locale);
// "Vueltas" and one line per lap, when the file marks laps.
void appendLapLines(std::string& out, const AnalysisResult& result, const NumberLocale& locale);

}  // namespace at
