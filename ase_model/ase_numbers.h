// Number conversions of the ASE reader. Neither depends on the C locale.
#pragma once

#include <cstdint>
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

}  // namespace tessaly
