// The form at the display's scale: the window, its buffer and its list at the
// design's sizes times Dpi / 96, text drawn by GDI at its real size, pictures
// resampled once per size. At 96 DPI every path here is the identity.
#include "platform/Error.h"
#include "platform/win/SystemLibrary_win.h"
#include "ui/win/FormHost_win.h"

namespace ui::win {

int TFormHost::SystemDpi() {
  HDC Screen = ::GetDC(nullptr);
  const int Dpi = Screen != nullptr ? ::GetDeviceCaps(Screen, LOGPIXELSX) : DesignDpi;
  ::ReleaseDC(nullptr, Screen);
  return Dpi > 0 ? Dpi : DesignDpi;
}

// Windows 10's per-monitor scale; the system's before it.
int TFormHost::WindowDpi() const {
  using TGetDpiForWindow = UINT(WINAPI*)(HWND);
  const auto GetDpiForWindow =
      platform::win::EntryPoint<TGetDpiForWindow>(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow");
  const UINT Dpi = GetDpiForWindow != nullptr ? GetDpiForWindow(FWindow.Get()) : 0;
  return Dpi > 0 ? static_cast<int>(Dpi) : FDpi;
}

SIZE TFormHost::FrameSize(DWORD Style, DWORD ExStyle) const {
  RECT Frame{0, 0, Scaled(FForm.ClientWidth, FDpi), Scaled(FForm.ClientHeight, FDpi)};
  ::AdjustWindowRectEx(&Frame, Style, FALSE, ExStyle);
  return {Frame.right - Frame.left, Frame.bottom - Frame.top};
}

void TFormHost::CreateBuffer() {
  HDC Screen = ::GetDC(nullptr);
  FBufferDc.Reset(::CreateCompatibleDC(Screen));
  ::ReleaseDC(nullptr, Screen);
  BITMAPINFO Info{};
  Info.bmiHeader.biSize = sizeof(Info.bmiHeader);
  Info.bmiHeader.biWidth = Scaled(FForm.ClientWidth, FDpi);
  Info.bmiHeader.biHeight = -Scaled(FForm.ClientHeight, FDpi);  // top-down rows
  Info.bmiHeader.biPlanes = 1;
  Info.bmiHeader.biBitCount = 32;
  Info.bmiHeader.biCompression = BI_RGB;
  void* Bits = nullptr;
  FBufferBitmap.Reset(::CreateDIBSection(FBufferDc.Get(), &Info, DIB_RGB_COLORS, &Bits, nullptr, 0));
  if (!FBufferBitmap) throw platform::EError("the page buffer cannot be created");
  FBufferPixels = static_cast<std::uint32_t*>(Bits);
  ::SelectObject(FBufferDc.Get(), FBufferBitmap.Get());
}

// The page, its focus, its progress and the list's lines stay as they are.
void TFormHost::ScaleTo(int Dpi, const RECT* Suggested) {
  if (Dpi <= 0) return;
  FDpi = Dpi;
  FScaledPictures.clear();
  CreateBuffer();
  for (const TList& Entry : FLists) {
    HWND List = Entry.Window.Get();
    const TRect Bounds = Scaled(Entry.Model->Bounds, FDpi);
    const LRESULT TopLine = ::SendMessageW(List, LB_GETTOPINDEX, 0, 0);
    ::SetWindowPos(List, nullptr, Bounds.Left, Bounds.Top, Bounds.Width, Bounds.Height, SWP_NOZORDER | SWP_NOACTIVATE);
    ::SendMessageW(List, LB_SETITEMHEIGHT, 0, Scaled(Entry.Model->ItemHeight, FDpi));
    ::SendMessageW(List, LB_SETTOPINDEX, static_cast<WPARAM>(TopLine), 0);
  }
  const SIZE Frame = FrameSize(static_cast<DWORD>(::GetWindowLongPtrW(FWindow.Get(), GWL_STYLE)),
                               static_cast<DWORD>(::GetWindowLongPtrW(FWindow.Get(), GWL_EXSTYLE)));
  RECT Place{};
  ::GetWindowRect(FWindow.Get(), &Place);
  if (Suggested != nullptr) Place = *Suggested;
  ::SetWindowPos(FWindow.Get(), nullptr, Place.left, Place.top, Frame.cx, Frame.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  ::InvalidateRect(FWindow.Get(), nullptr, FALSE);
}

void TFormHost::ScaleDc(HDC Dc) const {
  if (FDpi == DesignDpi) return;
  const float Scale = static_cast<float>(FDpi) / DesignDpi;
  const XFORM Transform{Scale, 0, 0, Scale, 0, 0};
  ::SetGraphicsMode(Dc, GM_ADVANCED);
  ::SetWorldTransform(Dc, &Transform);
}

void TFormHost::DrawScaledPicture(TPixelTarget Target, const TImage& Image, const TBitmap32& Picture) {
  const TRect Area =
      Scaled(PictureArea(Picture.Width, Picture.Height, Image.Bounds, {Image.Stretch, Image.Center}), FDpi);
  auto [Slot, New] = FScaledPictures.try_emplace({Image.Picture, Area.Width, Area.Height});
  if (New) Slot->second = Resampled(Picture, Area.Width, Area.Height);
  DrawPictureClipped(Target, Slot->second, Area, Scaled(Image.Bounds, FDpi));
}

}  // namespace ui::win
