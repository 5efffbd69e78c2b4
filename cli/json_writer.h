#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace at {

// Members keep the order they were added in, which is the order a reader expects them.
using Json = nlohmann::ordered_json;

// Bytes made fit for a JSON string: valid UTF-8 stays, any other byte is read as Windows-1252,
// as the track files are, so that any file name gives valid JSON.
std::string jsonText(std::string_view bytes);

// A single-precision figure as the double with the same shortest text: 12.3f is written "12.3",
// not 12.300000190734863.
double jsonNumber(float value);

// Compact JSON on one line; NaN and infinity, which JSON lacks, become null.
std::string jsonLine(const Json& value);

}  // namespace at
