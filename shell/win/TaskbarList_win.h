#pragma once

#include <windows.h>

#include "shell/VistaAeroDesktopComposition.h"

namespace shell::win {

// CLSID_TaskbarList asked for ITaskbarList3, for the window Owner.
class TWinTaskbarListFactory final : public ITaskbarListFactory {
public:
  explicit TWinTaskbarListFactory(HWND Owner) : FOwner(Owner) {}
  [[nodiscard]] std::unique_ptr<ITaskbarList> Create() override;

private:
  HWND FOwner;
};

}  // namespace shell::win
