#pragma once

#include <cstdint>
#include <string>

namespace platform {

class IShell {
public:
  virtual ~IShell() = default;
  // Hands a web address to the shell's "open" verb, shown normally. Owner is a
  // window handle as a number; 0 stands for the desktop window. A failure is not reported.
  virtual void OpenAddress(const std::string& Address, std::uintptr_t Owner) = 0;
};

// The shell of the user's desktop, which starts what it opens as that user, unelevated.
class IDesktopShell {
public:
  virtual ~IDesktopShell() = default;
  // True when the desktop's shell took the address; false when it is not there or refused.
  [[nodiscard]] virtual bool OpenAddress(const std::string& Address) = 0;
};

// Opens addresses through the desktop's shell, so that an elevated wizard does not start an
// elevated browser; directly where that shell is not there.
class TUserShell final : public IShell {
public:
  TUserShell(IDesktopShell& Desktop, IShell& Direct) : FDesktop(Desktop), FDirect(Direct) {}
  void OpenAddress(const std::string& Address, std::uintptr_t Owner) override {
    if (!FDesktop.OpenAddress(Address)) FDirect.OpenAddress(Address, Owner);
  }

private:
  IDesktopShell& FDesktop;
  IShell& FDirect;
};

}  // namespace platform
