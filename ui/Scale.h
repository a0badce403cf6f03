// The form's ordinary scaling: the pages are designed at 96 pixels per inch, and
// every position and size is multiplied by the display's pixels per inch over 96.
#pragma once

#include "ui/Controls.h"

namespace ui {

constexpr int DesignDpi = 96;

// Value * Dpi / 96, rounded to the nearest pixel, halves away from zero (as MulDiv does).
[[nodiscard]] int Scaled(int Value, int Dpi);
// A point on the display back in the design's pixels: the one whose scaled area holds it.
[[nodiscard]] int Unscaled(int Value, int Dpi);
// Both corners scaled, so that neighbouring rectangles stay neighbours.
[[nodiscard]] TRect Scaled(TRect Rect, int Dpi);

}  // namespace ui
