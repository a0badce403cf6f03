// GDI services of the host: fonts, text conversion, the canvas and the measurer.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <tuple>

#include "platform/win/Handles.h"
#include "ui/Canvas.h"
#include "ui/Contrast.h"

namespace ui::win {

// Single-byte text to UTF-16; the one place where the code page matters.
[[nodiscard]] std::wstring Widen(const std::string& Text, unsigned CodePage);

// Creates each font once and keeps it for the host's lifetime.
class TFontCache {
public:
  [[nodiscard]] HFONT Get(const TFont& Font);

private:
  std::map<std::tuple<std::string, int, bool>, platform::win::TGdiObject> FFonts;
};

// The colour the user's theme gives a role.
[[nodiscard]] TColor SystemColour(TSystemColour Colour);
void FillBox(HDC Dc, TRect Box, TColor Colour);
// A one-pixel line around the inside of Box.
void OutlineBox(HDC Dc, TRect Box, TColor Colour);

// Draws in the model's colours, or in the contrast theme's (Contrast).
class TGdiCanvas final : public ICanvas {
public:
  TGdiCanvas(HDC Dc, TFontCache& Fonts, bool Contrast) : FDc(Dc), FFonts(Fonts), FContrast(Contrast) {}
  void FillRect(TRect Rect, TColor Color) override;
  void TextOut(int X, int Y, const std::string& Text, const TFont& Font) override;
  void DrawFocusRect(TRect Rect) override;

private:
  HDC FDc;
  TFontCache& FFonts;
  bool FContrast;
};

class TGdiMeasurer final : public ITextMeasurer {
public:
  explicit TGdiMeasurer(HFONT Font);
  [[nodiscard]] std::vector<int> PrefixWidths(const std::string& Text) override;

private:
  platform::win::TMemoryDc FDc;
};

[[nodiscard]] inline RECT ToRect(TRect Rect) { return {Rect.Left, Rect.Top, Rect.Right(), Rect.Bottom()}; }
[[nodiscard]] inline TRect FromRect(RECT Rect) {
  return {Rect.left, Rect.top, Rect.right - Rect.left, Rect.bottom - Rect.top};
}

}  // namespace ui::win
