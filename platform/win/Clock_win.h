#pragma once

#include "platform/Clock.h"

namespace platform::win {

class TWinClock final : public IClock {
public:
  [[nodiscard]] std::uint32_t TickCount() override;
  void Sleep(std::uint32_t Milliseconds) override;
};

}  // namespace platform::win
