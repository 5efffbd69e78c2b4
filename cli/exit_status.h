#pragma once

namespace at {

// What the command line's exit status tells a script.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;  // a file could not be analysed or split
inline constexpr int kExitUsage = 2;   // the command line itself is wrong

}  // namespace at
