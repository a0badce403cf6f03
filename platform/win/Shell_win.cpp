#include "platform/win/Shell_win.h"

#include <windows.h>
#include <shellapi.h>

namespace platform::win {

void TWinShell::OpenAddress(const std::string& Address, std::uintptr_t Owner) {
  // Addresses are plain ASCII; the result is not looked at.
  const std::wstring Wide(Address.begin(), Address.end());
  HWND Window = Owner == 0 ? ::GetDesktopWindow() : reinterpret_cast<HWND>(Owner);
  ::ShellExecuteW(Window, L"open", Wide.c_str(), nullptr, nullptr, SW_SHOW);
}

}  // namespace platform::win
