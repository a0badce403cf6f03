#pragma once

#include <cstdint>

namespace platform {

// Values of the taskbar's progress states used by the program.
constexpr std::uint8_t TBPF_NOPROGRESS_ = 0;
constexpr std::uint8_t TBPF_NORMAL_ = 2;

// The progress shown on the program's taskbar button.
class ITaskbarProgress {
public:
  virtual ~ITaskbarProgress() = default;
  virtual void SetTaskbarProgressState(std::uint8_t State) = 0;
  virtual void SetTaskbarProgressValue(std::uint64_t Completed, std::uint64_t Total) = 0;
};

}  // namespace platform
