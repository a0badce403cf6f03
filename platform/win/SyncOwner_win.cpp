#include "platform/win/SyncOwner_win.h"

#include <algorithm>

#include "platform/Error.h"

namespace platform::win {
namespace {

constexpr wchar_t ClassName[] = L"TVestoraSync";
constexpr UINT WakeMessage = WM_APP + 1;

}  // namespace

TWinSyncOwner::TWinSyncOwner(HINSTANCE Instance, TBoundary Boundary) : FBoundary(std::move(Boundary)) {
  WNDCLASSEXW Class{};
  Class.cbSize = sizeof(Class);
  Class.lpfnWndProc = &TWinSyncOwner::WindowProc;
  Class.hInstance = Instance;
  Class.lpszClassName = ClassName;
  ::RegisterClassExW(&Class);
  FWindow.Reset(::CreateWindowExW(0, ClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, Instance, nullptr));
  if (!FWindow) throw platform::EError("the synchronisation window cannot be created");
  ::SetWindowLongPtrW(FWindow.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void TWinSyncOwner::Wake() { ::PostMessageW(FWindow.Get(), WakeMessage, 0, 0); }

void TWinSyncOwner::Pump() {
  // Peeking delivers the messages other threads and processes have sent to our windows.
  MSG Message{};
  ::PeekMessageW(&Message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

void TWinSyncOwner::Register(platform::TSyncThread& Thread) { FThreads.push_back(&Thread); }

void TWinSyncOwner::Unregister(platform::TSyncThread& Thread) {
  FThreads.erase(std::remove(FThreads.begin(), FThreads.end(), &Thread), FThreads.end());
}

void TWinSyncOwner::ServeAll() {
  // A served call may end a download and so unregister its thread: walk a copy.
  const std::vector<platform::TSyncThread*> Threads = FThreads;
  for (platform::TSyncThread* Thread : Threads) {
    if (std::find(FThreads.begin(), FThreads.end(), Thread) != FThreads.end()) {
      FBoundary([Thread] { Thread->Serve(); });
    }
  }
}

LRESULT CALLBACK TWinSyncOwner::WindowProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg == WakeMessage) {
    if (auto* Owner = reinterpret_cast<TWinSyncOwner*>(::GetWindowLongPtrW(Window, GWLP_USERDATA))) Owner->ServeAll();
    return 0;
  }
  return ::DefWindowProcW(Window, Msg, WParam, LParam);
}

}  // namespace platform::win
