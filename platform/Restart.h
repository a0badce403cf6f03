#pragma once

namespace platform {

class IRestart {
public:
  virtual ~IRestart() = default;
  // Restarts Windows at once and by force; true when the system accepted the request.
  [[nodiscard]] virtual bool RestartSystem() = 0;
};

}  // namespace platform
