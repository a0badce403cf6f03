#pragma once

#include "platform/Shell.h"

namespace platform::win {

class TWinShell final : public IShell {
public:
  void OpenAddress(const std::string& Address) override;
};

}  // namespace platform::win
