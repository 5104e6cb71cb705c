#include "ase_model/ase_numbers.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace tessaly {

namespace {

inline bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

std::optional<int32_t> ParseHex(std::string_view digits, bool negative) {
  if (digits.empty()) return std::nullopt;
  uint64_t value = 0;
  for (char c : digits) {
    int d;
    if (IsDigit(c)) {
      d = c - '0';
    } else if (c >= 'a' && c <= 'f') {
      d = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
      d = c - 'A' + 10;
    } else {
      return std::nullopt;
    }
    value = value * 16 + static_cast<uint64_t>(d);
    if (value > 0xFFFFFFFFull) return std::nullopt;
  }
  const uint32_t bits = static_cast<uint32_t>(negative ? (0 - value) : value);
  return static_cast<int32_t>(bits);
}

}  // namespace

std::optional<int32_t> ParseWholeNumber(std::string_view token) {
  if (int32_t value; QuickWholeNumber(token, value)) return value;
  return ParseWholeNumberInFull(token);
}

std::optional<float> ParseReal(std::string_view token, char decimalSeparator) {
  if (float value; QuickReal(token, decimalSeparator, value)) return value;
  return ParseRealInFull(token, decimalSeparator);
}

std::optional<int32_t> ParseWholeNumberInFull(std::string_view token) {
  const char* p = token.data();
  const char* end = p + token.size();
  bool negative = false;
  if (p != end && (*p == '+' || *p == '-')) negative = *p++ == '-';
  const std::string_view rest(p, static_cast<size_t>(end - p));
  if (rest.starts_with('$')) return ParseHex(rest.substr(1), negative);
  if (rest.starts_with("0x") || rest.starts_with("0X")) return ParseHex(rest.substr(2), negative);
  if (p == end) return std::nullopt;
  // Accumulate as a negative number so that INT32_MIN fits.
  int64_t value = 0;
  for (; p != end; ++p) {
    if (!IsDigit(*p)) return std::nullopt;
    value = value * 10 - (*p - '0');
    if (value < std::numeric_limits<int32_t>::min()) return std::nullopt;
  }
  if (!negative) {
    if (value < -static_cast<int64_t>(std::numeric_limits<int32_t>::max())) return std::nullopt;
    value = -value;
  }
  return static_cast<int32_t>(value);
}

std::optional<float> ParseRealInFull(std::string_view token, char decimalSeparator) {
  const size_t n = token.size();
  if (n == 0) return std::nullopt;
  // Validate the notation first, noting where the separator stands.
  size_t i = 0;
  const bool negative = token[0] == '-';
  if (token[0] == '+' || token[0] == '-') ++i;
  const size_t mantissaStart = i;
  size_t digits = 0;
  size_t separatorAt = std::string_view::npos;
  size_t firstNonZero = std::string_view::npos;
  for (; i < n; ++i) {
    const char c = token[i];
    if (IsDigit(c)) {
      if (c != '0' && firstNonZero == std::string_view::npos) firstNonZero = i;
      ++digits;
    } else if (c == decimalSeparator && separatorAt == std::string_view::npos) {
      separatorAt = i;
    } else {
      break;
    }
  }
  if (digits == 0) return std::nullopt;
  const size_t mantissaEnd = i;
  if (i < n) {
    if (token[i] != 'e' && token[i] != 'E') return std::nullopt;
    ++i;
    if (i < n && (token[i] == '+' || token[i] == '-')) ++i;
    const size_t expDigits = i;
    while (i < n && IsDigit(token[i]))
      ++i;
    if (i == expDigits || i != n) return std::nullopt;
  }

  // std::from_chars takes neither a leading '+' nor a comma: hand it a copy
  // in its own notation when needed.
  std::string_view text = token.substr(mantissaStart);
  std::string copy;
  if (decimalSeparator != '.' && separatorAt != std::string_view::npos) {
    copy.assign(text);
    copy[separatorAt - mantissaStart] = '.';
    text = copy;
  }
  float value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    // Either too large or too small for a float: tell which from the decimal
    // exponent of the leading digit.
    if (firstNonZero == std::string_view::npos || firstNonZero >= mantissaEnd) {
      value = 0;  // all digits zero (cannot really be out of range)
    } else {
      long exponent = 0;
      if (mantissaEnd < n) {
        // Parse the exponent saturating; its digits were validated above.
        size_t e = mantissaEnd + 1;
        bool expNegative = false;
        if (token[e] == '+' || token[e] == '-') expNegative = token[e++] == '-';
        for (; e < n; ++e) {
          if (exponent < 100000000) exponent = exponent * 10 + (token[e] - '0');
        }
        if (expNegative) exponent = -exponent;
      }
      // Position of the leading digit relative to the separator.
      const size_t point = separatorAt == std::string_view::npos ? mantissaEnd : separatorAt;
      const long lead = firstNonZero < point ? static_cast<long>(point - firstNonZero)
                                             : -static_cast<long>(firstNonZero - point - 1);
      value = lead + exponent > 0 ? std::numeric_limits<float>::infinity() : 0.0f;
    }
    return negative ? -value : value;
  }
  if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return std::nullopt;
  return negative ? -value : value;
}

}  // namespace tessaly
