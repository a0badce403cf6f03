#pragma once

#include "platform/FlashProbe.h"

namespace platform::win {

// A bare in-process instance of the Flash control: no window, released after the call.
// Needs COM initialised on the calling thread.
class TWinFlashProbe final : public IFlashProbe {
public:
  [[nodiscard]] std::optional<std::int32_t> FlashVersion() override;
};

}  // namespace platform::win
