#include "platform/win/Restart_win.h"

#include <windows.h>

#include "platform/win/Handles.h"

namespace platform::win {

bool TWinRestart::RestartSystem() {
  // The shutdown privilege first; when it cannot be had, the requests below fail.
  HANDLE Raw = nullptr;
  ::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &Raw);
  const TUniqueHandle Token(Raw);
  TOKEN_PRIVILEGES Enable{};
  Enable.PrivilegeCount = 1;
  Enable.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  ::LookupPrivilegeValueW(L"", L"SeShutdownPrivilege", &Enable.Privileges[0].Luid);
  TOKEN_PRIVILEGES Previous{};
  DWORD PreviousLength = sizeof(Previous);
  ::AdjustTokenPrivileges(Token.Get(), FALSE, &Enable, sizeof(Previous), &Previous, &PreviousLength);
  ::Sleep(10);
  // At once and by force: no countdown, applications closed without asking.
  if (::InitiateSystemShutdownW(nullptr, nullptr, 0, TRUE, TRUE)) return true;
  return ::ExitWindowsEx(EWX_REBOOT | EWX_FORCE, 0) != FALSE;
}

}  // namespace platform::win
