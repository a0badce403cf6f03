// The Win32 window that shows a TForm: one back buffer per paint, hit-testing
// of windowless controls, window timers, the owner-drawn list as a real child,
// and the handler boundary that turns escaped exceptions into a message box.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/win/ComPtr.h"
#include "platform/win/Handles.h"
#include "ui/Accessibility.h"
#include "ui/Bitmap.h"
#include "ui/Form.h"
#include "ui/Pictures.h"
#include "ui/Scale.h"
#include "ui/win/Accessible_win.h"
#include "ui/win/Gdi_win.h"
#include "ui/win/WicDecoder_win.h"

namespace ui::win {

// The window class of every form: how another process finds the wizard.
constexpr wchar_t FormClassName[] = L"TVestoraForm";

class TFormHost final : public IFormHost {
public:
  TFormHost(TForm& Form, HINSTANCE Instance);
  ~TFormHost() override;
  TFormHost(const TFormHost&) = delete;
  TFormHost& operator=(const TFormHost&) = delete;

  // Runs FormCreate, creates the window (owned by Owner, hidden), then FormShow.
  void Create(HWND Owner);
  void Show();
  [[nodiscard]] HWND Handle() const { return FWindow.Get(); }
  [[nodiscard]] HWND ListHandle(const TListBox& List) const;
  // Post WM_QUIT when the window is destroyed: set for the application's main window.
  void SetQuitOnDestroy(bool Quit) { FQuitOnDestroy = Quit; }

  // The user's contrast theme on or off: every page is then drawn in the theme's
  // colours, without its pictures, or as designed. The window asks the system at
  // its start and when the theme changes; nothing but the drawing changes.
  void SetContrast(bool On);

  // Runs Call inside the handler boundary, then brings the window in line with
  // the model, as for the window's own events.
  void RunGuarded(const std::function<void()>& Call);

  // What assistive technology asks of the window: the active page's controls (every
  // action unavailable while the window takes no input), the focus, acting on a
  // control (later, from the window's own messages, as Enter on it) and moving the
  // focus to it, and the object of a list, which is a window of its own.
  [[nodiscard]] std::vector<TAccessibleItem> Items();
  [[nodiscard]] const TControl* Focused() const { return FFocused; }
  // False while a modal box of the form's is open, as for a click.
  [[nodiscard]] bool TakesInput() const { return ::IsWindowEnabled(FWindow.Get()) != FALSE; }
  void Activate(TControl& Control);
  void TakeFocus(TControl& Control);
  [[nodiscard]] TAccessibleList* ListObject(const TControl& Control);
  // Pixels per inch of the window: its positions and sizes are the design's scaled by Dpi / 96.
  [[nodiscard]] int Dpi() const { return FDpi; }

  void RequestClose() override;
  void RepaintNow() override;
  [[nodiscard]] std::unique_ptr<ITextMeasurer> CreateMeasurer(const TFont& Font) override;
  [[nodiscard]] std::uintptr_t WindowHandle() const override;
  [[nodiscard]] int MessageBox(const std::string& Text, const std::string& Caption, unsigned Flags) override;

private:
  static LRESULT CALLBACK WindowProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam);
  static LRESULT CALLBACK ListProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam);
  // Window is the form's window, also while it is being created.
  LRESULT HandleMessage(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam);

  // Runs a handler inside the boundary: an escaped exception becomes a message box.
  template <typename F>
  void Protected(F&& Handler);
  // The same, then brings the window in line with the model.
  template <typename F>
  void Guarded(F&& Handler);
  void AfterHandler();

  // Scale: the system's and the window's pixels per inch, the page buffer at the
  // window's scale, and a move to another scale (Suggested: the window's new place).
  [[nodiscard]] static int SystemDpi();
  [[nodiscard]] int WindowDpi() const;
  // The window's outer size around the form's client area at the window's scale.
  [[nodiscard]] SIZE FrameSize(DWORD Style, DWORD ExStyle) const;
  // The page buffer at Dpi.
  void CreateBuffer(int Dpi);
  void ScaleTo(int Dpi, const RECT* Suggested);
  void FitClientArea();
  // Draws the design's coordinates on Dc at the window's scale; nothing at 96 DPI.
  void ScaleDc(HDC Dc) const;
  void DrawScaledPicture(TPixelTarget Target, const TImage& Image, const TBitmap32& Picture);

  void Paint();
  void ComposePage(HDC Dc, TPixelTarget Target);
  void DrawLabel(HDC Dc, TLabel& Label);
  // Contrast theme: the setting as the system has it; a picture as what it stands
  // for; the part of a label that lies on a bar, and the colour of text there.
  void ReadContrast();
  void DrawPlainPicture(HDC Dc, const TImage& Image) const;
  [[nodiscard]] std::pair<TRect, TSystemColour> BarUnder(const TLabel& Label) const;
  // A fill of the model's as it is drawn now.
  [[nodiscard]] TColor FillColour(TColor Colour) const {
    return FContrast ? SystemColour(ContrastFill(Colour)) : Colour;
  }
  void OnMouseButton(UINT Msg, int X, int Y);
  // Keys: Tab moves the focus among the page's actions, Enter and Space act on
  // it as a click would, Escape closes as the close box does; a list takes its
  // own navigation keys. Returns false for a key left to the system.
  [[nodiscard]] bool OnKeyDown(WPARAM Key, LPARAM Flags);
  void MoveFocus(TControl* Control);
  // As a left click on the control: press, release and click.
  void Press(TControl& Control);
  void ScrollList(WPARAM Key, LPARAM Flags);
  // The focus starts afresh on each page the form shows.
  void FollowPage();
  void DrawFocusCue(HDC Dc);
  // Tells assistive technology what changed since it was last told.
  void Present();

  void OnMouseMove(int X, int Y, bool LeftHeld);
  void OnDrawItem(const DRAWITEMSTRUCT& Item);
  [[nodiscard]] bool CloseQuery();
  void CreateLists();
  void SyncLists();
  // The list windows are gone or going: their objects answer no more.
  void ForgetLists();
  void SyncTimers();
  // Gives Windows the form's reason for holding up a log-off, or withdraws it.
  void SyncShutdownReason();
  // Tells Windows whether the system must stay awake for the form (not the display).
  void SyncAwake(bool Awake);

  TForm& FForm;
  HINSTANCE FInstance;
  platform::win::TWindow FWindow;
  TFontCache FFonts;
  TWicDecoder FDecoder;
  TPictureCache FPictures;

  int FDpi = DesignDpi;
  bool FContrast = false;
  // Each picture resampled once for each size it is drawn at, at the window's scale.
  std::map<std::tuple<std::string, int, int>, TBitmap32> FScaledPictures;
  platform::win::TMemoryDc FBufferDc;
  platform::win::TGdiObject FBufferBitmap;
  std::uint32_t* FBufferPixels = nullptr;

  struct TList {
    TListBox* Model;
    platform::win::TWindow Window;
    std::size_t ItemsShown;
    int IndexShown;
    platform::win::TComPtr<TAccessibleList> Accessible;  // made when first asked
  };
  std::vector<TList> FLists;

  struct TArmedTimer {
    bool Enabled;
    unsigned Interval;
    unsigned Starts;
  };
  std::vector<TArmedTimer> FArmed;

  TControl* FCaptured = nullptr;
  int FPressPage = -1;  // the page a press was made on; a release elsewhere is no click
  TControl* FFocused = nullptr;
  int FFocusPage = -1;
  unsigned FFocusView = 0;
  bool FFocusCues = false;  // hidden until a key is used, as in Windows' dialogs
  const TControl* FAnnouncedFocus = nullptr;
  std::vector<TAccessibleItem> FPresented;
  TLiveRegions FLive;
  platform::win::TComPtr<TAccessibleClient> FAccessible;
  TControl* FHovered = nullptr;
  bool FTrackingLeave = false;
  bool FQuitOnDestroy = false;
  std::string FShutdownReason;
  bool FAwake = false;
};

// The handler boundary, for the host's files: an escaped exception is shown the
// way a desktop toolkit shows an unhandled error, and the program goes on.
template <typename F>
inline void TFormHost::Protected(F&& Handler) {
  try {
    Handler();
  } catch (const std::exception& Error) {
    wchar_t Title[256] = {};
    ::GetWindowTextW(::GetWindow(FWindow.Get(), GW_OWNER), Title, 256);
    const std::wstring Text = Widen(Error.what(), CP_ACP);
    ::MessageBoxW(FWindow.Get(), Text.c_str(), Title, MB_OK | MB_ICONERROR);
  } catch (...) {
    ::MessageBoxW(FWindow.Get(), L"Unexpected error.", nullptr, MB_OK | MB_ICONERROR);
  }
}

template <typename F>
inline void TFormHost::Guarded(F&& Handler) {
  Protected(std::forward<F>(Handler));
  Protected([this] { AfterHandler(); });
}

}  // namespace ui::win
