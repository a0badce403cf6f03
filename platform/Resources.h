#pragma once

#include <optional>
#include <string>

namespace platform {

class IResources {
public:
  virtual ~IResources() = default;
  // The bytes of an RCDATA resource of the program's own module; nothing when absent
  // or when it cannot be loaded.
  [[nodiscard]] virtual std::optional<std::string> RcData(const std::string& Name) = 0;
};

}  // namespace platform
