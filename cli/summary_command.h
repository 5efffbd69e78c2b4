#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "analysis/analysis_result.h"
#include "cli/json_writer.h"
#include "platform/number_locale.h"

namespace at {

// The window's three threshold texts, with the window's initial contents, and the output form.
struct SummaryOptions {
    ThresholdTexts thresholds;
    bool json = false;
    bool csv = false;  // the points of each file instead of its summary
    // One track of each file; without it, every track of a file of several.
    std::optional<int> track;
};

// A file that could not be analysed: what went wrong, where, and the whole message.
struct FileFailure {
    std::string kind;  // "No coinciden los tipos", ...
    std::string file;
    std::optional<std::int64_t> line;
    std::optional<std::int64_t> byteOffset;  // where the fault lies in a binary file
    std::optional<std::string> text;         // the offending text
    std::string message;                     // what stderr shows
};

// The kind of a failure that is not one of the program's own errors.
inline constexpr const char* kUnexpectedError = "Error inesperado";

// One JSON object: the file, the band's captions and texts, the stop list, the raw figures, the
// laps and the lowest, mean and highest value of each sensor ("pulso", "cadencia", "potencia",
// "temperatura"; null for a sensor the track does not have); with `"track": N` after the file when
// it holds several tracks (`tracksInFile`).
Json summaryJson(const AnalysisResult& result, const NumberLocale& locale, int tracksInFile = 1);

// The JSON object of a file that failed: the file and an "error" object with the failure.
Json fileErrorJson(const std::string& path, const FileFailure& failure);

// `path: message`, the message's further lines indented, ending with "\n".
std::string fileErrorText(const std::string& path, const std::string& message);

// Analyses every file as the window does and prints its summary, one for each track of a file of
// several; a file that fails is reported on `err` and the others go on. Returns 0, or 1 if any file
// failed or the thresholds do not read.
int runSummary(const std::vector<std::string>& files, const SummaryOptions& options,
               std::ostream& out, std::ostream& err, const NumberLocale& locale);

}  // namespace at
