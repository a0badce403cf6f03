// Progress on the program's taskbar button, through the system's taskbar-list
// object, created on first use and never retried after a failure.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/Taskbar.h"

namespace shell {

// The taskbar-list object, bound to the window that owns the taskbar button.
class ITaskbarList {
public:
  virtual ~ITaskbarList() = default;
  virtual void SetProgressState(platform::TTaskbarState State) = 0;
  virtual void SetProgressValue(std::uint64_t Completed, std::uint64_t Total) = 0;
};

class ITaskbarListFactory {
public:
  virtual ~ITaskbarListFactory() = default;
  // Creates the object and initialises it; nothing on any failure.
  [[nodiscard]] virtual std::unique_ptr<ITaskbarList> Create() = 0;
};

class TVistaAeroDesktopComposition final : public platform::ITaskbarProgress {
public:
  explicit TVistaAeroDesktopComposition(ITaskbarListFactory& Factory) : FFactory(Factory) {}
  // Reaches the taskbar only when the state changes.
  void SetTaskbarProgressState(platform::TTaskbarState State) override;
  void SetTaskbarProgressValue(std::uint64_t Completed, std::uint64_t Total) override;

private:
  bool TryCreate();

  ITaskbarListFactory& FFactory;
  std::unique_ptr<ITaskbarList> FTaskbar;
  bool FCreationTried = false;
  platform::TTaskbarState FLastState = platform::TTaskbarState::NoProgress;
};

}  // namespace shell
