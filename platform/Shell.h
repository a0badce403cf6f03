#pragma once

#include <string>

namespace platform {

class IShell {
public:
  virtual ~IShell() = default;
  // Hands a web address to the shell's "open" verb, shown normally, with the
  // desktop window as owner. A failure is not reported.
  virtual void OpenAddress(const std::string& Address) = 0;
};

}  // namespace platform
