#pragma once

#include <cstdint>

namespace download {

// The reseller (referrer) number built into the program; reading it also
// records it in the machine-wide registry.
class IResellerId {
public:
  virtual ~IResellerId() = default;
  [[nodiscard]] virtual std::int32_t GetResellerId() = 0;
};

}  // namespace download
