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
  // At once, but as Windows' own Restart: every program may ask about unsaved work and only
  // those that do not answer are closed. Programs registered for a restart come back with it.
  constexpr DWORD Reason = SHTDN_REASON_MAJOR_APPLICATION | SHTDN_REASON_MINOR_INSTALLATION | SHTDN_REASON_FLAG_PLANNED;
  if (::InitiateShutdownW(nullptr, nullptr, 0, SHUTDOWN_RESTART | SHUTDOWN_RESTARTAPPS, Reason) == ERROR_SUCCESS) {
    return true;
  }
  return ::ExitWindowsEx(EWX_REBOOT | EWX_FORCEIFHUNG, Reason) != FALSE;
}

}  // namespace platform::win
