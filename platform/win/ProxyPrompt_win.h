// A proxy that asks who the user is: WinInet's own password prompt, and the
// request sent again with what the user entered.
#pragma once

#include <windows.h>

#include <functional>
#include <utility>

namespace platform::win {

class TProxyPrompt {
public:
  using THandle = void*;

  // Owner gives the window that owns the prompt, asked when it opens.
  explicit TProxyPrompt(std::function<HWND()> Owner = nullptr) : FOwner(std::move(Owner)) {}

  // From the loaded WinInet; Bound tells whether both entry points were found.
  void Bind(HMODULE WinInet);
  [[nodiscard]] bool Bound() const { return FErrorDlg != nullptr && FSendRequestA != nullptr; }

  // On the owner's thread: true when the user gave a password, kept with Request.
  [[nodiscard]] bool Ask(THandle Request) const;
  // The same request on the same handle, with its headers and what the prompt took;
  // false when it did not complete at once (the thread's last error tells why).
  [[nodiscard]] bool SendAgain(THandle Request) const;

private:
  DWORD(WINAPI* FErrorDlg)(HWND, THandle, DWORD, DWORD, LPVOID) = nullptr;
  BOOL(WINAPI* FSendRequestA)(THandle, LPCSTR, DWORD, LPVOID, DWORD) = nullptr;
  std::function<HWND()> FOwner;
};

}  // namespace platform::win
