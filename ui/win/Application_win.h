// The application object: a hidden owner window that carries the taskbar
// button (titled after the executable), and the message loop.
#pragma once

#include <windows.h>

#include <functional>

#include "platform/win/Handles.h"
#include "ui/Form.h"

namespace ui::win {

class TFormHost;

class TApplication {
public:
  explicit TApplication(HINSTANCE Instance);
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;

  // Creates and shows the main form, then runs the message loop until it closes.
  int Run(TForm& MainForm);
  [[nodiscard]] HWND Handle() const { return FWindow.Get(); }
  // The main form's window while it runs; nothing before.
  [[nodiscard]] HWND MainWindow() const { return FMainWindow; }
  // Runs Call in the main window's handler boundary (directly, with errors
  // shown, when there is no main window).
  void RunGuarded(const std::function<void()>& Call);

private:
  static LRESULT CALLBACK WindowProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam);

  HINSTANCE FInstance;
  platform::win::TWindow FWindow;
  HWND FMainWindow = nullptr;
  TFormHost* FHost = nullptr;
};

}  // namespace ui::win
