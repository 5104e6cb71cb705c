// The token stream: cuts the text of an ASE file into tokens separated by
// blanks, tabs, line breaks and NUL bytes, and counts brace depth.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tessaly {

// Raised for every failure of the parser: the message is the exact text the
// user sees; Line() is the 1-based line of the token where the failure arose
// (0 when no line applies, as for a file that cannot be opened).
class EParseError : public std::runtime_error {
 public:
  EParseError(const std::string& message, int line) : std::runtime_error(message), line_(line) {}
  int Line() const { return line_; }

 private:
  int line_;
};

class TTokenStream {
 public:
  // A stream over the named file. A file that starts with a byte-order mark is
  // decoded to 8-bit text first (see PrepareText). Throws EParseError with
  // "Cannot open file "<full path>". <reason>" when the file cannot be read.
  static TTokenStream LoadFromFile(const std::string& fileName);
  // A stream over text held in memory, prepared exactly as a file's bytes.
  static TTokenStream FromText(std::string text);

  TTokenStream(TTokenStream&&) = default;
  TTokenStream& operator=(TTokenStream&&) = default;

  // The next token, or the empty view at the end of the text. The view points
  // into Text() and stays valid as long as the stream lives. A "}" that takes
  // Depth below 0 throws "Brackets do not match!".
  std::string_view NextToken() {
    const unsigned char* data = reinterpret_cast<const unsigned char*>(text_);
    size_t pos = position_;
    // The text holds no NUL byte and NUL padding follows it: the skip stops
    // at the end without a bounds check, and a token ends at the padding.
    while (kSkip[data[pos]])
      ++pos;
    const size_t start = pos;
    pos = TokenEnd(data, pos);
    position_ = pos;
    tokenStart_ = start;
    const size_t length = pos - start;
    if (length == 1) {
      if (data[start] == '{') {
        ++Depth;
      } else if (data[start] == '}') {
        if (--Depth < 0) ThrowAtToken("Brackets do not match!");
      }
    }
    return std::string_view(text_ + start, length);
  }

  // Current brace depth: +1 for every "{" token, -1 for every "}" token.
  int Depth = 0;

  std::string_view Text() const { return std::string_view(text_, size_); }
  // 1-based line of the token most recently cut (of the last line of the text
  // once the text has ended).
  int TokenLine() const { return LineAt(tokenStart_); }
  // Throws EParseError with the message at the line of the current token.
  [[noreturn]] void ThrowAtToken(const std::string& message) const;

  // Delimiter bytes: NUL, tab, line feed, carriage return and blank. Every
  // other byte, 128 to 255 included, is a token character.
  static constexpr std::array<bool, 256> kDelimiter = [] {
    std::array<bool, 256> table{};
    for (unsigned char c : {0, 9, 10, 13, 32})
      table[c] = true;
    return table;
  }();
  // The delimiters a skip passes over: all but NUL, which only ends the text.
  static constexpr std::array<bool, 256> kSkip = [] {
    std::array<bool, 256> table{};
    for (unsigned char c : {9, 10, 13, 32})
      table[c] = true;
    return table;
  }();
  // NUL bytes kept after the text: a token ends at the first of them, and
  // word-wide reads from inside the text stay within the buffer.
  static constexpr size_t kPadding = 16;

  // What the stream does to raw bytes before cutting tokens: a UTF-16 text
  // (FF FE or FE FF mark) is decoded to 8-bit text, each code unit below 256
  // becoming that byte and any other becoming '?'; a UTF-8 mark is dropped;
  // the text ends at its first NUL byte.
  static std::string PrepareText(std::string bytes);

 private:
  // The text's buffer: a heap block, or for large texts an anonymous
  // mapping (BufferFree knows which).
  struct BufferFree {
    size_t mapped = 0;  // bytes mapped; 0 for a heap block
    void operator()(char* p) const;
  };
  using Buffer = std::unique_ptr<char[], BufferFree>;
  // A buffer of that many bytes, its contents unspecified.
  static Buffer NewBuffer(size_t size);

  // Takes a buffer of at least size + kPadding bytes whose first size bytes
  // (the text) hold no NUL byte, and fills the padding.
  TTokenStream(Buffer buffer, size_t size);
  // A stream over text already prepared by PrepareText.
  static TTokenStream FromPrepared(std::string_view text);
  int LineAt(size_t offset) const;

  // The end of the token that starts at `pos`: the first delimiter from there
  // on. Eight bytes at a time where the byte order allows: a byte below 0x21
  // may be a delimiter (every delimiter is), which the table then decides.
  static size_t TokenEnd(const unsigned char* data, size_t pos) {
    if constexpr (std::endian::native == std::endian::little) {
      constexpr uint64_t kOnes = 0x0101010101010101ull;
      constexpr uint64_t kHigh = 0x8080808080808080ull;
      for (;;) {
        uint64_t word;
        std::memcpy(&word, data + pos, sizeof word);
        // The high bit of every byte below 0x21, exact up to the first one.
        const uint64_t low = (word - 0x21 * kOnes) & ~word & kHigh;
        if (low == 0) {
          pos += 8;
          continue;
        }
        pos += static_cast<size_t>(std::countr_zero(low)) / 8;
        if (kDelimiter[data[pos]]) return pos;
        ++pos;  // a control byte, which is a token character
      }
    } else {
      while (!kDelimiter[data[pos]])
        ++pos;
      return pos;
    }
  }

  Buffer storage_;
  const char* text_ = nullptr;
  size_t size_ = 0;
  size_t position_ = 0;
  size_t tokenStart_ = 0;
};

// Removes one quote character (' or ") from each end of the text, the two
// ends independently.
std::string StripQuotes(std::string_view source);

}  // namespace tessaly
