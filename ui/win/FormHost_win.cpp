#include "ui/win/FormHost_win.h"

#include <windowsx.h>

#include <algorithm>
#include <exception>
#include <utility>

#include "platform/Error.h"
#include "platform/win/Resources_win.h"

namespace ui::win {
namespace {

constexpr wchar_t FormClassName[] = L"TVestoraForm";
constexpr int FirstListId = 100;

constexpr DWORD FormStyle = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;

void RegisterFormClass(HINSTANCE Instance) {
  WNDCLASSEXW Class{};
  Class.cbSize = sizeof(Class);
  Class.lpfnWndProc = DefWindowProcW;
  Class.hInstance = Instance;
  Class.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  Class.hIcon = ::LoadIconW(Instance, L"MAINICON");
  Class.lpszClassName = FormClassName;
  ::RegisterClassExW(&Class);  // fails harmlessly when already registered
}

TMouseButton ButtonOf(UINT Msg) {
  switch (Msg) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      return TMouseButton::Right;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
      return TMouseButton::Middle;
    default:
      return TMouseButton::Left;
  }
}

bool IsButtonDown(UINT Msg) { return Msg == WM_LBUTTONDOWN || Msg == WM_RBUTTONDOWN || Msg == WM_MBUTTONDOWN; }

}  // namespace

TFormHost::TFormHost(TForm& Form, HINSTANCE Instance)
    : FForm(Form),
      FInstance(Instance),
      FPictures([Instance](const std::string& Name) { return platform::win::RcData(Instance, Name); }, FDecoder) {
  RegisterFormClass(Instance);
  FForm.AttachHost(this);
}

TFormHost::~TFormHost() {
  FLists.clear();
  FWindow.Reset();
  FForm.AttachHost(nullptr);
}

void TFormHost::Create(HWND Owner) {
  FForm.FormCreate();

  const DWORD ExStyle = FForm.StayOnTop ? WS_EX_TOPMOST : 0;
  RECT Frame{0, 0, FForm.ClientWidth, FForm.ClientHeight};
  ::AdjustWindowRectEx(&Frame, FormStyle, FALSE, ExStyle);
  const int Width = Frame.right - Frame.left;
  const int Height = Frame.bottom - Frame.top;
  const int Left = (::GetSystemMetrics(SM_CXSCREEN) - Width) / 2;
  const int Top = (::GetSystemMetrics(SM_CYSCREEN) - Height) / 2;
  const std::wstring Caption = Widen(FForm.Caption, 1252);
  FWindow.Reset(::CreateWindowExW(ExStyle, FormClassName, Caption.c_str(), FormStyle, Left, Top, Width, Height, Owner,
                                  nullptr, FInstance, nullptr));
  if (!FWindow) throw platform::EError("the main window cannot be created");
  ::SetWindowLongPtrW(FWindow.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  ::SetWindowLongPtrW(FWindow.Get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TFormHost::WindowProc));

  HDC Screen = ::GetDC(nullptr);
  FBufferDc.Reset(::CreateCompatibleDC(Screen));
  ::ReleaseDC(nullptr, Screen);
  BITMAPINFO Info{};
  Info.bmiHeader.biSize = sizeof(Info.bmiHeader);
  Info.bmiHeader.biWidth = FForm.ClientWidth;
  Info.bmiHeader.biHeight = -FForm.ClientHeight;  // top-down rows
  Info.bmiHeader.biPlanes = 1;
  Info.bmiHeader.biBitCount = 32;
  Info.bmiHeader.biCompression = BI_RGB;
  void* Bits = nullptr;
  FBufferBitmap.Reset(::CreateDIBSection(FBufferDc.Get(), &Info, DIB_RGB_COLORS, &Bits, nullptr, 0));
  if (!FBufferBitmap) throw platform::EError("the page buffer cannot be created");
  FBufferPixels = static_cast<std::uint32_t*>(Bits);
  ::SelectObject(FBufferDc.Get(), FBufferBitmap.Get());

  CreateLists();
  FArmed.assign(FForm.Timers().size(), TArmedTimer{false, 0, 0});
  FForm.FormShow();
  AfterHandler();
}

void TFormHost::Show() {
  ::ShowWindow(FWindow.Get(), SW_SHOW);
  ::UpdateWindow(FWindow.Get());
}

HWND TFormHost::ListHandle(const TListBox& List) const {
  for (const TList& Entry : FLists) {
    if (Entry.Model == &List) return Entry.Window.Get();
  }
  return nullptr;
}

void TFormHost::RequestClose() {
  if (FWindow) ::PostMessageW(FWindow.Get(), WM_CLOSE, 0, 0);
}

void TFormHost::RepaintNow() {
  ::InvalidateRect(FWindow.Get(), nullptr, FALSE);
  ::UpdateWindow(FWindow.Get());
}

std::unique_ptr<ITextMeasurer> TFormHost::CreateMeasurer(const TFont& Font) {
  return std::make_unique<TGdiMeasurer>(FFonts.Get(Font));
}

std::uintptr_t TFormHost::WindowHandle() const { return reinterpret_cast<std::uintptr_t>(FWindow.Get()); }

int TFormHost::MessageBox(const std::string& Text, const std::string& Caption, unsigned Flags) {
  return ::MessageBoxW(FWindow.Get(), Widen(Text, 1252).c_str(), Widen(Caption, 1252).c_str(), Flags);
}

template <typename F>
void TFormHost::Guarded(F&& Handler) {
  Protected(std::forward<F>(Handler));
  Protected([this] { AfterHandler(); });
}

template <typename F>
void TFormHost::Protected(F&& Handler) {
  try {
    Handler();
  } catch (const std::exception& Error) {
    // Shown the way a desktop toolkit shows an unhandled error; the program goes on.
    wchar_t Title[256] = {};
    ::GetWindowTextW(::GetWindow(FWindow.Get(), GW_OWNER), Title, 256);
    const std::wstring Text = Widen(Error.what(), CP_ACP);
    ::MessageBoxW(FWindow.Get(), Text.c_str(), Title, MB_OK | MB_ICONERROR);
  } catch (...) {
    ::MessageBoxW(FWindow.Get(), L"Unexpected error.", nullptr, MB_OK | MB_ICONERROR);
  }
}

void TFormHost::RunGuarded(const std::function<void()>& Call) { Guarded(Call); }

void TFormHost::AfterHandler() {
  if (!FWindow) return;
  SyncTimers();
  SyncLists();
  ::InvalidateRect(FWindow.Get(), nullptr, FALSE);
}

void TFormHost::SyncTimers() {
  const std::vector<TTimer*> Timers = FForm.Timers();
  for (std::size_t i = 0; i < Timers.size(); ++i) {
    const TTimer& Timer = *Timers[i];
    TArmedTimer& Armed = FArmed[i];
    const bool Want = Timer.Enabled() && Timer.Interval > 0;
    const bool Same = Want == Armed.Enabled && (!Want || (Timer.Interval == Armed.Interval && Timer.Starts() == Armed.Starts));
    if (Same) continue;
    const UINT_PTR Id = i + 1;
    // SetTimer on an armed timer restarts its interval.
    if (Want) {
      ::SetTimer(FWindow.Get(), Id, Timer.Interval, nullptr);
    } else {
      ::KillTimer(FWindow.Get(), Id);
    }
    Armed = {Want, Timer.Interval, Timer.Starts()};
  }
}

void TFormHost::CreateLists() {
  int Id = FirstListId;
  for (TPage* Page : FForm.Pages().Pages) {
    for (TControl* Control : Page->Controls) {
      auto* List = dynamic_cast<TListBox*>(Control);
      if (List == nullptr) continue;
      // No WS_VSCROLL: the list scrolls only as its owner asks.
      const DWORD Style = WS_CHILD | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY;
      const TRect& B = List->Bounds;
      HWND Window = ::CreateWindowExW(0, L"LISTBOX", L"", Style, B.Left, B.Top, B.Width, B.Height, FWindow.Get(),
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(Id++)), FInstance, nullptr);
      // Subclassed through the window procedure, which needs no common-controls library.
      ::SetWindowLongPtrW(Window, GWLP_USERDATA, ::GetWindowLongPtrW(Window, GWLP_WNDPROC));
      ::SetWindowLongPtrW(Window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TFormHost::ListProc));
      ::SendMessageW(Window, LB_SETITEMHEIGHT, 0, List->ItemHeight);
      FLists.push_back({List, platform::win::TWindow(Window), 0, -1});
    }
  }
}

void TFormHost::SyncLists() {
  const TPage& Active = FForm.Pages().ActivePage();
  for (TList& Entry : FLists) {
    HWND Window = Entry.Window.Get();
    const std::vector<std::string>& Items = Entry.Model->Items;
    if (Entry.ItemsShown != Items.size()) {
      ::SendMessageW(Window, WM_SETREDRAW, FALSE, 0);
      ::SendMessageW(Window, LB_RESETCONTENT, 0, 0);
      for (const std::string& Item : Items) {
        const std::wstring Wide = Widen(Item, 1252);
        ::SendMessageW(Window, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide.c_str()));
      }
      ::SendMessageW(Window, WM_SETREDRAW, TRUE, 0);
      Entry.ItemsShown = Items.size();
      Entry.IndexShown = -1;
    }
    if (Entry.IndexShown != Entry.Model->ItemIndex) {
      // Selecting a line scrolls the list by the least amount that shows it.
      ::SendMessageW(Window, LB_SETCURSEL, static_cast<WPARAM>(Entry.Model->ItemIndex), 0);
      Entry.IndexShown = Entry.Model->ItemIndex;
    }
    bool OnActivePage = false;
    for (const TControl* Control : Active.Controls) OnActivePage = OnActivePage || Control == Entry.Model;
    const bool Shown = OnActivePage && Entry.Model->Visible;
    if ((::IsWindowVisible(Window) != FALSE) != Shown) ::ShowWindow(Window, Shown ? SW_SHOWNA : SW_HIDE);
  }
}

void TFormHost::Paint() {
  PAINTSTRUCT Ps{};
  HDC Dc = ::BeginPaint(FWindow.Get(), &Ps);
  // The whole page is composed in the buffer and copied once, so nothing flickers.
  // BeginPaint has validated the window, so an error shown here does not paint again.
  Protected([&] {
    ComposePage(FBufferDc.Get(), {FBufferPixels, FForm.ClientWidth, FForm.ClientHeight});
    ::BitBlt(Dc, 0, 0, FForm.ClientWidth, FForm.ClientHeight, FBufferDc.Get(), 0, 0, SRCCOPY);
  });
  ::EndPaint(FWindow.Get(), &Ps);
}

void TFormHost::ComposePage(HDC Dc, TPixelTarget Target) {
  ::GdiFlush();
  std::fill(Target.Pixels, Target.Pixels + static_cast<std::size_t>(Target.Width) * Target.Height,
            PixelOf(FForm.Color));
  for (TControl* Control : FForm.Pages().ActivePage().Controls) {
    if (!Control->Visible) continue;
    if (auto* Image = dynamic_cast<TImage*>(Control)) {
      if (const TBitmap32* Bitmap = FPictures.Get(Image->Picture)) {
        ::GdiFlush();  // GDI text drawn so far must land before the pixels are touched
        DrawPicture(Target, *Bitmap, Image->Bounds, {Image->Stretch, Image->Center});
      }
    } else if (auto* Label = dynamic_cast<TLabel*>(Control)) {
      DrawLabel(Dc, *Label);
    } else if (auto* Box = dynamic_cast<TPaintBox*>(Control)) {
      if (Box->OnPaint) {
        const int Saved = ::SaveDC(Dc);
        ::IntersectClipRect(Dc, Box->Bounds.Left, Box->Bounds.Top, Box->Bounds.Right(), Box->Bounds.Bottom());
        ::SetViewportOrgEx(Dc, Box->Bounds.Left, Box->Bounds.Top, nullptr);
        TGdiCanvas Canvas(Dc, FFonts);
        Box->OnPaint(*Box, Canvas);
        ::RestoreDC(Dc, Saved);
      }
    }
  }
  ::GdiFlush();
}

void TFormHost::DrawLabel(HDC Dc, TLabel& Label) {
  // A caption ends at its first zero byte, as a C string would.
  const std::string Shown = Label.Caption.substr(0, Label.Caption.find('\0'));
  if (Shown.empty()) return;
  const std::wstring Text = Widen(Shown, Label.CodePage);
  UINT Flags = DT_NOCLIP | DT_EXPANDTABS;
  if (Label.Alignment == TAlignment::Center) Flags |= DT_CENTER;
  if (Label.Alignment == TAlignment::Right) Flags |= DT_RIGHT;
  if (Label.WordWrap) Flags |= DT_WORDBREAK;
  if (Label.PathEllipsis) Flags = (Flags & ~DT_NOCLIP) | DT_PATH_ELLIPSIS | DT_SINGLELINE;

  const platform::win::TSelect Select(Dc, FFonts.Get(Label.Font));
  ::SetBkMode(Dc, TRANSPARENT);
  ::SetTextColor(Dc, Label.Font.Color);
  RECT Box = ToRect(Label.Bounds);
  if (Label.AutoHeight || Label.Layout != TTextLayout::Top) {
    RECT Measured = Box;
    ::DrawTextW(Dc, Text.c_str(), static_cast<int>(Text.size()), &Measured, Flags | DT_CALCRECT);
    const int TextHeight = Measured.bottom - Measured.top;
    if (Label.AutoHeight) {
      Label.Bounds.Height = TextHeight;
      Box.bottom = Box.top + TextHeight;
    } else {
      const int Spare = Label.Bounds.Height - TextHeight;
      Box.top += Label.Layout == TTextLayout::Center ? Spare / 2 : Spare;
    }
  }
  ::DrawTextW(Dc, Text.c_str(), static_cast<int>(Text.size()), &Box, Flags);
}

void TFormHost::OnMouseButton(UINT Msg, int X, int Y) {
  const TMouseButton Button = ButtonOf(Msg);
  if (IsButtonDown(Msg)) {
    FCaptured = FForm.Pages().ActivePage().ControlAt(X, Y);
    if (FCaptured == nullptr) return;
    ::SetCapture(FWindow.Get());
    if (FCaptured->OnMouseDown) {
      TControl& Target = *FCaptured;
      Guarded([&] { Target.OnMouseDown(Target, Button, X - Target.Bounds.Left, Y - Target.Bounds.Top); });
    }
    return;
  }
  TControl* Target = FCaptured != nullptr ? FCaptured : FForm.Pages().ActivePage().ControlAt(X, Y);
  FCaptured = nullptr;
  if (::GetCapture() == FWindow.Get()) ::ReleaseCapture();
  if (Target == nullptr) return;
  const bool Inside = Target->Bounds.Contains(X, Y);
  Guarded([&] {
    if (Target->OnMouseUp) Target->OnMouseUp(*Target, Button, X - Target->Bounds.Left, Y - Target->Bounds.Top);
    // A click is a left press and release on the same control; the release may have changed the page.
    if (Button == TMouseButton::Left && Inside && Target->OnClick) Target->OnClick(*Target);
  });
}

void TFormHost::OnMouseMove(int X, int Y, bool LeftHeld) {
  if (!FTrackingLeave) {
    TRACKMOUSEEVENT Track{sizeof(Track), TME_LEAVE, FWindow.Get(), 0};
    FTrackingLeave = ::TrackMouseEvent(&Track) != FALSE;
  }
  TControl* Under = FForm.Pages().ActivePage().ControlAt(X, Y);
  if (Under != FHovered) {
    TControl* Left = FHovered;
    FHovered = Under;
    if (Left != nullptr && Left->OnMouseLeave) Guarded([&] { Left->OnMouseLeave(*Left); });
    if (Under != nullptr && Under->OnMouseEnter) Guarded([&] { Under->OnMouseEnter(*Under); });
  }
  TControl* Target = FCaptured != nullptr ? FCaptured : Under;
  if (Target != nullptr && Target->OnMouseMove) {
    Guarded([&] { Target->OnMouseMove(*Target, LeftHeld, X - Target->Bounds.Left, Y - Target->Bounds.Top); });
  }
}

void TFormHost::OnDrawItem(const DRAWITEMSTRUCT& Item) {
  for (TList& Entry : FLists) {
    if (Entry.Window.Get() != Item.hwndItem || !Entry.Model->OnDrawItem) continue;
    const RECT& R = Item.rcItem;
    TGdiCanvas Canvas(Item.hDC, FFonts);
    try {
      Entry.Model->OnDrawItem(*Entry.Model, Canvas, static_cast<int>(Item.itemID),
                              {R.left, R.top, R.right - R.left, R.bottom - R.top});
    } catch (...) {
      // A paint that fails leaves the row as it was; there is nobody to tell.
    }
  }
}

bool TFormHost::CloseQuery() {
  bool CanClose = true;
  Guarded([&] { FForm.FormCloseQuery(CanClose); });
  return CanClose;
}

LRESULT CALLBACK TFormHost::WindowProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
  auto* Host = reinterpret_cast<TFormHost*>(::GetWindowLongPtrW(Window, GWLP_USERDATA));
  if (Host == nullptr) return ::DefWindowProcW(Window, Msg, WParam, LParam);
  return Host->HandleMessage(Msg, WParam, LParam);
}

LRESULT CALLBACK TFormHost::ListProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
  // Typing does not search the list.
  if (Msg == WM_CHAR) return 0;
  // The wheel belongs to the form, which moves the current line one step at a time.
  if (Msg == WM_MOUSEWHEEL) return ::SendMessageW(::GetParent(Window), Msg, WParam, LParam);
  const auto ClassProc = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(Window, GWLP_USERDATA));
  return ::CallWindowProcW(ClassProc, Window, Msg, WParam, LParam);
}

LRESULT TFormHost::HandleMessage(UINT Msg, WPARAM WParam, LPARAM LParam) {
  HWND Window = FWindow.Get();
  TMessage Message{Msg, WParam, LParam, 0};
  bool Handled = false;
  Protected([&] { Handled = FForm.Dispatch(Message); });
  if (Handled) {
    // Erasing changes nothing, and it arrives from inside a paint.
    if (Msg != WM_ERASEBKGND) Protected([this] { AfterHandler(); });
    return Message.Result;
  }

  switch (Msg) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_COPYDATA:
      // Read as a wire format: the record and its sizes are checked, the bytes copied out.
      if (LParam != 0) {
        const auto& Record = *reinterpret_cast<const COPYDATASTRUCT*>(LParam);
        TCopyData Data;
        Data.Code = static_cast<std::int32_t>(static_cast<std::uint32_t>(Record.dwData));
        if (Record.cbData > 0 && Record.lpData != nullptr) {
          Data.Text.assign(static_cast<const char*>(Record.lpData), Record.cbData);
        }
        Guarded([&] { FForm.CopyData(Data); });
      }
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      OnMouseButton(Msg, GET_X_LPARAM(LParam), GET_Y_LPARAM(LParam));
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(GET_X_LPARAM(LParam), GET_Y_LPARAM(LParam), (WParam & MK_LBUTTON) != 0);
      return 0;
    case WM_MOUSELEAVE:
      FTrackingLeave = false;
      if (TControl* Left = std::exchange(FHovered, nullptr); Left != nullptr && Left->OnMouseLeave) {
        Guarded([&] { Left->OnMouseLeave(*Left); });
      }
      return 0;
    case WM_CAPTURECHANGED:
      FCaptured = nullptr;
      return 0;
    case WM_MOUSEWHEEL: {
      bool WheelHandled = false;
      Guarded([&] { FForm.FormMouseWheel(GET_WHEEL_DELTA_WPARAM(WParam), WheelHandled); });
      return 0;
    }
    case WM_COMMAND:
      // A click or a key in a list moves its current line; the scrollbar catches up at its next paint.
      if (HIWORD(WParam) == LBN_SELCHANGE) {
        for (TList& Entry : FLists) {
          if (Entry.Window.Get() != reinterpret_cast<HWND>(LParam)) continue;
          Entry.Model->ItemIndex = static_cast<int>(::SendMessageW(Entry.Window.Get(), LB_GETCURSEL, 0, 0));
          Entry.IndexShown = Entry.Model->ItemIndex;
        }
        return 0;
      }
      break;
    case WM_TIMER: {
      const std::vector<TTimer*> Timers = FForm.Timers();
      const std::size_t Index = WParam - 1;
      if (Index < Timers.size() && Timers[Index]->Enabled() && Timers[Index]->OnTimer) {
        TTimer& Timer = *Timers[Index];
        Guarded([&] { Timer.OnTimer(Timer); });
      }
      return 0;
    }
    case WM_MEASUREITEM: {
      auto& Measure = *reinterpret_cast<MEASUREITEMSTRUCT*>(LParam);
      for (const TList& Entry : FLists) {
        if (static_cast<UINT>(::GetDlgCtrlID(Entry.Window.Get())) == Measure.CtlID) {
          Measure.itemHeight = static_cast<UINT>(Entry.Model->ItemHeight);
        }
      }
      return TRUE;
    }
    case WM_DRAWITEM:
      OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(LParam));
      return TRUE;
    case WM_CTLCOLORLISTBOX:
      for (const TList& Entry : FLists) {
        if (Entry.Window.Get() == reinterpret_cast<HWND>(LParam)) {
          ::SetDCBrushColor(reinterpret_cast<HDC>(WParam), Entry.Model->Color);
          return reinterpret_cast<LRESULT>(::GetStockObject(DC_BRUSH));
        }
      }
      break;
    case WM_CLOSE:
      if (CloseQuery()) ::DestroyWindow(Window);
      return 0;
    case WM_QUERYENDSESSION:
      return CloseQuery() ? TRUE : FALSE;
    case WM_DESTROY:
      Guarded([&] { FForm.FormDestroy(); });
      for (std::size_t i = 0; i < FArmed.size(); ++i) ::KillTimer(Window, i + 1);
      FArmed.assign(FArmed.size(), TArmedTimer{false, 0, 0});
      if (FQuitOnDestroy) ::PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      // The window is gone: the owner must not destroy it a second time.
      (void)FWindow.Release();
      for (TList& Entry : FLists) (void)Entry.Window.Release();
      FLists.clear();
      break;
    default:
      break;
  }
  return ::DefWindowProcW(Window, Msg, WParam, LParam);
}

}  // namespace ui::win
