#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

namespace at {

// The kinds of run-time failure a command can end with. Their Spanish names are what the user
// reads first in the message box.
enum class ErrorKind {
    Overflow,
    TypeMismatch,
    FileNotFound,
    PastEndOfFile,
    PathFileAccess,
    DiskFull,
    DivisionByZero,
    DeviceIo,
};

// "Desbordamiento", "No coinciden los tipos", ...
const char* spanishName(ErrorKind kind);

// A failure that ends the running command. It carries what the user needs to find the fault:
// the file, the line number in it, the field and the offending text, each where known.
class RuntimeError : public std::runtime_error {
  public:
    explicit RuntimeError(ErrorKind kind, std::string detail = {});

    ErrorKind kind() const { return kind_; }
    const std::string& detail() const { return detail_; }
    const std::optional<std::string>& file() const { return file_; }
    std::optional<std::int64_t> line() const { return line_; }
    std::optional<std::int64_t> byteOffset() const { return byteOffset_; }
    const std::optional<std::string>& field() const { return field_; }
    const std::optional<std::string>& text() const { return text_; }

    // Details are added on the way up, by whoever knows them; a detail set closer to the
    // fault is kept.
    RuntimeError& withFile(const std::string& path);
    RuntimeError& withLine(std::int64_t lineNumber);
    RuntimeError& withField(const std::string& fieldName);
    RuntimeError& withText(const std::string& offendingText);
    // Binary files have no lines: the fault is placed by its byte offset from the file's start.
    RuntimeError& withByteOffset(std::int64_t offset);
    // What the user can do about it, shown last.
    RuntimeError& withAdvice(const std::string& advice);
    // The fault's line was counted from `lines` lines further down the file.
    RuntimeError& movedDown(std::int64_t lines);

    // The kind's Spanish name, then one line per known detail (UTF-8).
    std::string message() const;

  private:
    void refresh();

    ErrorKind kind_;
    std::string detail_;
    std::optional<std::string> file_;
    std::optional<std::int64_t> line_;
    std::optional<std::int64_t> byteOffset_;
    std::optional<std::string> field_;
    std::optional<std::string> text_;
    std::optional<std::string> advice_;
    std::string message_;

  public:
    const char* what() const noexcept override { return message_.c_str(); }
};

// Bytes of a track file made fit for a message: valid UTF-8 stays, other bytes are read as
// Windows-1252, control characters are shown as \xNN, and long texts are shortened.
std::string displayableText(const std::string& bytes, std::size_t maxChars = 80);

}  // namespace at
