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
  using TAdjustForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  const auto AdjustForDpi = platform::win::EntryPoint<TAdjustForDpi>(::GetModuleHandleW(L"user32.dll"),
                                                                     "AdjustWindowRectExForDpi");
  TFrameMetrics Metrics{nullptr, [=](TRect Client) {
                          RECT Frame = ToRect(Client);
                          ::AdjustWindowRectEx(&Frame, Style, FALSE, ExStyle);
                          return FromRect(Frame);
                        }};
  if (AdjustForDpi != nullptr) {
    Metrics.AroundAtDpi = [=](TRect Client, int Dpi) {
      RECT Frame = ToRect(Client);
      AdjustForDpi(&Frame, Style, FALSE, ExStyle, static_cast<UINT>(Dpi));
      return FromRect(Frame);
    };
  }
  const TRect Frame = FrameAround(FForm.ClientWidth, FForm.ClientHeight, FDpi, Metrics);
  return {Frame.Width, Frame.Height};
}

// The old buffer stays until the new one exists: a failure leaves the form as it was.
void TFormHost::CreateBuffer(int Dpi) {
  HDC Screen = ::GetDC(nullptr);
  platform::win::TMemoryDc Dc(::CreateCompatibleDC(Screen));
  ::ReleaseDC(nullptr, Screen);
  BITMAPINFO Info{};
  Info.bmiHeader.biSize = sizeof(Info.bmiHeader);
  Info.bmiHeader.biWidth = Scaled(FForm.ClientWidth, Dpi);
  Info.bmiHeader.biHeight = -Scaled(FForm.ClientHeight, Dpi);  // top-down rows
  Info.bmiHeader.biPlanes = 1;
  Info.bmiHeader.biBitCount = 32;
  Info.bmiHeader.biCompression = BI_RGB;
  void* Bits = nullptr;
  platform::win::TGdiObject Bitmap(::CreateDIBSection(Dc.Get(), &Info, DIB_RGB_COLORS, &Bits, nullptr, 0));
  if (!Dc || !Bitmap) throw platform::EError("the page buffer cannot be created");
  ::SelectObject(Dc.Get(), Bitmap.Get());
  FBufferDc = std::move(Dc);
  FBufferBitmap = std::move(Bitmap);
  FBufferPixels = static_cast<std::uint32_t*>(Bits);
}

// The page, its focus, its progress and the list's lines stay as they are.
// Suggested is Windows' own place and size for the new scale, used when its client
// area is the form's; otherwise the window is sized around the form.
void TFormHost::ScaleTo(int Dpi, const RECT* Suggested) {
  if (Dpi <= 0) return;
  CreateBuffer(Dpi);
  FDpi = Dpi;
  FScaledPictures.clear();
  for (const TList& Entry : FLists) {
    HWND List = Entry.Window.Get();
    const TRect Bounds = Scaled(Entry.Model->Bounds, FDpi);
    const LRESULT TopLine = ::SendMessageW(List, LB_GETTOPINDEX, 0, 0);
    ::SetWindowPos(List, nullptr, Bounds.Left, Bounds.Top, Bounds.Width, Bounds.Height, SWP_NOZORDER | SWP_NOACTIVATE);
    ::SendMessageW(List, LB_SETITEMHEIGHT, 0, Scaled(Entry.Model->ItemHeight, FDpi));
    ::SendMessageW(List, LB_SETTOPINDEX, static_cast<WPARAM>(TopLine), 0);
  }
  RECT Client{};
  if (Suggested != nullptr) {
    ::SetWindowPos(FWindow.Get(), nullptr, Suggested->left, Suggested->top, Suggested->right - Suggested->left,
                   Suggested->bottom - Suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    ::GetClientRect(FWindow.Get(), &Client);
  }
  if (Suggested == nullptr || !IsClientAt(Client.right, Client.bottom, FForm.ClientWidth, FForm.ClientHeight, FDpi)) {
    const SIZE Frame = FrameSize(static_cast<DWORD>(::GetWindowLongPtrW(FWindow.Get(), GWL_STYLE)),
                                 static_cast<DWORD>(::GetWindowLongPtrW(FWindow.Get(), GWL_EXSTYLE)));
    ::SetWindowPos(FWindow.Get(), nullptr, 0, 0, Frame.cx, Frame.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    FitClientArea();
  }
  ::InvalidateRect(FWindow.Get(), nullptr, FALSE);
}

// The frame drawn may differ from the one measured (Wine draws none at another
// scale): what counts is the client area, so the window takes what it lacks.
void TFormHost::FitClientArea() {
  RECT Client{};
  RECT Place{};
  ::GetClientRect(FWindow.Get(), &Client);
  ::GetWindowRect(FWindow.Get(), &Place);
  const int Width = Scaled(FForm.ClientWidth, FDpi);
  const int Height = Scaled(FForm.ClientHeight, FDpi);
  if (Client.right == Width && Client.bottom == Height) return;
  ::SetWindowPos(FWindow.Get(), nullptr, 0, 0, Place.right - Place.left + Width - Client.right,
                 Place.bottom - Place.top + Height - Client.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
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
