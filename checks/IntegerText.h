#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace checks {

// Integer text as the program reads it: leading spaces (0x20 only), an optional
// sign, then decimal digits, or hexadecimal digits after "$", "x", "X", "0x" or
// "0X", running to the end. Decimal values stay in the 32-bit signed range;
// hexadecimal ones have up to eight significant digits and fill all 32 bits
// ($FFFFFFFF is -1). Anything else is not an integer.
[[nodiscard]] std::optional<std::int32_t> ParseInteger(std::string_view Text);

// The same for text that came from a wide string: any character outside ASCII is invalid.
[[nodiscard]] std::optional<std::int32_t> ParseInteger(std::wstring_view Text);

// A plain decimal number: an optional sign, then decimal digits only, running to
// the end, in the 32-bit signed range. No spaces, no hexadecimal prefixes.
[[nodiscard]] std::optional<std::int32_t> ParseDecimalInteger(std::wstring_view Text);

}  // namespace checks
