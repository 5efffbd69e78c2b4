#include <iostream>
#include <string>
#include <vector>

#include "charts/system_locale.h"
#include "cli/command_line.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    // Numbers follow the user's regional settings, read as the window reads them.
    const int status = at::runCommandLine(args, std::cout, std::cerr, at::systemNumberLocale());
    std::cout.flush();
    return std::cout ? status : at::kExitFailed;
}
