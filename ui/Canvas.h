// Drawing and measuring surfaces the host hands to the portable code.
#pragma once

#include <string>
#include <vector>

#include "ui/Controls.h"

namespace ui {

class ICanvas {
public:
  virtual ~ICanvas() = default;
  virtual void FillRect(TRect Rect, TColor Color) = 0;
  // One run of single-byte text (code page 1252) at (X, Y), transparent background,
  // no prefix or tab processing.
  virtual void TextOut(int X, int Y, const std::string& Text, const TFont& Font) = 0;
  // The XOR focus rectangle; drawing it twice on the same place cancels it.
  virtual void DrawFocusRect(TRect Rect) = 0;
};

class ITextMeasurer {
public:
  virtual ~ITextMeasurer() = default;
  // Widths in pixels of every prefix of Text: element i is the width of the first i + 1 bytes.
  [[nodiscard]] virtual std::vector<int> PrefixWidths(const std::string& Text) = 0;
};

}  // namespace ui
