#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace at {

// Appends JSON text to a string. The caller opens and closes objects and arrays and names each
// member before its value; the writer puts the commas. Strings are escaped so that any bytes give
// valid JSON: a text that is not UTF-8 is read as Windows-1252, as the track files are.
class JsonWriter {
  public:
    explicit JsonWriter(std::string& out) : out_(out) {}

    void beginObject() { open('{'); }
    void endObject() { close('}'); }
    void beginArray() { open('['); }
    void endArray() { close(']'); }
    void key(std::string_view name);

    void string(std::string_view text);
    void integer(std::int64_t value);
    // The shortest text that reads back as the same value; JSON has no NaN or infinity, so
    // those become null.
    void number(double value);
    void number(float value);
    void null();
    void number(const std::optional<double>& value);

  private:
    void beforeValue();
    void open(char bracket);
    void close(char bracket);

    std::string& out_;
    bool needComma_ = false;
};

// `text` as a JSON string literal, quotes included.
std::string jsonString(std::string_view text);

}  // namespace at
