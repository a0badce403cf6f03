#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "platform/SyncThread.h"
#include "platform/win/Handles.h"

namespace platform::win {

// The GUI thread as the download thread sees it: a message-only window whose
// posted message runs the pending synchronized calls from the message loop.
class TWinSyncOwner final : public platform::ISyncOwner {
public:
  // Calls served from the message loop run through Boundary, which catches
  // their errors and brings the window up to date afterwards.
  using TBoundary = std::function<void(const std::function<void()>& Call)>;
  TWinSyncOwner(HINSTANCE Instance, TBoundary Boundary);
  void Wake() override;
  void Pump() override;
  void Register(platform::TSyncThread& Thread) override;
  void Unregister(platform::TSyncThread& Thread) override;

private:
  static LRESULT CALLBACK WindowProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam);
  void ServeAll();

  TBoundary FBoundary;
  TWindow FWindow;
  std::vector<platform::TSyncThread*> FThreads;
};

}  // namespace platform::win
