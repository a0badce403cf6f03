#pragma once

#include "platform/Shell.h"

namespace platform::win {

// ShellExecuteW from this process: an elevated wizard starts an elevated browser.
class TWinShell final : public IShell {
public:
  void OpenAddress(const std::string& Address, std::uintptr_t Owner) override;
};

// IShellDispatch2::ShellExecute of Explorer's desktop. Needs COM on the calling thread.
class TWinDesktopShell final : public IDesktopShell {
public:
  [[nodiscard]] bool OpenAddress(const std::string& Address) override;
};

}  // namespace platform::win
