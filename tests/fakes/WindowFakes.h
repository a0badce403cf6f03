// Fakes of every service the wizard window calls but the clock.
#pragma once

#include "app/KIVWindow.h"
#include "tests/fakes/Fakes.h"

namespace fakes {

struct TWindowFakes {
  [[nodiscard]] app::TKIVServices Services(platform::IClock& Clock) {
    return {Clock, Folders, Reseller, Functions, Shell, Restart, Downloads, Taskbar, Processes};
  }

  TFakeFolders Folders;
  TFakeRegistry Registry;
  TFakeFileVersions Versions;
  TFakeFlash Flash;
  checks::TFunctions Functions{{Registry, Versions, Flash}};
  TFakeResellerId Reseller;
  TFakeShell Shell;
  TFakeRestart Restart;
  TFakeDownloads Downloads;
  TFakeTaskbar Taskbar;
  TFakeProcesses Processes;
};

}  // namespace fakes
