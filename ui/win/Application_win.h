// The application object: a hidden owner window that carries the taskbar
// button (titled after the executable), and the message loop.
#pragma once

#include <windows.h>

#include "platform/win/Handles.h"
#include "ui/Form.h"

namespace ui::win {

class TApplication {
public:
  explicit TApplication(HINSTANCE Instance);
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;

  // Creates and shows the main form, then runs the message loop until it closes.
  int Run(TForm& MainForm);
  [[nodiscard]] HWND Handle() const { return FWindow.Get(); }

private:
  static LRESULT CALLBACK WindowProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam);

  HINSTANCE FInstance;
  platform::win::TWindow FWindow;
  HWND FMainWindow = nullptr;
};

}  // namespace ui::win
