#include "platform/DecimalSeparator.h"

namespace platform {

char DecimalSeparatorOf(std::wstring_view LocaleValue, const TToSingleByte& ToSingleByte) {
  if (LocaleValue.empty()) return '.';
  return ToSingleByte(LocaleValue.front()).value_or('.');
}

}  // namespace platform
