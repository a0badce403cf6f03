// Painting a page: every control composed into the one back buffer, copied to the window once.
#include <algorithm>

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
            PixelOf(FForm.Color));
  const int SavedScale = ::SaveDC(Dc);
  ScaleDc(Dc);
  for (TControl* Control : FForm.Pages().ActivePage().Controls) {
    if (!Control->Visible) continue;
    if (auto* Image = dynamic_cast<TImage*>(Control)) {
      if (const TBitmap32* Bitmap = FPictures.Get(Image->Picture)) {
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
        TGdiCanvas Canvas(Dc, FFonts);
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

  const platform::win::TSelect Select(Dc, FFonts.Get(Label.Font));
  ::SetBkMode(Dc, TRANSPARENT);
  ::SetTextColor(Dc, Label.Font.Color);
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
  const int Saved = ::SaveDC(Dc);
  if (Format.Clipped) {
    ::IntersectClipRect(Dc, Label.Bounds.Left, Label.Bounds.Top, Label.Bounds.Right(), Label.Bounds.Bottom());
  }
  ::DrawTextW(Dc, Text.c_str(), static_cast<int>(Text.size()), &Box, Flags);
  ::RestoreDC(Dc, Saved);
}

}  // namespace ui::win
