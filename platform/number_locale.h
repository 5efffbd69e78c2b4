#pragma once

#include <string>

namespace at {

// The part of the user's regional settings that numbers follow: the decimal separator ("," under
// Spanish settings). The window fills it from the system locale; the core never asks the system.
struct NumberLocale {
    std::string decimalSeparator = ".";

    static NumberLocale point() { return {"."}; }
    static NumberLocale comma() { return {","}; }
};

}  // namespace at
