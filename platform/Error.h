// The program's exceptions. The platform layer reports failures as return
// values with the system error; it raises only where a constructor cannot
// return one (a window or thread that cannot be made) and where the program's
// rules raise (a registry value of the wrong type).
#pragma once

#include <exception>
#include <string>
#include <utility>

namespace platform {

// Not std::runtime_error: its own string and exception classes would make up
// a large part of a small program.
class EError : public std::exception {
public:
  explicit EError(std::string Message) : FMessage(std::move(Message)) {}
  [[nodiscard]] const char* what() const noexcept override { return FMessage.c_str(); }

private:
  std::string FMessage;
};

}  // namespace platform
