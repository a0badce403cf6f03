#pragma once

#include <cstdint>

namespace platform {

class IClock {
public:
  virtual ~IClock() = default;
  // Milliseconds since system start; wraps at 2^32.
  [[nodiscard]] virtual std::uint32_t TickCount() = 0;
  // Blocks the calling thread; nothing else runs on it meanwhile.
  virtual void Sleep(std::uint32_t Milliseconds) = 0;
};

}  // namespace platform
