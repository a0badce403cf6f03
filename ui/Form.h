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

// The message number of "erase the background", as Windows numbers it.
constexpr unsigned MsgEraseBackground = 0x0014;

// A copy-data message from another process, decoded by the host: the low 32
// bits of its number and a copy of its bytes (the sender's memory is gone after).
struct TCopyData {
  std::int32_t Code = 0;
  std::string Text;
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

// Message box styles and the answer "Yes", with the values Windows gives them.
constexpr unsigned MessageBoxYesNo = 0x04;
constexpr unsigned MessageBoxInformation = 0x40;
constexpr int MessageBoxAnswerYes = 6;

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
  // A copy-data message; the host answers it with 0.
  virtual void CopyData(const TCopyData& Data) { (void)Data; }
  // Why the window holds up a log-off or shutdown now, in Windows-1252; empty: it does not.
  [[nodiscard]] virtual std::string ShutdownBlockReason() const { return {}; }
  // Whether the form works for the user now, so that the system must not sleep (the display may).
  [[nodiscard]] virtual bool KeepsSystemAwake() const { return false; }
  // Whether an action takes input now: the keyboard passes over one that does not.
  [[nodiscard]] virtual bool IsActionAvailable(const TControl& Control) const {
    (void)Control;
    return true;
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
