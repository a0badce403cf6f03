#pragma once

#include <cstdint>

namespace platform {

// The taskbar's progress states the program uses, with the values Windows gives them.
enum class TTaskbarState : std::uint8_t { NoProgress = 0, Normal = 2 };

// The progress shown on the program's taskbar button.
class ITaskbarProgress {
public:
  virtual ~ITaskbarProgress() = default;
  virtual void SetTaskbarProgressState(TTaskbarState State) = 0;
  virtual void SetTaskbarProgressValue(std::uint64_t Completed, std::uint64_t Total) = 0;
};

}  // namespace platform
