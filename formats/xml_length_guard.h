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

    // One character at `at` (a byte, or a UTF-16 unit read as ASCII or 0x80) of `bytes` bytes;
    // false when the run it belongs to has grown too long.
    bool step(char c, std::size_t bytes, std::size_t at);
    // A character of a tag or a declaration; `next` is where the character after it lies.
    void markupCharacter(char c, std::size_t next);
    void asDeclaration(char c, std::size_t next);
    void startRun(std::size_t at);
    void endMarkup(std::size_t next);
    const char* what() const;
    std::optional<Overrun> overrun(const char* data, std::size_t size, std::size_t at);
    void keepStart(const char* data, std::size_t size);
    void detectEncoding(const char* data, std::size_t size);

    Encoding encoding_ = Encoding::Unknown;
    State state_ = State::Text;
    std::size_t length_ = 0;
    std::int64_t line_ = 1;
    std::int64_t runLine_ = 1;
    bool afterCr_ = false;
    char quote_ = 0;
    char previous_ = 0;
    char beforePrevious_ = 0;
    int matched_ = 0;
    bool inSubset_ = false;
    bool nested_ = false;
    // Where the current run began in the bytes being scanned, if it began there; and its start.
    std::optional<std::size_t> runStartAt_;
    std::string runStart_;
    // The first byte of a UTF-16 unit whose second byte is still to come.
    std::optional<unsigned char> pendingByte_;
};

}  // namespace at
