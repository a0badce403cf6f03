#include "platform/win/Processes_win.h"

#include <windows.h>

#include <utility>

#include "platform/win/Handles.h"
#include "platform/win/Signature_win.h"

namespace platform::win {
namespace {

class TWinProcess final : public IProcess {
public:
  explicit TWinProcess(TUniqueHandle Process) : FProcess(std::move(Process)) {}
  [[nodiscard]] TWait Wait(unsigned Milliseconds) override {
    switch (::WaitForSingleObjectEx(FProcess.Get(), Milliseconds, FALSE)) {
      case WAIT_TIMEOUT:
        return TWait::Running;
      case WAIT_OBJECT_0:
        return TWait::Ended;
      default:
        return TWait::Failed;
    }
  }

private:
  TUniqueHandle FProcess;
};

std::wstring FromUtf8(const std::string& Text) {
  if (Text.empty()) return {};
  const int Length = ::MultiByteToWideChar(CP_UTF8, 0, Text.data(), static_cast<int>(Text.size()), nullptr, 0);
  std::wstring Wide(static_cast<std::size_t>(Length > 0 ? Length : 0), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, Text.data(), static_cast<int>(Text.size()), Wide.data(), Length);
  return Wide;
}

// What a program that holds a file without sharing it makes an open fail with.
bool HeldByOthers(DWORD Error) { return Error == ERROR_SHARING_VIOLATION || Error == ERROR_ACCESS_DENIED; }

}  // namespace

IProcesses::TStart TWinProcesses::StartInstaller(const TPath& Path, const std::string& Parameters,
                                                 const std::string& Signer, const std::function<bool()>& Cancelled) {
  TStart Start;
  if (Path.empty()) return Start;
  // Read sharing only: nobody can change, replace or delete the file between the check and the start.
  HANDLE Opened = ::CreateFileW(Path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
  const TUniqueHandle Held(Opened == INVALID_HANDLE_VALUE ? nullptr : Opened);
  if (!Held) return {HeldByOthers(::GetLastError()) ? TStartResult::Busy : TStartResult::Failed, nullptr};
  if (!Signer.empty() && VerifiedSigner(Held.Get(), Path) != FromUtf8(Signer)) {
    Start.Result = TStartResult::Untrusted;
    return Start;
  }
  if (Cancelled()) return Start;
  std::wstring CommandLine = L"\"" + Path + L"\" " + std::wstring(Parameters.begin(), Parameters.end());
  const TPath Folder = FolderPart(Path);
  STARTUPINFOW Startup{};
  Startup.cb = sizeof(Startup);
  PROCESS_INFORMATION Started{};
  // An empty folder means the current one.
  if (!::CreateProcessW(Path.c_str(), CommandLine.data(), nullptr, nullptr, FALSE, CREATE_DEFAULT_ERROR_MODE, nullptr,
                        Folder.empty() ? nullptr : Folder.c_str(), &Startup, &Started)) {
    return {HeldByOthers(::GetLastError()) ? TStartResult::Busy : TStartResult::Failed, nullptr};
  }
  const TUniqueHandle Thread(Started.hThread);
  TUniqueHandle Process(Started.hProcess);
  Start.Result = TStartResult::Started;
  Start.Process = std::make_unique<TWinProcess>(std::move(Process));
  return Start;
}

}  // namespace platform::win
