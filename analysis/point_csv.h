#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "analysis/point_details.h"
#include "platform/number_locale.h"

namespace at {

// The field separator that goes with the decimal separator: ";" beside a decimal comma, "," beside
// a decimal point, as spreadsheets expect under each.
char csvSeparator(const NumberLocale& locale);

// The columns a point table has besides those of every point: "archivo" first, naming the track
// of each line in a table of several; "Fecha" (aaaa-mm-dd) before "Hora", for tracks that give
// dates.
struct CsvColumns {
    bool file = false;
    bool date = false;
};

// The heading line: point number, date, time of day, latitude and longitude in degrees, altitude
// (m), distance covered (km), speed (km/h), then heart rate, cadence, power and temperature,
// whether the track has them or not. Lines end with CR LF; the text is UTF-8.
std::string pointsCsvHeading(const CsvColumns& columns, const NumberLocale& locale);

// One line per point, its figures rounded half to even as a person reads them (coordinates to 6
// decimals, altitude to 1, distance to 3, speed to 2) and written by the summary's number rule.
// The time and the speed of a point of a track without times are empty cells.
// `file` fills the "archivo" column, quoted when it holds the separator or a quote. A sensor's
// value is written as the file gave it; a point without one leaves its field empty.
void appendPointsCsvLines(std::string& out, const std::vector<PointDetail>& points,
                          const SensorColumns& sensors, const CsvColumns& columns,
                          std::string_view file, const NumberLocale& locale);

// The table of one track: its heading and its points, with dates when the track gives them.
std::string pointsCsv(const std::vector<PointDetail>& points, const SensorColumns& sensors,
                      const NumberLocale& locale);

}  // namespace at
