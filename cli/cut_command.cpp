#include "cli/cut_command.h"

#include <algorithm>
#include <charconv>
#include <exception>

#include "cli/exit_status.h"
#include "cli/summary_command.h"
#include "formats/splitter.h"
#include "platform/runtime_error.h"

namespace at {

std::optional<std::string> splitPointsProblem(const std::string& pointsText) {
    if (pointsText.empty())
        return std::nullopt;
    const bool digitsOnly = std::all_of(pointsText.begin(), pointsText.end(),
                                        [](char c) { return c >= '0' && c <= '9'; });
    int points = 0;
    const char* end = pointsText.data() + pointsText.size();
    const auto [stop, error] = std::from_chars(pointsText.data(), end, points);
    if (digitsOnly && error == std::errc() && stop == end && points >= kFewestSplitPoints &&
        points <= kMostSplitPoints) {
        return std::nullopt;
    }
    return "PUNTOS debe ser un número entero de " + std::to_string(kFewestSplitPoints) + " a " +
           std::to_string(kMostSplitPoints) + ": «" + pointsText + "»";
}

int runCut(const std::string& path, const std::string& pointsText, int track, std::ostream& out,
           std::ostream& err) {
    if (pointsText.empty()) {
        err << kNoPointsTitle << "\n" << kNoPointsText << "\n";
        return kExitUsage;
    }
    try {
        splitTrack(path, pointsText, track);
    } catch (RuntimeError& e) {
        e.withFile(path);
        err << fileErrorText(path, e.message());
        return kExitFailed;
    } catch (const std::exception& e) {
        err << fileErrorText(path, std::string("Error inesperado\n") + e.what());
        return kExitFailed;
    }
    out << kSplitDoneTitle << "\n" << kSplitDoneText << "\n";
    out.flush();
    return kExitOk;
}

}  // namespace at
