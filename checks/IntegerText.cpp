#include "checks/IntegerText.h"

#include <string>

namespace checks {
namespace {

int HexDigit(char C) {
  if (C >= '0' && C <= '9') return C - '0';
  if (C >= 'a' && C <= 'f') return C - 'a' + 10;
  if (C >= 'A' && C <= 'F') return C - 'A' + 10;
  return -1;
}

std::optional<std::uint32_t> ParseHex(std::string_view Digits) {
  std::uint32_t Value = 0;
  for (const char C : Digits) {
    const int Digit = HexDigit(C);
    if (Digit < 0 || Value > 0x0FFFFFFFu) return std::nullopt;  // a ninth significant digit
    Value = Value << 4 | static_cast<std::uint32_t>(Digit);
  }
  return Value;
}

std::optional<std::uint32_t> ParseDecimal(std::string_view Digits, bool Negative) {
  const std::uint64_t Limit = Negative ? 2147483648u : 2147483647u;
  std::uint64_t Value = 0;
  for (const char C : Digits) {
    if (C < '0' || C > '9') return std::nullopt;
    Value = Value * 10 + static_cast<std::uint64_t>(C - '0');
    if (Value > Limit) return std::nullopt;
  }
  return static_cast<std::uint32_t>(Value);
}

// Wide text as single bytes; nothing when a character lies outside ASCII.
std::optional<std::string> Ascii(std::wstring_view Text) {
  std::string Narrow;
  Narrow.reserve(Text.size());
  for (const wchar_t C : Text) {
    if (static_cast<std::uint32_t>(C) > 0x7F) return std::nullopt;
    Narrow.push_back(static_cast<char>(C));
  }
  return Narrow;
}

// Takes an optional sign off the front of Text; true when it was a minus.
bool TakeSign(std::string_view& Text) {
  const bool Negative = Text.starts_with('-');
  if (Negative || Text.starts_with('+')) Text.remove_prefix(1);
  return Negative;
}

// Two's complement in 32 bits: -$1 is -1 and $FFFFFFFF is -1 as well.
std::optional<std::int32_t> WithSign(std::optional<std::uint32_t> Magnitude, bool Negative) {
  if (!Magnitude) return std::nullopt;
  return static_cast<std::int32_t>(Negative ? 0u - *Magnitude : *Magnitude);
}

}  // namespace

std::optional<std::int32_t> ParseInteger(std::string_view Text) {
  while (!Text.empty() && Text.front() == ' ') Text.remove_prefix(1);
  const bool Negative = TakeSign(Text);
  std::optional<std::uint32_t> Magnitude;
  if (Text.starts_with("0x") || Text.starts_with("0X")) {
    Text.remove_prefix(2);
    if (!Text.empty()) Magnitude = ParseHex(Text);
  } else if (!Text.empty() && (Text.front() == '$' || Text.front() == 'x' || Text.front() == 'X')) {
    Text.remove_prefix(1);
    if (!Text.empty()) Magnitude = ParseHex(Text);
  } else if (!Text.empty()) {
    Magnitude = ParseDecimal(Text, Negative);
  }
  return WithSign(Magnitude, Negative);
}

std::optional<std::int32_t> ParseInteger(std::wstring_view Text) {
  const std::optional<std::string> Narrow = Ascii(Text);
  return Narrow ? ParseInteger(std::string_view(*Narrow)) : std::nullopt;
}

std::optional<std::int32_t> ParseDecimalInteger(std::wstring_view Text) {
  const std::optional<std::string> Narrow = Ascii(Text);
  if (!Narrow) return std::nullopt;
  std::string_view Digits = *Narrow;
  const bool Negative = TakeSign(Digits);
  if (Digits.empty()) return std::nullopt;
  return WithSign(ParseDecimal(Digits, Negative), Negative);
}

}  // namespace checks
