#pragma once

#include <string>
#include <vector>

#include "analysis/point_details.h"
#include "platform/number_locale.h"

namespace at {

// The field separator that goes with the decimal separator: ";" beside a decimal comma, "," beside
// a decimal point, as spreadsheets expect under each.
char csvSeparator(const NumberLocale& locale);

// One line per point after a heading line: point number, time of day, latitude and longitude in
// degrees, altitude (m), distance covered (km) and speed (km/h), numbers in the locale's form.
// Lines end with CR LF; the text is UTF-8.
std::string pointsCsv(const std::vector<PointDetail>& points, const NumberLocale& locale);

}  // namespace at
