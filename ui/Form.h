// The top-level form: the portable side of a window. The host creates the real
// window from it, runs its lifecycle handlers and routes messages to it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ui/Canvas.h"
#include "ui/Controls.h"

namespace ui {

// A window message as the host received it; a handler sets Result.
struct TMessage {
  unsigned Msg = 0;
  std::uintptr_t WParam = 0;
  std::intptr_t LParam = 0;
  std::intptr_t Result = 0;
};

constexpr unsigned WM_ERASEBKGND_ = 0x0014;
constexpr unsigned WM_COPYDATA_ = 0x004A;

// The record of a copy-data message, laid out as Windows lays out COPYDATASTRUCT.
struct TCopyDataRecord {
  std::uintptr_t dwData;
  std::uint32_t cbData;
  const void* lpData;
};

// What the form asks of the window that shows it.
class IFormHost {
public:
  virtual ~IFormHost() = default;
  // The ordinary close: asks FormCloseQuery first.
  virtual void RequestClose() = 0;
  // Paint what is pending now instead of leaving it to the message loop.
  virtual void RepaintNow() = 0;
  [[nodiscard]] virtual std::unique_ptr<ITextMeasurer> CreateMeasurer(const TFont& Font) = 0;
  // The window's handle as an unsigned number, for other processes to address it.
  [[nodiscard]] virtual std::uintptr_t WindowHandle() const = 0;
  // A modal message box owned by the window; Text and Caption in Windows-1252.
  // Returns the button pressed (the IDYES of Windows is 6).
  [[nodiscard]] virtual int MessageBox(const std::string& Text, const std::string& Caption, unsigned Flags) = 0;
};

constexpr unsigned MB_YESNO_ = 0x04;
constexpr unsigned MB_ICONINFORMATION_ = 0x40;
constexpr int IDYES_ = 6;

class TForm {
public:
  TForm() = default;
  virtual ~TForm() = default;
  TForm(const TForm&) = delete;
  TForm& operator=(const TForm&) = delete;

  std::string Caption;
  int ClientWidth = 0;
  int ClientHeight = 0;
  TColor Color = clSilver;
  TFont Font{"Tahoma", 11, false, clWindowText};
  bool DoubleBuffered = false;
  bool StayOnTop = false;

  [[nodiscard]] virtual TNotebook& Pages() = 0;
  [[nodiscard]] virtual std::vector<TTimer*> Timers() = 0;

  virtual void FormCreate() {}
  virtual void FormShow() {}
  virtual void FormCloseQuery(bool& CanClose) { CanClose = true; }
  virtual void FormDestroy() {}
  // WheelDelta: positive when the wheel turns away from the user.
  virtual void FormMouseWheel(int WheelDelta, bool& Handled) {
    (void)WheelDelta;
    (void)Handled;
  }
  // Returns true when the form handled the message.
  virtual bool Dispatch(TMessage& Message) {
    (void)Message;
    return false;
  }

  void AttachHost(IFormHost* Host) { FHost = Host; }
  void Close() {
    if (FHost != nullptr) FHost->RequestClose();
  }

protected:
  [[nodiscard]] IFormHost* Host() const { return FHost; }

private:
  IFormHost* FHost = nullptr;
};

}  // namespace ui
