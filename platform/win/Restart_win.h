#pragma once

#include "platform/Restart.h"

namespace platform::win {

class TWinRestart final : public IRestart {
public:
  [[nodiscard]] bool RestartSystem() override;
};

}  // namespace platform::win
