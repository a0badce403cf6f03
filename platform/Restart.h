#pragma once

namespace platform {

class IRestart {
public:
  virtual ~IRestart() = default;
  // Restarts Windows at once, letting other programs ask about unsaved work first; true when
  // the system accepted the request (a program may still keep it from happening).
  [[nodiscard]] virtual bool RestartSystem() = 0;
};

}  // namespace platform
