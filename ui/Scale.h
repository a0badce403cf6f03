// The form's ordinary scaling: the pages are designed at 96 pixels per inch, and
// every position and size is multiplied by the display's pixels per inch over 96.
#pragma once

#include <functional>

#include "ui/Controls.h"

namespace ui {

constexpr int DesignDpi = 96;

// Value * Dpi / 96, rounded to the nearest pixel, halves away from zero (as MulDiv does).
[[nodiscard]] int Scaled(int Value, int Dpi);
// A point on the display back in the design's pixels: the one whose scaled area holds it.
[[nodiscard]] int Unscaled(int Value, int Dpi);
// Both corners scaled, so that neighbouring rectangles stay neighbours.
[[nodiscard]] TRect Scaled(TRect Rect, int Dpi);

// How the system measures a window's frame around a client rectangle: at a given
// scale where it can (Windows 10 1607 on, whose per-monitor windows have frames of
// their monitor's scale), or at its own scale, the only one before that.
struct TFrameMetrics {
  std::function<TRect(TRect Client, int Dpi)> AroundAtDpi;  // empty where the system lacks it
  std::function<TRect(TRect Client)> Around;
};
// The window around the design's client area of Width x Height at Dpi, from (0, 0).
[[nodiscard]] TRect FrameAround(int Width, int Height, int Dpi, const TFrameMetrics& Metrics);
// True when a client area is the design's Width x Height at Dpi, within a pixel each way.
[[nodiscard]] bool IsClientAt(int ClientWidth, int ClientHeight, int Width, int Height, int Dpi);

}  // namespace ui
