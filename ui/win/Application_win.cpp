#include "ui/win/Application_win.h"

#include <string>

#include "platform/Error.h"
#include "ui/AppTitle.h"
#include "ui/win/FormHost_win.h"

namespace ui::win {
namespace {

constexpr wchar_t AppClassName[] = L"TVestoraApplication";

std::wstring ModulePath(HINSTANCE Instance) {
  std::wstring Path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD Length = ::GetModuleFileNameW(Instance, Path.data(), static_cast<DWORD>(Path.size()));
    if (Length < Path.size()) {
      Path.resize(Length);
      return Path;
    }
    Path.resize(Path.size() * 2);
  }
}

}  // namespace

TApplication::TApplication(HINSTANCE Instance) : FInstance(Instance) {
  WNDCLASSEXW Class{};
  Class.cbSize = sizeof(Class);
  Class.lpfnWndProc = &TApplication::WindowProc;
  Class.hInstance = Instance;
  Class.hIcon = ::LoadIconW(Instance, L"MAINICON");
  Class.lpszClassName = AppClassName;
  ::RegisterClassExW(&Class);

  const std::wstring Title = ApplicationTitle(ModulePath(Instance));
  // Zero-sized and centred: present for the taskbar, never seen on the desktop.
  FWindow.Reset(::CreateWindowExW(0, AppClassName, Title.c_str(),
                                  WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                                  ::GetSystemMetrics(SM_CXSCREEN) / 2, ::GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0,
                                  nullptr, nullptr, Instance, nullptr));
  if (!FWindow) throw platform::EError("the application window cannot be created");
  ::SetWindowLongPtrW(FWindow.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

int TApplication::Run(TForm& MainForm) {
  TFormHost Host(MainForm, FInstance);
  Host.SetQuitOnDestroy(true);
  FHost = &Host;
  Host.Create(FWindow.Get());
  FMainWindow = Host.Handle();
  ::ShowWindow(FWindow.Get(), SW_SHOWNOACTIVATE);
  Host.Show();

  MSG Message{};
  BOOL Got = FALSE;
  while ((Got = ::GetMessageW(&Message, nullptr, 0, 0)) > 0) {
    ::TranslateMessage(&Message);
    ::DispatchMessageW(&Message);
  }
  if (Got < 0) {
    // The loop cannot go on; the user is told instead of the wizard vanishing.
    // std::to_string, not std::to_wstring: the wide one would bring the C library's printf.
    const std::string Error = std::to_string(::GetLastError());
    const std::wstring Text = L"The installer stopped: Windows could not deliver its messages (error " +
                              std::wstring(Error.begin(), Error.end()) + L").";
    ::MessageBoxW(nullptr, Text.c_str(), nullptr, MB_OK | MB_ICONERROR);
    Message.wParam = 1;
  }
  FMainWindow = nullptr;
  FHost = nullptr;
  return static_cast<int>(Message.wParam);
}

void TApplication::RunGuarded(const std::function<void()>& Call) {
  if (FHost != nullptr) {
    FHost->RunGuarded(Call);
    return;
  }
  try {
    Call();
  } catch (const std::exception& Error) {
    ::MessageBoxA(nullptr, Error.what(), nullptr, MB_OK | MB_ICONERROR);
  }
}

LRESULT CALLBACK TApplication::WindowProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
  const auto* App = reinterpret_cast<const TApplication*>(::GetWindowLongPtrW(Window, GWLP_USERDATA));
  HWND Main = App != nullptr ? App->FMainWindow : nullptr;
  if (Main != nullptr) {
    switch (Msg) {
      case WM_SETFOCUS:
        ::SetFocus(Main);
        return 0;
      case WM_CLOSE:  // "Close window" on the taskbar button
        ::PostMessageW(Main, WM_CLOSE, 0, 0);
        return 0;
      case WM_QUERYENDSESSION:
        return ::SendMessageW(Main, WM_QUERYENDSESSION, WParam, LParam);
      default:
        break;
    }
  }
  return ::DefWindowProcW(Window, Msg, WParam, LParam);
}

}  // namespace ui::win
