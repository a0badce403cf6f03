#include "platform/win/Shell_win.h"

#include <windows.h>
#include <shellapi.h>

namespace platform::win {

void TWinShell::OpenAddress(const std::string& Address) {
  // Addresses are plain ASCII; the result is not looked at.
  const std::wstring Wide(Address.begin(), Address.end());
  ::ShellExecuteW(::GetDesktopWindow(), L"open", Wide.c_str(), nullptr, nullptr, SW_SHOW);
}

}  // namespace platform::win
