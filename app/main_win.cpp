// Program entry: harden the process, initialise COM for the GUI thread, run the wizard.
#include <windows.h>
#include <objbase.h>

#include <cstdlib>
#include <exception>

#include "app/KIVWindow.h"
#include "app/Licence.h"
#include "checks/Functions.h"
#include "download/Downloader.h"
#include "download/ResellerId.h"
#include "platform/win/Clock_win.h"
#include "platform/win/DownloadFiles_win.h"
#include "platform/win/FileVersions_win.h"
#include "platform/win/FlashProbe_win.h"
#include "platform/win/Folders_win.h"
#include "platform/win/Handles.h"
#include "platform/win/Internet_win.h"
#include "platform/win/Processes_win.h"
#include "platform/win/Registry_win.h"
#include "platform/win/Resources_win.h"
#include "platform/win/Restart_win.h"
#include "platform/win/Shell_win.h"
#include "platform/win/SyncOwner_win.h"
#include "shell/VistaAeroDesktopComposition.h"
#include "shell/win/TaskbarList_win.h"
#include "ui/win/Application_win.h"
#include "ui/win/FormHost_win.h"

namespace {

// Only System32 is searched for DLLs loaded later, never the download folder
// the program was started from.
void HardenDllSearch() {
  ::SetDllDirectoryW(L"");
  using TSetDefault = BOOL(WINAPI*)(DWORD);
  if (HMODULE Kernel = ::GetModuleHandleW(L"kernel32.dll")) {
    if (auto SetDefault = reinterpret_cast<TSetDefault>(
            reinterpret_cast<void*>(::GetProcAddress(Kernel, "SetDefaultDllDirectories")))) {
      SetDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
  }
  ::HeapSetInformation(nullptr, HeapEnableTerminationOnCorruption, nullptr, 0);
}

// One wizard per user session: a second start brings the first to the front
// and ends. Where the mutex cannot be made, each start runs as before.
class TOneWizard {
public:
  TOneWizard() : FMutex(::CreateMutexW(nullptr, FALSE, L"Local\\Vestora.WebInstaller")) {
    FOther = FMutex && ::GetLastError() == ERROR_ALREADY_EXISTS;
  }
  // True when another wizard runs; it is brought to the front, if its window is there yet.
  [[nodiscard]] bool ShowOther() const {
    if (!FOther) return false;
    if (HWND Window = ::FindWindowW(ui::win::FormClassName, nullptr)) {
      if (::IsIconic(Window)) ::ShowWindow(Window, SW_RESTORE);
      ::SetForegroundWindow(Window);
    }
    return true;
  }

private:
  platform::win::TUniqueHandle FMutex;
  bool FOther = false;
};

class TComApartment {
public:
  TComApartment() : FResult(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~TComApartment() {
    if (SUCCEEDED(FResult)) ::CoUninitialize();
  }
  TComApartment(const TComApartment&) = delete;
  TComApartment& operator=(const TComApartment&) = delete;

private:
  HRESULT FResult;
};

}  // namespace

// What std::terminate calls. The library's own handler prints the exception's
// name to a console that a GUI program does not have, and brings the C++ name
// demangler into the file to do so; ending the process is all that is left.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

int WINAPI wWinMain(HINSTANCE Instance, HINSTANCE, PWSTR, int) {
  HardenDllSearch();
  const TOneWizard OneWizard;
  if (OneWizard.ShowOther()) return 0;
  const TComApartment Com;
  try {
    ui::win::TApplication Application(Instance);
    platform::win::TWinClock Clock;
    platform::win::TWinFolders Folders;
    platform::win::TWinRegistry Registry;
    platform::win::TWinFileVersions Versions;
    platform::win::TWinFlashProbe Flash;
    platform::win::TWinResources Resources(Instance);
    platform::win::TWinDesktopShell DesktopShell;
    platform::win::TWinShell DirectShell;
    platform::TUserShell Shell(DesktopShell, DirectShell);
    platform::win::TWinRestart Restart;
    platform::win::TWinProcesses Processes;
    checks::TFunctions Functions({Registry, Versions, Flash});
    download::TResellerId Reseller(Resources, Functions);
    // The proxy's password prompt belongs to the wizard's window, which waits for it.
    platform::win::TWinInternet Internet([&Application] { return Application.MainWindow(); });
    platform::win::TWinDownloadFiles DownloadFiles;
    platform::win::TWinSyncOwner GuiThread(
        Instance, [&Application](const std::function<void()>& Call) { Application.RunGuarded(Call); });
    download::TDownloaderFactory Downloads(
        {Internet, DownloadFiles, Clock, GuiThread, platform::win::UserDecimalSeparator()});
    // The taskbar button belongs to the application window.
    shell::win::TWinTaskbarListFactory TaskbarList(Application.Handle());
    shell::TVistaAeroDesktopComposition Taskbar(TaskbarList);
    app::TKIVWindow Window({Clock, Folders, Reseller, Functions, Shell, Restart, Downloads, Taskbar, Processes},
                           app::SplitLicenceItems(platform::win::RcData(Instance, "LICENCE")));
    return Application.Run(Window);
  } catch (const std::exception& Error) {
    ::MessageBoxA(nullptr, Error.what(), nullptr, MB_OK | MB_ICONERROR);
    return 1;
  }
}
