#include "shell/VistaAeroDesktopComposition.h"

namespace shell {

bool TVistaAeroDesktopComposition::TryCreate() {
  if (FTaskbar || FCreationTried) return false;
  FCreationTried = true;
  FTaskbar = FFactory.Create();
  return static_cast<bool>(FTaskbar);
}

void TVistaAeroDesktopComposition::SetTaskbarProgressState(platform::TTaskbarState State) {
  if (!FTaskbar && !FCreationTried) {
    FLastState = State;
    if (TryCreate()) FTaskbar->SetProgressState(State);
    return;
  }
  if (FTaskbar && State != FLastState) {
    FLastState = State;
    FTaskbar->SetProgressState(State);
  }
}

void TVistaAeroDesktopComposition::SetTaskbarProgressValue(std::uint64_t Completed, std::uint64_t Total) {
  (void)TryCreate();
  if (FTaskbar) FTaskbar->SetProgressValue(Completed, Total);
}

}  // namespace shell
