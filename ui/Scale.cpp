#include "ui/Scale.h"

#include <cstdint>

namespace ui {

int Scaled(int Value, int Dpi) {
  const std::int64_t Product = static_cast<std::int64_t>(Value) * Dpi;
  const std::int64_t Half = DesignDpi / 2;
  return static_cast<int>(Product >= 0 ? (Product + Half) / DesignDpi : (Product - Half) / DesignDpi);
}

int Unscaled(int Value, int Dpi) {
  if (Dpi <= 0) return Value;
  // The last design pixel whose scaled left edge is at or before Value; left of the
  // form stays left of it.
  int Design = static_cast<int>(static_cast<std::int64_t>(Value) * DesignDpi / Dpi);
  while (Scaled(Design + 1, Dpi) <= Value) ++Design;
  while (Scaled(Design, Dpi) > Value) --Design;
  return Design;
}

TRect Scaled(TRect Rect, int Dpi) {
  const int Left = Scaled(Rect.Left, Dpi);
  const int Top = Scaled(Rect.Top, Dpi);
  return {Left, Top, Scaled(Rect.Right(), Dpi) - Left, Scaled(Rect.Bottom(), Dpi) - Top};
}

}  // namespace ui
