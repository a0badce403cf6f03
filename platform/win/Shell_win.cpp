#include "platform/win/Shell_win.h"

#include <windows.h>
#include <exdisp.h>
#include <servprov.h>
#include <shellapi.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>

#include <cstdint>

#include "platform/win/ComPtr.h"

namespace platform::win {

void TWinShell::OpenAddress(const std::string& Address, std::uintptr_t Owner) {
  // Addresses are plain ASCII; the result is not looked at.
  const std::wstring Wide(Address.begin(), Address.end());
  HWND Window = Owner == 0 ? ::GetDesktopWindow() : reinterpret_cast<HWND>(Owner);
  ::ShellExecuteW(Window, L"open", Wide.c_str(), nullptr, nullptr, SW_SHOW);
}

// The desktop's folder view, its shell object and its ShellExecute: the way Explorer is asked
// to start a program for an elevated one.
bool TWinDesktopShell::OpenAddress(const std::string& Address) {
  // No shell process (Explorer) runs the desktop: nobody to ask, and a COM server that cannot be had.
  if (::GetShellWindow() == nullptr) return false;
  TComPtr<IShellWindows> Windows;
  if (FAILED(::CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, IID_IShellWindows, Windows.Out()))) {
    return false;
  }
  TVariant Desktop(static_cast<long>(CSIDL_DESKTOP));
  TVariant NoRoot;
  long DesktopWindow = 0;
  TComPtr<IDispatch> Found;
  if (Windows->FindWindowSW(&Desktop.Value, &NoRoot.Value, SWC_DESKTOP, &DesktopWindow, SWFO_NEEDDISPATCH,
                            reinterpret_cast<IDispatch**>(Found.Out())) != S_OK ||
      !Found) {
    return false;
  }
  TComPtr<IServiceProvider> Services;
  TComPtr<IShellBrowser> Browser;
  TComPtr<IShellView> View;
  TComPtr<IDispatch> Background;
  TComPtr<IShellFolderViewDual> Folder;
  TComPtr<IDispatch> Application;
  TComPtr<IShellDispatch2> Shell;
  if (FAILED(Found->QueryInterface(IID_IServiceProvider, Services.Out())) ||
      FAILED(Services->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, Browser.Out())) ||
      FAILED(Browser->QueryActiveShellView(reinterpret_cast<IShellView**>(View.Out()))) || !View ||
      FAILED(View->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, Background.Out())) ||
      FAILED(Background->QueryInterface(IID_IShellFolderViewDual, Folder.Out())) ||
      FAILED(Folder->get_Application(reinterpret_cast<IDispatch**>(Application.Out()))) || !Application ||
      FAILED(Application->QueryInterface(IID_IShellDispatch2, Shell.Out()))) {
    return false;
  }
  // Explorer starts the browser: it may take the foreground that the wizard has.
  DWORD Explorer = 0;
  ::GetWindowThreadProcessId(reinterpret_cast<HWND>(static_cast<std::intptr_t>(DesktopWindow)), &Explorer);
  if (Explorer != 0) ::AllowSetForegroundWindow(Explorer);
  const std::wstring Wide(Address.begin(), Address.end());
  const TVariant File(Wide.c_str());
  if (File.Value.bstrVal == nullptr) return false;
  const TVariant NoText(L"");
  const TVariant Verb(L"open");
  const TVariant Show(static_cast<long>(SW_SHOW));
  return SUCCEEDED(Shell->ShellExecute(File.Value.bstrVal, NoText.Value, NoText.Value, Verb.Value, Show.Value));
}

}  // namespace platform::win
