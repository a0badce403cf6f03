// The program's exceptions: a message, and a system error number where one applies.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

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

// A failed system call, with the system's error number.
class ESystemError : public EError {
public:
  ESystemError(const char* What, std::uint32_t ACode) : EError(What), Code(ACode) {}
  std::uint32_t Code;
};

}  // namespace platform
