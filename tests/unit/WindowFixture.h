// A wizard window over fakes of every platform service.
#pragma once

#include <gtest/gtest.h>

#include "app/KIVWindow.h"
#include "tests/fakes/Fakes.h"

namespace wizard {

class WindowTest : public ::testing::Test {
protected:
  WindowTest() { Window.AttachHost(&Host); }

  // The window as the user first meets it.
  void CreateAndShow() {
    Window.FormCreate();
    Window.FormShow();
  }
  void Click(ui::TControl& Control) { Control.OnClick(Control); }

  fakes::TSteppingClock Clock;
  fakes::TFakeFolders Folders;
  fakes::TFakeRegistry Registry;
  fakes::TFakeFileVersions Versions;
  fakes::TFakeFlash Flash;
  checks::TFunctions Functions{{Registry, Versions, Flash}};
  fakes::TFakeResellerId Reseller;
  fakes::TFakeShell Shell;
  fakes::TFakeRestart Restart;
  fakes::TFakeDownloads Downloads;
  fakes::TFakeTaskbar Taskbar;
  fakes::TFakeProcesses Processes;
  fakes::TFakeHost Host;
  app::TKIVWindow Window{{Clock, Folders, Reseller, Functions, Shell, Restart, Downloads, Taskbar, Processes},
                         {"Licence title", "", "a b c"}};
};

}  // namespace wizard
