// Painting a page: every control composed into the one back buffer, copied to the window once.
#include <algorithm>

#include "ui/Contrast.h"
#include "ui/LabelRules.h"
#include "ui/win/FormHost_win.h"

namespace ui::win {

void TFormHost::Paint() {
  PAINTSTRUCT Ps{};
  HDC Dc = ::BeginPaint(FWindow.Get(), &Ps);
  // The whole page is composed in the buffer and copied once, so nothing flickers.
  // BeginPaint has validated the window, so an error shown here does not paint again.
  Protected([&] {
    const int Width = Scaled(FForm.ClientWidth, FDpi);
    const int Height = Scaled(FForm.ClientHeight, FDpi);
    ComposePage(FBufferDc.Get(), {FBufferPixels, Width, Height});
    ::BitBlt(Dc, 0, 0, Width, Height, FBufferDc.Get(), 0, 0, SRCCOPY);
  });
  ::EndPaint(FWindow.Get(), &Ps);
}

void TFormHost::ComposePage(HDC Dc, TPixelTarget Target) {
  ::GdiFlush();
  std::fill(Target.Pixels, Target.Pixels + static_cast<std::size_t>(Target.Width) * Target.Height,
            PixelOf(FContrast ? SystemColour(TSystemColour::Window) : FForm.Color));
  const int SavedScale = ::SaveDC(Dc);
  ScaleDc(Dc);
  const TPage& Page = FForm.Pages().ActivePage();
  if (FContrast) {
    for (const TRect& Panel : Page.Panels) OutlineBox(Dc, Panel, SystemColour(TSystemColour::WindowText));
  }
  for (TControl* Control : Page.Controls) {
    if (!Control->Visible) continue;
    if (auto* Image = dynamic_cast<TImage*>(Control)) {
      if (FContrast) {
        DrawPlainPicture(Dc, *Image);
      } else if (const TBitmap32* Bitmap = FPictures.Get(Image->Picture)) {
        ::GdiFlush();  // GDI text drawn so far must land before the pixels are touched
        if (FDpi == DesignDpi) {
          DrawPicture(Target, *Bitmap, Image->Bounds, {Image->Stretch, Image->Center});
        } else {
          DrawScaledPicture(Target, *Image, *Bitmap);
        }
      }
    } else if (auto* Label = dynamic_cast<TLabel*>(Control)) {
      DrawLabel(Dc, *Label);
    } else if (auto* Box = dynamic_cast<TPaintBox*>(Control)) {
      if (Box->OnPaint) {
        const int Saved = ::SaveDC(Dc);
        ::IntersectClipRect(Dc, Box->Bounds.Left, Box->Bounds.Top, Box->Bounds.Right(), Box->Bounds.Bottom());
        // The viewport's origin is in the display's pixels.
        ::SetViewportOrgEx(Dc, Scaled(Box->Bounds.Left, FDpi), Scaled(Box->Bounds.Top, FDpi), nullptr);
        TGdiCanvas Canvas(Dc, FFonts, FContrast);
        Box->OnPaint(*Box, Canvas);
        ::RestoreDC(Dc, Saved);
      }
    }
  }
  DrawFocusCue(Dc);
  ::GdiFlush();
  ::RestoreDC(Dc, SavedScale);
}

void TFormHost::DrawLabel(HDC Dc, TLabel& Label) {
  const TLabelFormat Format = LabelFormat(Label);
  if (Format.Text.empty()) return;
  const std::wstring Text = Widen(Format.Text, Label.CodePage);
  UINT Flags = DT_EXPANDTABS;
  if (!Format.Clipped) Flags |= DT_NOCLIP;
  if (Format.Alignment == TAlignment::Center) Flags |= DT_CENTER;
  if (Format.Alignment == TAlignment::Right) Flags |= DT_RIGHT;
  if (Format.WordWrap) Flags |= DT_WORDBREAK;
  if (Format.PathEllipsis) Flags |= DT_PATH_ELLIPSIS | DT_SINGLELINE;

  TColor Colour = Label.Font.Color;
  if (FContrast) {
    const TContrastLook Look = ContrastLook(Label, FForm.IsActionAvailable(Label));
    Colour = SystemColour(Look.Text);
    if (Look.Button) {
      FillBox(Dc, Label.Bounds, SystemColour(TSystemColour::ButtonFace));
      OutlineBox(Dc, Label.Bounds, Colour);
    }
  }
  const platform::win::TSelect Select(Dc, FFonts.Get(Label.Font));
  ::SetBkMode(Dc, TRANSPARENT);
  RECT Box = ToRect(Label.Bounds);
  if (Format.Measured) {
    RECT Measured = Box;
    ::DrawTextW(Dc, Text.c_str(), static_cast<int>(Text.size()), &Measured, Flags | DT_CALCRECT);
    const int TextHeight = Measured.bottom - Measured.top;
    if (Label.AutoHeight) {
      Label.Bounds.Height = TextHeight;
      Box.bottom = Box.top + TextHeight;
    }
    Box.top = LabelTextTop(Label, TextHeight);
  }
  // Text moved up to centre it in its box is still cut at the box.
  const auto Draw = [&](TColor TextColour, const auto& ClipMore) {
    const int Saved = ::SaveDC(Dc);
    if (Format.Clipped) {
      ::IntersectClipRect(Dc, Label.Bounds.Left, Label.Bounds.Top, Label.Bounds.Right(), Label.Bounds.Bottom());
    }
    ClipMore();
    ::SetTextColor(Dc, TextColour);
    ::DrawTextW(Dc, Text.c_str(), static_cast<int>(Text.size()), &Box, Flags);
    ::RestoreDC(Dc, Saved);
  };
  const auto [Bar, OnBar] = FContrast ? BarUnder(Label) : std::pair<TRect, TSystemColour>{};
  if (Bar.Width <= 0) {
    Draw(Colour, [] {});
    return;
  }
  // In the contrast theme the part on a bar is drawn in the colour that reads on the bar.
  Draw(Colour, [&] { ::ExcludeClipRect(Dc, Bar.Left, Bar.Top, Bar.Right(), Bar.Bottom()); });
  Draw(SystemColour(OnBar), [&] { ::IntersectClipRect(Dc, Bar.Left, Bar.Top, Bar.Right(), Bar.Bottom()); });
}

void TFormHost::DrawPlainPicture(HDC Dc, const TImage& Image) const {
  if (Image.Meaning == TPictureMeaning::Bar) FillBox(Dc, Image.Bounds, SystemColour(TSystemColour::Highlight));
  if (Image.Meaning == TPictureMeaning::DimmedBar) FillBox(Dc, Image.Bounds, SystemColour(TSystemColour::GrayText));
}

std::pair<TRect, TSystemColour> TFormHost::BarUnder(const TLabel& Label) const {
  for (const TControl* Control : FForm.Pages().ActivePage().Controls) {
    const auto* Image = dynamic_cast<const TImage*>(Control);
    if (Image == nullptr || !Image->Visible || Image->Meaning == TPictureMeaning::Art) continue;
    const int Left = std::max(Image->Bounds.Left, Label.Bounds.Left);
    const int Top = std::max(Image->Bounds.Top, Label.Bounds.Top);
    const int Right = std::min(Image->Bounds.Right(), Label.Bounds.Right());
    const int Bottom = std::min(Image->Bounds.Bottom(), Label.Bounds.Bottom());
    if (Left < Right && Top < Bottom) {
      return {{Left, Top, Right - Left, Bottom - Top},
              Image->Meaning == TPictureMeaning::Bar ? TSystemColour::HighlightText : TSystemColour::Window};
    }
  }
  return {};
}

void TFormHost::ReadContrast() {
  HIGHCONTRASTW Setting{};
  Setting.cbSize = sizeof(Setting);
  const bool On = ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(Setting), &Setting, 0) != FALSE &&
                  (Setting.dwFlags & HCF_HIGHCONTRASTON) != 0;
  SetContrast(On);
}

// Also after a change of the theme's colours, which the page then shows; without the
// theme it uses none of them.
void TFormHost::SetContrast(bool On) {
  if (!On && !FContrast) return;
  FContrast = On;
  if (!FWindow) return;
  ::InvalidateRect(FWindow.Get(), nullptr, FALSE);
  for (const TList& Entry : FLists) ::InvalidateRect(Entry.Window.Get(), nullptr, TRUE);
}

}  // namespace ui::win
