// A wizard window over fakes of every platform service.
#pragma once

#include <gtest/gtest.h>

#include "tests/fakes/WindowFakes.h"

namespace wizard {

class WindowTest : public ::testing::Test, protected fakes::TWindowFakes {
protected:
  WindowTest() { Window.AttachHost(&Host); }

  // The window as the user first meets it.
  void CreateAndShow() {
    Window.FormCreate();
    Window.FormShow();
  }
  void Click(ui::TControl& Control) { Control.OnClick(Control); }

  fakes::TSteppingClock Clock;
  fakes::TFakeHost Host;
  app::TKIVWindow Window{Services(Clock), {"Licence title", "", "a b c"}};
};

}  // namespace wizard
