#include "ui/win/FormHost_win.h"

#include <windowsx.h>

#include <algorithm>
#include <exception>
#include <utility>

#include "platform/Error.h"
#include "platform/win/Resources_win.h"
#include "platform/win/SystemLibrary_win.h"

namespace ui::win {
namespace {

constexpr DWORD FormStyle = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;

// Acts on a control that assistive technology asked to activate, outside its call.
constexpr UINT MsgActivate = WM_APP + 1;

void RegisterFormClass(HINSTANCE Instance, WNDPROC WindowProc) {
  WNDCLASSEXW Class{};
  Class.cbSize = sizeof(Class);
  // The second press of a double-click arrives as a double-click, so it cannot end in a click.
  Class.style = CS_DBLCLKS;
  Class.lpfnWndProc = WindowProc;
  Class.hInstance = Instance;
  Class.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  Class.hIcon = ::LoadIconW(Instance, L"MAINICON");
  Class.lpszClassName = FormClassName;
  ::RegisterClassExW(&Class);  // fails harmlessly when already registered
}

}  // namespace

TFormHost::TFormHost(TForm& Form, HINSTANCE Instance)
    : FForm(Form),
      FInstance(Instance),
      FPictures([Instance](const std::string& Name) { return platform::win::RcData(Instance, Name); }, FDecoder) {
  RegisterFormClass(Instance, &TFormHost::WindowProc);
  FForm.AttachHost(this);
}

TFormHost::~TFormHost() {
  if (FAccessible) FAccessible->Detach();
  ForgetLists();
  FWindow.Reset();
  FForm.AttachHost(nullptr);
}

void TFormHost::Create(HWND Owner) {
  FForm.FormCreate();

  FDpi = SystemDpi();
  const DWORD ExStyle = FForm.StayOnTop ? WS_EX_TOPMOST : 0;
  const SIZE Frame = FrameSize(FormStyle, ExStyle);
  const int Left = (::GetSystemMetrics(SM_CXSCREEN) - Frame.cx) / 2;
  const int Top = (::GetSystemMetrics(SM_CYSCREEN) - Frame.cy) / 2;
  const std::wstring Caption = Widen(FForm.Caption, 1252);
  FWindow.Reset(::CreateWindowExW(ExStyle, FormClassName, Caption.c_str(), FormStyle, Left, Top, Frame.cx, Frame.cy,
                                  Owner, nullptr, FInstance, this));
  if (!FWindow) throw platform::EError("the main window cannot be created");
  FitClientArea();

  CreateBuffer(FDpi);
  CreateLists();
  ReadContrast();
  // A window that opened on a monitor of another scale than the system's takes that one.
  if (const int Dpi = WindowDpi(); Dpi != FDpi) ScaleTo(Dpi, nullptr);
  FArmed.assign(FForm.Timers().size(), TArmedTimer{false, 0, 0});
  FForm.FormShow();
  AfterHandler();
}

void TFormHost::Show() {
  ::ShowWindow(FWindow.Get(), SW_SHOW);
  ::UpdateWindow(FWindow.Get());
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

void TFormHost::Activate(TControl& Control) {
  ::PostMessageW(FWindow.Get(), MsgActivate, 0, reinterpret_cast<LPARAM>(&Control));
}

std::uintptr_t TFormHost::WindowHandle() const { return reinterpret_cast<std::uintptr_t>(FWindow.Get()); }

int TFormHost::MessageBox(const std::string& Text, const std::string& Caption, unsigned Flags) {
  return ::MessageBoxW(FWindow.Get(), Widen(Text, 1252).c_str(), Widen(Caption, 1252).c_str(), Flags);
}

void TFormHost::RunGuarded(const std::function<void()>& Call) { Guarded(Call); }

void TFormHost::AfterHandler() {
  if (!FWindow) return;
  SyncTimers();
  SyncLists();
  SyncShutdownReason();
  SyncAwake(FForm.KeepsSystemAwake());
  FollowPage();
  Present();
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

void TFormHost::SyncShutdownReason() {
  std::string Reason = FForm.ShutdownBlockReason();
  if (Reason == FShutdownReason) return;
  // Vista's and later; an older system only holds up the log-off, as before.
  HMODULE User = ::GetModuleHandleW(L"user32.dll");
  using TCreate = BOOL(WINAPI*)(HWND, LPCWSTR);
  using TDestroy = BOOL(WINAPI*)(HWND);
  if (Reason.empty()) {
    if (auto Destroy = platform::win::EntryPoint<TDestroy>(User, "ShutdownBlockReasonDestroy")) Destroy(FWindow.Get());
  } else if (auto Create = platform::win::EntryPoint<TCreate>(User, "ShutdownBlockReasonCreate")) {
    Create(FWindow.Get(), Widen(Reason, 1252).c_str());
  }
  FShutdownReason = std::move(Reason);
}

void TFormHost::SyncAwake(bool Awake) {
  if (Awake == FAwake) return;
  // For this thread, until it says otherwise or ends.
  ::SetThreadExecutionState(Awake ? ES_CONTINUOUS | ES_SYSTEM_REQUIRED : ES_CONTINUOUS);
  FAwake = Awake;
}

bool TFormHost::CloseQuery() {
  bool CanClose = true;
  Guarded([&] { FForm.FormCloseQuery(CanClose); });
  return CanClose;
}

LRESULT CALLBACK TFormHost::WindowProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
  // Bound at the first message, so that the messages sent during creation reach the form too.
  if (Msg == WM_NCCREATE) {
    const auto* Creation = reinterpret_cast<const CREATESTRUCTW*>(LParam);
    ::SetWindowLongPtrW(Window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(Creation->lpCreateParams));
  }
  auto* Host = reinterpret_cast<TFormHost*>(::GetWindowLongPtrW(Window, GWLP_USERDATA));
  if (Host == nullptr) return ::DefWindowProcW(Window, Msg, WParam, LParam);
  return Host->HandleMessage(Window, Msg, WParam, LParam);
}

LRESULT TFormHost::HandleMessage(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
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
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      OnMouseButton(Msg, Unscaled(GET_X_LPARAM(LParam), FDpi), Unscaled(GET_Y_LPARAM(LParam), FDpi));
      return 0;
    case WM_KEYDOWN:
      if (OnKeyDown(WParam, LParam)) return 0;
      break;
    case WM_GETOBJECT:
      if (static_cast<LONG>(static_cast<DWORD>(LParam)) == OBJID_CLIENT) {
        if (!FAccessible) FAccessible = TAccessibleClient::Create(*this);
        if (FAccessible) return FAccessible->Answer(WParam);
      }
      break;
    case MsgActivate:
      // Posted before a modal box opened, it arrives inside the box's own loop.
      if (!TakesInput()) return 0;
      for (const TAccessibleItem& Item : Items()) {
        if (reinterpret_cast<LPARAM>(Item.Control) == LParam && IsAction(Item.Role)) Press(*Item.Control);
      }
      return 0;
    case WM_ENABLE:
      Present();
      return 0;
    case WM_SETFOCUS:
      // Windows tells of the window itself (its activation, its first show); a
      // screen reader is told of the focused action in it again.
      FAnnouncedFocus = nullptr;
      Present();
      return 0;
    case WM_DPICHANGED:
      Guarded([&] { ScaleTo(LOWORD(WParam), reinterpret_cast<const RECT*>(LParam)); });
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(Unscaled(GET_X_LPARAM(LParam), FDpi), Unscaled(GET_Y_LPARAM(LParam), FDpi),
                  (WParam & MK_LBUTTON) != 0);
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
      if (HIWORD(WParam) == LBN_SETFOCUS) {
        for (TList& Entry : FLists) {
          if (Entry.Window.Get() == reinterpret_cast<HWND>(LParam)) TakeFocus(*Entry.Model);
        }
        return 0;
      }
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
          Measure.itemHeight = static_cast<UINT>(Scaled(Entry.Model->ItemHeight, FDpi));
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
          ::SetDCBrushColor(reinterpret_cast<HDC>(WParam), FillColour(Entry.Model->Color));
          return reinterpret_cast<LRESULT>(::GetStockObject(DC_BRUSH));
        }
      }
      break;
    case WM_SETTINGCHANGE:
      if (WParam == SPI_SETHIGHCONTRAST) ReadContrast();
      break;
    case WM_SYSCOLORCHANGE:
      ReadContrast();
      break;
    case WM_CLOSE:
      if (CloseQuery()) ::DestroyWindow(Window);
      return 0;
    case WM_QUERYENDSESSION:
      return CloseQuery() ? TRUE : FALSE;
    case WM_DESTROY:
      Guarded([&] { FForm.FormDestroy(); });
      SyncAwake(false);
      for (std::size_t i = 0; i < FArmed.size(); ++i) ::KillTimer(Window, i + 1);
      FArmed.assign(FArmed.size(), TArmedTimer{false, 0, 0});
      FLive.Forget(Window);
      if (FQuitOnDestroy) ::PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      // The window is gone: the owner must not destroy it a second time.
      (void)FWindow.Release();
      for (TList& Entry : FLists) (void)Entry.Window.Release();
      ForgetLists();
      break;
    default:
      break;
  }
  return ::DefWindowProcW(Window, Msg, WParam, LParam);
}

}  // namespace ui::win
