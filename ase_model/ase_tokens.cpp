#include "ase_model/ase_tokens.h"

#include <array>

namespace tessaly {

namespace {

using keyword_detail::kMaxLength;
using keyword_detail::kPatterns;
using keyword_detail::kSpellings;
using keyword_detail::Words;

constexpr int kTableBits = 11;
constexpr uint64_t kFold = 0x2020202020202020ull;

// Folding 0x20 into every byte makes the hash blind to letter case; the
// comparison that follows is exact. The multiplier is chosen when the table
// is built so that no two keywords share a slot.
constexpr uint32_t Hash(const Words& words, size_t n, uint64_t multiplier) {
  const uint64_t h =
      ((words.w[0] | kFold) * multiplier) ^ ((words.w[2] | kFold) + n) * 0xC2B2AE3D27D4EB4Full;
  return static_cast<uint32_t>(h >> (64 - kTableBits));
}

// Slot -> keyword, one keyword per slot, so a lookup is one hash, one load
// and one comparison.
struct Table {
  std::array<uint8_t, 1 << kTableBits> slots{};  // Kw, 0 = none
  uint64_t multiplier = 0x9E3779B97F4A7C15ull;
};

constexpr Table BuildTable() {
  Table table;
  // Try multipliers until every keyword has a slot of its own (about one in
  // ten does with this many slots).
  for (;;) {
    table.slots.fill(0);
    bool clash = false;
    for (size_t i = 1; i < kPatterns.size() && !clash; ++i) {
      uint8_t& slot = table.slots[Hash(kPatterns[i].lower, kPatterns[i].length, table.multiplier)];
      clash = slot != 0;
      slot = static_cast<uint8_t>(i);
    }
    if (!clash) return table;
    table.multiplier += 0x9E3779B97F4A7C16ull;  // stays odd
  }
}

constinit const Table kTable = BuildTable();

}  // namespace

std::string_view KeywordSpelling(Kw keyword) {
  const auto i = static_cast<size_t>(keyword);
  return i < std::size(kSpellings) ? kSpellings[i] : std::string_view();
}

Kw keyword_detail::LookupStarred(std::string_view token) {
  const size_t n = token.size();
  if (n > kMaxLength) return Kw::None;
  const Words words = Split(token.data(), n);
  const uint8_t index = kTable.slots[Hash(words, n, kTable.multiplier)];
  const Pattern& p = kPatterns[index];
  return p.length == n && Same(words, p) ? static_cast<Kw>(index) : Kw::None;
}

}  // namespace tessaly
