// The decimal separator of the download figures, as the user's locale gives it.
#pragma once

#include <functional>
#include <optional>
#include <string_view>

namespace platform {

// Converts one character to the system code page: nothing when it has no single byte there.
using TToSingleByte = std::function<std::optional<char>(wchar_t)>;

// The first character of the locale's value, in the system code page; "." when
// the value is empty or that character has no single byte there.
[[nodiscard]] char DecimalSeparatorOf(std::wstring_view LocaleValue, const TToSingleByte& ToSingleByte);

}  // namespace platform
