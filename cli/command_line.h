#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli/exit_status.h"
#include "platform/number_locale.h"

namespace at {

// The companion's whole command line, program name excluded: "resumen" or "cortar" with their
// arguments, or the help. Numbers are shown with `locale`. Returns the exit status: 0 on success,
// 1 if a file failed, 2 if the command line is wrong.
int runCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                   const NumberLocale& locale);

}  // namespace at
