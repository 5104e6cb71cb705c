// Number conversions of the ASE reader. Neither depends on the C locale.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>

namespace tessaly {

// A whole number: an optional sign, then decimal digits within the 32-bit
// signed range, or a hexadecimal form "$1F" / "0x1F" / "0X1F" of at most 32
// bits (read as a two's-complement bit pattern, so "$FFFFFFFF" is -1).
std::optional<int32_t> ParseWholeNumber(std::string_view token);

// A real number: an optional sign, digits with at most one decimal separator
// (the given one; at least one digit), and an optional exponent ("e" or "E",
// an optional sign, digits). No "inf"/"nan" words and no blanks. The value is
// correctly rounded to a 32-bit float; too large a magnitude gives infinity,
// too small a signed zero.
std::optional<float> ParseReal(std::string_view token, char decimalSeparator);

// The same two conversions without their fast paths (below): for a caller
// whose fast path has already turned the token down.
std::optional<int32_t> ParseWholeNumberInFull(std::string_view token);
std::optional<float> ParseRealInFull(std::string_view token, char decimalSeparator);

// Fast paths of the two conversions for the notations nearly every file
// uses. Each gives true and the value that the full conversion gives, or
// false when the token is for the full conversion to decide.

// Up to nine decimal digits, no sign.
inline bool QuickWholeNumber(std::string_view token, int32_t& value) {
  if (token.empty() || token.size() > 9) return false;
  uint32_t v = 0;
  for (const char c : token) {
    const unsigned d = static_cast<unsigned char>(c) - '0';
    if (d >= 10) return false;
    v = v * 10 + d;
  }
  value = static_cast<int32_t>(v);
  return true;
}

inline constexpr float kQuickRealScaleF[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f,
                                             1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
inline constexpr double kQuickRealScale[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                             1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

namespace number_detail {

// The body of QuickReal. With kDelimited the byte after the token is known
// to be neither a digit nor a separator, so the digit loops stop there by
// themselves and need no bounds check.
template <bool kDelimited>
inline bool QuickReal(std::string_view token, char decimalSeparator, float& value) {
  const char* p = token.data();
  const char* const end = p + token.size();
  const bool negative = p != end && *p == '-';
  if (p != end && (*p == '-' || *p == '+')) ++p;
  const char* const first = p;
  uint64_t mantissa = 0;
  uint64_t digit;
  while ((kDelimited || p != end) &&
         (digit = static_cast<unsigned char>(*p) - uint64_t{'0'}) < 10) {
    mantissa = mantissa * 10 + digit;
    ++p;
  }
  size_t digits = static_cast<size_t>(p - first);
  size_t scale = 0;  // digits after the separator
  if ((kDelimited || p != end) && *p == decimalSeparator) {
    const char* const fraction = ++p;
    while ((kDelimited || p != end) &&
           (digit = static_cast<unsigned char>(*p) - uint64_t{'0'}) < 10) {
      mantissa = mantissa * 10 + digit;
      ++p;
    }
    scale = static_cast<size_t>(p - fraction);
    digits += scale;
  }
  if (p != end || digits == 0 || digits > 15) return false;
  float f;
  if (mantissa < (uint64_t{1} << 24) && scale <= 10) {
    f = static_cast<float>(mantissa) / kQuickRealScaleF[scale];
  } else {
    const double quotient = static_cast<double>(mantissa) / kQuickRealScale[scale];
    uint64_t bits;
    std::memcpy(&bits, &quotient, sizeof bits);
    // A double has 29 more fraction bits than a float: 100...0 there is
    // exactly halfway between two floats.
    if ((bits & ((uint64_t{1} << 29) - 1)) == (uint64_t{1} << 28)) return false;
    f = static_cast<float>(quotient);
  }
  value = negative ? -f : f;
  return true;
}

}  // namespace number_detail

// An optional sign, then at most fifteen digits with at most one separator,
// no exponent ("-54.9536", "0.0000", "1024"). The value is the integer the
// digits make divided by a power of ten. Below 2^24 both are exact floats
// and one float division rounds correctly; beyond, the quotient is rounded
// to a double (exact operands again), and then to a float unless it lies
// exactly halfway between two floats: there the decimal value may lie on
// either side, and the full conversion decides.
inline bool QuickReal(std::string_view token, char decimalSeparator, float& value) {
  return number_detail::QuickReal<false>(token, decimalSeparator, value);
}

// The same for a token followed by a byte that is neither a digit nor the
// separator, as every token of the token stream is (by a delimiter, or by
// the NUL padding after the text).
inline bool QuickRealDelimited(std::string_view token, char decimalSeparator, float& value) {
  return number_detail::QuickReal<true>(token, decimalSeparator, value);
}

}  // namespace tessaly
