#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "analysis/memory_view.h"
#include "analysis/track_summary.h"
#include "cli/json_writer.h"
#include "platform/number_locale.h"

namespace at {

// The window's three threshold texts, with the window's initial contents, and the output form.
struct SummaryOptions {
    std::string altitudeJump = "20";
    std::string stopMinutes = "1";
    std::string stopSeconds = "10";
    bool json = false;
    bool csv = false;  // the points of each file instead of its summary
};

// The summary band row by row ("Distancia: 12.2 km"), then "Paradas" and the stop list, each
// line ending with "\n". The file is named first.
void appendSummaryText(std::string& out, const std::string& path, const MemoryAnalysisView& view);

// One JSON object: the file, the band's captions and texts, the stop list and the raw figures.
void writeSummaryJson(JsonWriter& json, const std::string& path, const MemoryAnalysisView& view,
                      const TrackSummary& summary);

// `path: message`, the message's further lines indented, ending with "\n".
std::string fileErrorText(const std::string& path, const std::string& message);

// Analyses every file as the window does and prints its summary; a file that fails is reported on
// `err` and the others go on. Returns 0, or 1 if any file failed or the thresholds do not read.
int runSummary(const std::vector<std::string>& files, const SummaryOptions& options,
               std::ostream& out, std::ostream& err, const NumberLocale& locale);

}  // namespace at
