#include "platform/win/ProxyPrompt_win.h"

#include <wininet.h>

#include "platform/win/SystemLibrary_win.h"

namespace platform::win {

void TProxyPrompt::Bind(HMODULE WinInet) {
  FErrorDlg = EntryPoint<decltype(FErrorDlg)>(WinInet, "InternetErrorDlg");
  FSendRequestA = EntryPoint<decltype(FSendRequestA)>(WinInet, "HttpSendRequestA");
}

// The system's dialog keeps what the user enters with the request, and says
// ERROR_INTERNET_FORCE_RETRY when it should be sent again. Its Cancel says
// ERROR_CANCELLED, or (Wine) ERROR_SUCCESS: anything else is no password.
bool TProxyPrompt::Ask(THandle Request) const {
  const HWND Owner = FOwner ? FOwner() : nullptr;
  return FErrorDlg(Owner, Request, ERROR_INTERNET_INCORRECT_PASSWORD,
                   FLAGS_ERROR_UI_FILTER_FOR_ERRORS | FLAGS_ERROR_UI_FLAGS_CHANGE_OPTIONS |
                       FLAGS_ERROR_UI_FLAGS_GENERATE_DATA,
                   nullptr) == ERROR_INTERNET_FORCE_RETRY;
}

bool TProxyPrompt::SendAgain(THandle Request) const {
  return FSendRequestA(Request, nullptr, 0, nullptr, 0) != FALSE;
}

}  // namespace platform::win
