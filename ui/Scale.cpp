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

TRect FrameAround(int Width, int Height, int Dpi, const TFrameMetrics& Metrics) {
  const TRect Client{0, 0, Scaled(Width, Dpi), Scaled(Height, Dpi)};
  return Metrics.AroundAtDpi ? Metrics.AroundAtDpi(Client, Dpi) : Metrics.Around(Client);
}

bool IsClientAt(int ClientWidth, int ClientHeight, int Width, int Height, int Dpi) {
  const auto Near = [](int Value, int Wanted) { return Value >= Wanted - 1 && Value <= Wanted + 1; };
  return Near(ClientWidth, Scaled(Width, Dpi)) && Near(ClientHeight, Scaled(Height, Dpi));
}

}  // namespace ui
