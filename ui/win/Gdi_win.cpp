#include "ui/win/Gdi_win.h"

namespace ui::win {

std::wstring Widen(const std::string& Text, unsigned CodePage) {
  if (Text.empty()) return {};
  const int Length = ::MultiByteToWideChar(CodePage, 0, Text.data(), static_cast<int>(Text.size()), nullptr, 0);
  std::wstring Wide(static_cast<std::size_t>(Length), L'\0');
  ::MultiByteToWideChar(CodePage, 0, Text.data(), static_cast<int>(Text.size()), Wide.data(), Length);
  return Wide;
}

HFONT TFontCache::Get(const TFont& Font) {
  auto& Slot = FFonts[{Font.Name, Font.Height, Font.Bold}];
  if (!Slot) {
    const std::wstring Face = Widen(Font.Name, CP_ACP);
    Slot.Reset(::CreateFontW(-Font.Height, 0, 0, 0, Font.Bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, Face.c_str()));
  }
  return static_cast<HFONT>(Slot.Get());
}

TColor SystemColour(TSystemColour Colour) {
  static constexpr int Indexes[] = {COLOR_WINDOW,    COLOR_WINDOWTEXT, COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT,
                                    COLOR_GRAYTEXT,  COLOR_BTNFACE,    COLOR_BTNTEXT};
  return ::GetSysColor(Indexes[static_cast<int>(Colour)]);
}

void FillBox(HDC Dc, TRect Box, TColor Colour) {
  const RECT R = ToRect(Box);
  ::SetDCBrushColor(Dc, Colour);
  ::FillRect(Dc, &R, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
}

void OutlineBox(HDC Dc, TRect Box, TColor Colour) {
  const RECT R = ToRect(Box);
  ::SetDCBrushColor(Dc, Colour);
  ::FrameRect(Dc, &R, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
}

void TGdiCanvas::FillRect(TRect Rect, TColor Color) {
  FillBox(FDc, Rect, FContrast ? SystemColour(ContrastFill(Color)) : Color);
}

void TGdiCanvas::TextOut(int X, int Y, const std::string& Text, const TFont& Font) {
  const std::wstring Wide = Widen(Text, 1252);
  const platform::win::TSelect Select(FDc, FFonts.Get(Font));
  ::SetBkMode(FDc, TRANSPARENT);
  ::SetTextColor(FDc, FContrast ? SystemColour(ContrastText(Font.Color)) : Font.Color);
  ::TextOutW(FDc, X, Y, Wide.c_str(), static_cast<int>(Wide.size()));
}

void TGdiCanvas::DrawFocusRect(TRect Rect) {
  const RECT R = ToRect(Rect);
  ::DrawFocusRect(FDc, &R);
}

// The font stays selected for the measurer's life; the font cache outlives it.
TGdiMeasurer::TGdiMeasurer(HFONT Font) : FDc(::CreateCompatibleDC(nullptr)) { ::SelectObject(FDc.Get(), Font); }

std::vector<int> TGdiMeasurer::PrefixWidths(const std::string& Text) {
  const std::wstring Wide = Widen(Text, 1252);
  // Windows-1252 maps every byte to one UTF-16 unit, so the extents line up with the bytes.
  std::vector<int> Widths(Wide.size());
  SIZE Total{};
  if (!Wide.empty() &&
      !::GetTextExtentExPointW(FDc.Get(), Wide.c_str(), static_cast<int>(Wide.size()), 0, nullptr, Widths.data(),
                               &Total)) {
    Widths.assign(Wide.size(), 0);
  }
  Widths.resize(Text.size(), Widths.empty() ? 0 : Widths.back());
  return Widths;
}

}  // namespace ui::win
