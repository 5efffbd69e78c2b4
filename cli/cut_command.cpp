#include "cli/cut_command.h"

#include <exception>

#include "cli/exit_status.h"
#include "cli/summary_command.h"
#include "platform/runtime_error.h"
#include "track/splitter.h"

namespace at {

int runCut(const std::string& path, const std::string& pointsText, std::ostream& out,
           std::ostream& err) {
    if (pointsText.empty()) {
        err << kNoPointsTitle << "\n" << kNoPointsText << "\n";
        return kExitUsage;
    }
    try {
        splitTrack(path, pointsText);
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
