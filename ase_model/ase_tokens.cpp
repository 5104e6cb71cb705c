#include "ase_model/ase_tokens.h"

#include <array>
#include <cstring>

namespace tessaly {

namespace {

constexpr std::string_view kSpellings[] = {"",
#define TESSALY_KW_SPELLING(id, spelling) spelling,
                                           TESSALY_ASE_KEYWORDS(TESSALY_KW_SPELLING)
#undef TESSALY_KW_SPELLING
};
static_assert(std::size(kSpellings) == kKeywordCount);

constexpr size_t kMaxKeywordLength = 32;
constexpr int kTableBits = 10;
constexpr uint64_t kFold = 0x2020202020202020ull;

// Loads up to eight bytes (at least four) as one little-endian-agnostic word.
inline uint64_t Load(const char* p, size_t n) {
  uint64_t word = 0;
  std::memcpy(&word, p, n);
  return word;
}

// A keyword prepared for word-wise comparison: its lower-case spelling and,
// per byte, the 0x20 bit that a token may differ in (set for letters only, so
// that only A-Z match their lower-case forms).
struct Entry {
  char lower[kMaxKeywordLength];
  char caseBit[kMaxKeywordLength];
  uint8_t length;
  Kw id;
};

// The first and last word of a token (8 bytes each, or 4 for tokens shorter
// than 8), overlapping where the token is short.
inline void Ends(const char* p, size_t n, uint64_t& first, uint64_t& last) {
  const size_t w = n >= 8 ? 8 : 4;
  first = Load(p, w);
  last = Load(p + n - w, w);
}

inline uint32_t Hash(const char* p, size_t n) {
  uint64_t first, last;
  Ends(p, n, first, last);
  // Folding 0x20 into every byte makes the hash blind to letter case; the
  // comparison that follows is exact.
  const uint64_t h =
      ((first | kFold) * 0x9E3779B97F4A7C15ull) ^ ((last | kFold) + n) * 0xC2B2AE3D27D4EB4Full;
  return static_cast<uint32_t>(h >> (64 - kTableBits));
}

struct Table {
  std::array<Entry, kKeywordCount> entries{};
  std::array<uint8_t, 1 << kTableBits> slots{};  // entry index, 0 = empty

  Table() {
    for (int i = 1; i < kKeywordCount; ++i) {
      Entry& e = entries[i];
      const std::string_view s = kSpellings[i];
      e.length = static_cast<uint8_t>(s.size());
      e.id = static_cast<Kw>(i);
      for (size_t k = 0; k < s.size(); ++k) {
        const char c = s[k];
        const bool upper = c >= 'A' && c <= 'Z';
        e.lower[k] = upper ? static_cast<char>(c + 32) : c;
        e.caseBit[k] = upper ? 0x20 : 0;
      }
      uint32_t slot = Hash(e.lower, e.length);
      while (slots[slot] != 0)
        slot = (slot + 1) & ((1 << kTableBits) - 1);
      slots[slot] = static_cast<uint8_t>(i);
    }
  }

  static bool Matches(const Entry& e, const char* p, size_t n) {
    if (e.length != n) return false;
    auto same = [&](size_t at, size_t w) {
      return ((Load(p + at, w) ^ Load(e.lower + at, w)) & ~Load(e.caseBit + at, w)) == 0;
    };
    if (n < 8) return same(0, 4) && same(n - 4, 4);
    size_t at = 0;
    for (; at + 8 <= n; at += 8) {
      if (!same(at, 8)) return false;
    }
    return at == n || same(n - 8, 8);
  }
};

const Table& TheTable() {
  static const Table table;
  return table;
}

}  // namespace

std::string_view KeywordSpelling(Kw keyword) {
  const auto i = static_cast<size_t>(keyword);
  return i < std::size(kSpellings) ? kSpellings[i] : std::string_view();
}

Kw keyword_detail::LookupStarred(std::string_view token) {
  if (token.size() > kMaxKeywordLength) return Kw::None;
  static const Table& table = TheTable();
  const char* p = token.data();
  const size_t n = token.size();
  for (uint32_t slot = Hash(p, n);; slot = (slot + 1) & ((1 << kTableBits) - 1)) {
    const uint8_t index = table.slots[slot];
    if (index == 0) return Kw::None;
    if (Table::Matches(table.entries[index], p, n)) return static_cast<Kw>(index);
  }
}

}  // namespace tessaly
