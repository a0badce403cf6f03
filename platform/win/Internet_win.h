#pragma once

#include <windows.h>

#include <functional>

#include "platform/Internet.h"
#include "platform/win/Handles.h"
#include "platform/win/ProxyPrompt_win.h"

namespace platform::win {

// WinInet, loaded from System32 at run time (it is not one of the known DLLs).
// Every call is asynchronous and waited on together with the session's cancel
// event, so that a cancel never waits for the network. A read takes only what
// WinInet already holds, so that an abandoned read waits for one byte at most.
class TWinInternet final : public IInternet {
public:
  // PromptOwner gives the window that owns the proxy's password prompt; asked on
  // the window's thread when the prompt opens.
  explicit TWinInternet(std::function<HWND()> PromptOwner = nullptr) {
    FApi.Prompt = TProxyPrompt(std::move(PromptOwner));
  }
  [[nodiscard]] std::shared_ptr<IInternetSession> Open() override;

  using THandle = void*;
  using TCallback = void(CALLBACK*)(THandle, DWORD_PTR, DWORD, LPVOID, DWORD);
  struct TApi {
    THandle(WINAPI* OpenA)(LPCSTR, DWORD, LPCSTR, LPCSTR, DWORD) = nullptr;
    THandle(WINAPI* OpenUrlA)(THandle, LPCSTR, LPCSTR, DWORD, DWORD, DWORD_PTR) = nullptr;
    BOOL(WINAPI* QueryInfoA)(THandle, DWORD, LPVOID, LPDWORD, LPDWORD) = nullptr;
    BOOL(WINAPI* ReadFile)(THandle, LPVOID, DWORD, LPDWORD) = nullptr;
    BOOL(WINAPI* QueryDataAvailable)(THandle, LPDWORD, DWORD, DWORD_PTR) = nullptr;
    BOOL(WINAPI* CloseHandle)(THandle) = nullptr;
    TCallback(WINAPI* SetStatusCallback)(THandle, TCallback) = nullptr;
    TProxyPrompt Prompt;
  };

  // WinInet's handles, closed through the loaded InternetCloseHandle.
  struct TInternetTraits {
    BOOL(WINAPI* CloseHandle)(THandle) = nullptr;
    static THandle Invalid() { return nullptr; }
    void Close(THandle Handle) const { CloseHandle(Handle); }
  };
  using TInternetHandle = TUnique<THandle, TInternetTraits>;

private:
  void Load();

  bool FLoaded = false;
  TModule FWinInet;
  TApi FApi;
};

}  // namespace platform::win
