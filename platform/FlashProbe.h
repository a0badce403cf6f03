#pragma once

#include <cstdint>
#include <optional>

namespace platform {

// Creates the Flash ActiveX control for one call of FlashVersion and releases it.
class IFlashProbe {
public:
  virtual ~IFlashProbe() = default;
  // Nothing when the control cannot be created or the call fails.
  [[nodiscard]] virtual std::optional<std::int32_t> FlashVersion() = 0;
};

}  // namespace platform
