#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// Expat keeps a whole tag (its attribute values with it), comment, processing instruction or
// declaration in memory until the end of it arrives, before any handler sees it: a file of one
// endless tag would take all the memory there is. The guard watches the bytes on their way to
// expat and finds where one of those, or a text, grows longer than kMostXmlRunBytes, so that
// reading stops there with memory still flat. The document type declaration counts whole, its
// internal subset included. Documents in UTF-16 are watched by their characters.
namespace at {

class XmlLengthGuard {
  public:
    struct Overrun {
        // In the bytes just scanned: the first one beyond the bound.
        std::size_t offset = 0;
        // "una etiqueta", "un texto", ...
        const char* what = "";
        // Where it began.
        std::int64_t line = 0;
        // Its first bytes, for the message.
        std::string start;
    };

    // The next bytes of the document, in order; the overrun, if they hold one.
    std::optional<Overrun> scan(const char* data, std::size_t size);

  private:
    enum class State {
        Text,
        Open,         // behind "<"
        Bang,         // behind "<!"
        BangDash,     // behind "<!-"
        BangBracket,  // behind "<![", matching "CDATA["
        Tag,
        Comment,
        Instruction,
        CData,
        Declaration,
        Subset,  // the internal subset of the document type declaration
    };
    enum class Encoding { Unknown, Bytes, Utf16Big, Utf16Little };

    // The characters being scanned (the bytes, or the UTF-16 units read as ASCII or 0x80); the
    // index of the first one beyond the bound, if any.
    std::optional<std::size_t> scanCharacters(const char* chars, std::size_t count);
    // One character of "<", "<!", "<!-" or "<!["; false when the state it leads to is to read it
    // again.
    bool opening(char c);
    // The markup ending before `next`; true when it was too long.
    bool endMarkup(std::size_t next);
    void startRun(std::size_t at);
    // Whether the run up to (not including) `end` is too long, and where it became so.
    bool runTooLong(std::size_t end) const;
    std::size_t firstBeyond() const;
    // Line ends in the first `n` characters.
    std::int64_t linesUpTo(const char* chars, std::size_t n) const;
    const char* what() const;
    char unit(unsigned char first, unsigned char second) const;
    void detectEncoding(const char* data, std::size_t size);

    Encoding encoding_ = Encoding::Unknown;
    std::size_t weight_ = 1;  // bytes per character
    State state_ = State::Text;
    char quote_ = 0;
    char previous_ = 0;
    char beforePrevious_ = 0;
    int matched_ = 0;
    bool inSubset_ = false;
    bool nested_ = false;
    // The run being watched: its bytes before the characters being scanned, and where it goes on
    // among them (0 when it began before them).
    std::size_t runBase_ = 0;
    std::size_t runFrom_ = 0;
    // Where it began among the characters being scanned, if it did; its line and first bytes.
    std::optional<std::size_t> runStartAt_;
    std::int64_t runLine_ = 1;
    std::string runStart_;
    // Line ends before the characters being scanned, and whether the last of them was a CR.
    std::int64_t linesBefore_ = 0;
    bool afterCr_ = false;
    // The first byte of a UTF-16 unit whose second byte is still to come, and the units of the
    // bytes being scanned.
    std::optional<unsigned char> pendingByte_;
    std::string narrow_;
};

}  // namespace at
