#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "platform/number_locale.h"

namespace at::test {

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

// The command line run in-process, its two streams captured.
inline CliRun runCli(const std::vector<std::string>& args,
                     const NumberLocale& locale = NumberLocale::point()) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = runCommandLine(args, out, err, locale);
    return {status, out.str(), err.str()};
}

}  // namespace at::test
