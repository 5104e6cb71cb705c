// The reader every ASE block reads through: the value readers (whole number,
// real, quoted text, one word, yes/no), the state of one load (decimal
// separator, element budget), and the one loop that reads a braced block by
// its keyword table.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ase_model/ase_numbers.h"
#include "ase_model/ase_tokens.h"
#include "ase_model/ase_types.h"
#include "token_stream/token_stream.h"

namespace tessaly {

class TASEReader {
 public:
  // Numbered tables of one load may grow, in total, to the length of the
  // text plus this many slots.
  static constexpr size_t kBudgetAllowance = 1048576;

  explicit TASEReader(TTokenStream& stream)
      : Stream(stream), budget_(stream.Text().size() + kBudgetAllowance) {}

  TTokenStream& Stream;

  // The next token; the empty token at the end of the text. After Hold(),
  // the held token is delivered once more instead.
  std::string_view Next() {
    if (held_) {
      held_ = false;
      return token_;
    }
    return token_ = Stream.NextToken();
  }
  // Gives the token just read back, so that the next Next() delivers it again
  // (to the block loop, which then handles it as its next token).
  void Hold() { held_ = true; }
  int Depth() const { return Stream.Depth; }

  // Value readers: each reads one token (the quoted text as many as it takes).
  int32_t ReadInt() { return ToInt(Next()); }
  float ReadReal() { return ToReal(Next()); }
  bool ReadBool() { return Next() != "0"; }
  std::string ReadWord() { return std::string(Next()); }
  std::string ReadQuoted() { return ReadQuotedFrom(Next()); }
  // The quoted-text reading starting with a token already read: tokens up to
  // and including the first that ends with a double quote, joined by single
  // blanks, with one quote removed at each end.
  std::string ReadQuotedFrom(std::string_view first);

  // The whole-number conversion, or "'<token>' is not a valid integer value".
  int32_t ToInt(std::string_view token) {
    int32_t value;
    return QuickWholeNumber(token, value) ? value : ToIntInFull(token);
  }
  // The real-number conversion with this load's decimal separator: the first
  // real value of the load fixes it (a comma if that token has one, a full
  // stop otherwise); a value written with the other one does not convert.
  float ToReal(std::string_view token) {
    if (separator_ != 0) {
      float value;
      // A whole token of the stream's text ends at a delimiter or at the
      // NUL padding after the text, either of which stops the digits.
      const std::string_view text = Stream.Text();
      const bool inText =
          reinterpret_cast<uintptr_t>(token.data()) - reinterpret_cast<uintptr_t>(text.data()) <=
          text.size();
      if (inText && TTokenStream::kDelimiter[static_cast<unsigned char>(token.data()[token.size()])]
              ? QuickRealDelimited(token, separator_, value)
              : QuickReal(token, separator_, value)) {
        return value;
      }
    }
    return ToRealInFull(token);
  }
  char DecimalSeparator() const { return separator_; }

  // The slot of a numbered table for an index read from the file, growing the
  // table to index + 1 entries. A negative index, or growth beyond the load's
  // element budget, fails with "Index N out of range in <name> list".
  template <class V>
  V& Slot(std::vector<V>& table, int32_t index, const char* name) {
    CheckSlot(table, index, name);
    const size_t need = static_cast<size_t>(index) + 1;
    if (need > table.size()) {
      budget_ -= need - table.size();
      // Entries nearly always come in order: one more zero entry, with the
      // capacity doubling as it fills.
      if (need == table.size() + 1) {
        table.emplace_back();
      } else {
        table.resize(need);
      }
    }
    return table[static_cast<size_t>(index)];
  }

  // Fails as Slot does for an index the table cannot grow to, without
  // growing it: for a reader that must look one token ahead before it
  // stores, so that the error still names the entry's own line.
  template <class V>
  void CheckSlot(const std::vector<V>& table, int32_t index, const char* name) const {
    const size_t need = static_cast<size_t>(index) + 1;
    if (index < 0 || (need > table.size() && need - table.size() > budget_)) {
      FailIndex(index, name);
    }
  }

  // Raises a parse error at the line of the current token.
  [[noreturn]] void Fail(const std::string& message) const { Stream.ThrowAtToken(message); }
  [[noreturn]] void FailIndex(int32_t index, const char* name) const;

 private:
  std::string_view token_;
  bool held_ = false;
  char separator_ = 0;  // 0 until the first real value of the load
  size_t budget_;

  int32_t ToIntInFull(std::string_view token);
  float ToRealInFull(std::string_view token);
};

// What a block does with a token that is none of its keywords.
enum class Others { Skip, Reject };

// A block's keywords and their actions. An action reads the keyword's values,
// or a whole sub-block, from the reader.
template <class T>
struct BlockTable {
  using Action = void (*)(TASEReader&, T&);

  constexpr BlockTable(std::initializer_list<std::pair<Kw, Action>> entries,
                       Others others = Others::Skip, const char* rejectPrefix = "",
                       Kw expected = Kw::None)
      : others(others), rejectPrefix(rejectPrefix), expected(expected) {
    for (const auto& [keyword, action] : entries)
      actions[static_cast<size_t>(keyword)] = action;
  }

  std::array<Action, kKeywordCount> actions{};
  Others others;
  const char* rejectPrefix;  // "Invalid token in vertex list! (" and the like
  // The keyword of most of the block's lines, if it has one: tried before
  // the lookup (an element list's entry keyword).
  Kw expected;
};

// Composite values: three reals into a vector, or into a colour's R, G, B.
TASEVector3 ReadVector3(TASEReader& reader);
void ReadRGB(TASEReader& reader, TASEColor& color);

// A child block: created with its defaults, put in its place (replacing and
// releasing what was there, or appended), and only then read, so a child
// whose reading fails is still owned.
template <class C>
void ReadChild(TASEReader& reader, std::unique_ptr<C>& place) {
  place = std::make_unique<C>();
  place->Parse(reader);
}
template <class C>
void ReadAppended(TASEReader& reader, std::vector<std::unique_ptr<C>>& list) {
  list.push_back(std::make_unique<C>());
  list.back()->Parse(reader);
}

[[noreturn]] void FailBadBlockStart(TASEReader& reader, std::string_view token);
[[noreturn]] void FailRejected(TASEReader& reader, const char* prefix, std::string_view token);

// Reads one braced block: the first token must be "{"; then every token until
// the depth is back where it was is matched against the table, at any nesting
// level inside the block; the closing "}" is consumed.
template <class T>
void ReadBlock(TASEReader& reader, T& target, const BlockTable<T>& table) {
  const int entryDepth = reader.Depth();
  std::string_view token = reader.Next();
  if (token != "{") FailBadBlockStart(reader, token);
  token = reader.Next();
  while (reader.Depth() > entryDepth) {
    const Kw keyword = table.expected != Kw::None && IsKeyword(token, table.expected)
                           ? table.expected
                           : LookupKeyword(token);
    if (const auto action = table.actions[static_cast<size_t>(keyword)]) {
      action(reader, target);
    } else if (table.others == Others::Reject) {
      FailRejected(reader, table.rejectPrefix, token);
    } else if (token.empty()) {
      reader.Fail("Brackets do not match!");
    }
    token = reader.Next();
  }
  if (reader.Depth() != entryDepth) reader.Fail("Brackets do not match!");
}

}  // namespace tessaly
