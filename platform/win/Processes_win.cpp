#include "platform/win/Processes_win.h"

#include <windows.h>

#include "platform/win/Handles.h"

namespace platform::win {
namespace {

class TWinProcess final : public IProcess {
public:
  explicit TWinProcess(HANDLE Process) : FProcess(Process) {}
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

}  // namespace

std::unique_ptr<IProcess> TWinProcesses::StartInstaller(const TPath& Path, const std::string& Parameters) {
  std::wstring CommandLine = L"\"" + Path + L"\" " + std::wstring(Parameters.begin(), Parameters.end());
  const TPath Folder = FolderPart(Path);
  STARTUPINFOW Startup{};
  Startup.cb = sizeof(Startup);
  PROCESS_INFORMATION Started{};
  // An empty folder means the current one.
  if (!::CreateProcessW(Path.c_str(), CommandLine.data(), nullptr, nullptr, FALSE, CREATE_DEFAULT_ERROR_MODE, nullptr,
                        Folder.empty() ? nullptr : Folder.c_str(), &Startup, &Started)) {
    return nullptr;
  }
  ::CloseHandle(Started.hThread);
  return std::make_unique<TWinProcess>(Started.hProcess);
}

}  // namespace platform::win
