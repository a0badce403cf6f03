// The yardstick for the wizard's start-up and memory: a window of the same
// size, built with the same compiler and options, that does nothing else.
#include <windows.h>

namespace {

LRESULT CALLBACK WindowProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg == WM_DESTROY) {
    ::PostQuitMessage(0);
    return 0;
  }
  return ::DefWindowProcW(Window, Msg, WParam, LParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE Instance, HINSTANCE, PWSTR, int Show) {
  WNDCLASSEXW Class{};
  Class.cbSize = sizeof(Class);
  Class.lpfnWndProc = &WindowProc;
  Class.hInstance = Instance;
  Class.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  Class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  Class.lpszClassName = L"TBareWindow";
  ::RegisterClassExW(&Class);
  RECT Frame{0, 0, 600, 338};
  ::AdjustWindowRectEx(&Frame, WS_CAPTION | WS_SYSMENU, FALSE, 0);
  HWND Window = ::CreateWindowExW(0, L"TBareWindow", L"Bare window", WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT,
                                  CW_USEDEFAULT, Frame.right - Frame.left, Frame.bottom - Frame.top, nullptr, nullptr,
                                  Instance, nullptr);
  ::ShowWindow(Window, Show);
  MSG Message{};
  while (::GetMessageW(&Message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&Message);
    ::DispatchMessageW(&Message);
  }
  return 0;
}
