#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "platform/Resources.h"

namespace platform::win {

// The bytes of an RCDATA resource of Module; empty when there is none. The view
// stays valid while the module is loaded.
[[nodiscard]] std::string_view RcData(HMODULE Module, const std::string& Name);

class TWinResources final : public IResources {
public:
  explicit TWinResources(HMODULE Module) : FModule(Module) {}
  [[nodiscard]] std::optional<std::string> RcData(const std::string& Name) override;

private:
  HMODULE FModule;
};

}  // namespace platform::win
