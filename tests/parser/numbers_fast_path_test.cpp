// The quick real-number path against std::from_chars, bit for bit, on the
// notations it takes: short decimals as exporters write them, and decimals
// at or next to the halfway points between two floats, where a value
// rounded through a double first would come out wrong.
#include <charconv>
#include <cmath>
#include <cstring>
#include <random>
#include <string>

#include "ase_model/ase_numbers.h"
#include "parser_test_util.h"

namespace tessaly {
namespace {

float Reference(const std::string& token) {
  std::string_view digits = token;
  const bool negative = digits.starts_with('-');
  if (negative) digits.remove_prefix(1);
  float value = 0;
  std::from_chars(digits.data(), digits.data() + digits.size(), value);
  return negative ? -value : value;
}

TEST(RealFastPath, AgreesWithFromCharsBitForBit) {
  std::mt19937_64 random(20261211);
  char buffer[64];
  for (int i = 0; i < 200000; ++i) {
    std::string token;
    if (i % 2 == 0) {
      // Up to fifteen digits, the separator anywhere, either sign.
      const int digits = 1 + static_cast<int>(random() % 15);
      const int point = static_cast<int>(random() % (digits + 1));
      if (random() % 2) token += '-';
      for (int k = 0; k <= digits; ++k) {
        if (k == point) token += '.';
        if (k < digits) token += static_cast<char>('0' + random() % 10);
      }
    } else {
      // The point halfway between a float and the next, printed exactly
      // or cut short.
      uint32_t bits = static_cast<uint32_t>(random()) & 0x4FFFFFFF;
      float f;
      std::memcpy(&f, &bits, sizeof f);
      const double halfway = (static_cast<double>(f) + std::nextafter(f, INFINITY)) / 2;
      const int places = static_cast<int>(random() % 12);
      const auto end =
          std::to_chars(buffer, buffer + sizeof buffer, halfway, std::chars_format::fixed, places)
              .ptr;
      token.assign(buffer, end);
    }
    const std::optional<float> got = ParseReal(token, '.');
    ASSERT_TRUE(got.has_value()) << token;
    const float want = Reference(token);
    ASSERT_EQ(std::memcmp(&*got, &want, sizeof want), 0)
        << token << ": " << *got << " instead of " << want;
  }
}

}  // namespace
}  // namespace tessaly
