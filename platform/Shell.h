#pragma once

#include <cstdint>
#include <string>

namespace platform {

class IShell {
public:
  virtual ~IShell() = default;
  // Hands a web address to the shell's "open" verb, shown normally. Owner is a
  // window handle as a number; 0 stands for the desktop window. A failure is not reported.
  virtual void OpenAddress(const std::string& Address, std::uintptr_t Owner) = 0;
};

}  // namespace platform
