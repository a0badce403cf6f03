#pragma once

#include "platform/Shell.h"

namespace platform::win {

class TWinShell final : public IShell {
public:
  void OpenAddress(const std::string& Address, std::uintptr_t Owner) override;
};

}  // namespace platform::win
