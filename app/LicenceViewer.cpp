// The licence list's viewer: the mouse wheel and a painted scrollbar move the
// list's current line; the list scrolls only as far as that line needs.
#include "app/KIVWindow.h"

#include <algorithm>

#include "app/PageArithmetic.h"

namespace app {
namespace {

constexpr int ThumbHeight = 30;
constexpr int DefaultGrabOffset = ThumbHeight / 2;
constexpr ui::TColor TrackColour = ui::clWhite;
constexpr ui::TColor ThumbColour = 0xCCCCCC;

}  // namespace

void TKIVWindow::SetCurrentLine(int Line) {
  const int Last = static_cast<int>(EULA.Items.size()) - 1;
  EULA.ItemIndex = std::clamp(Line, 0, std::max(Last, 0));
}

void TKIVWindow::FormMouseWheel(int WheelDelta, bool& /*Handled*/) {
  if (Notebook1.PageIndex != 0) return;
  // One line per wheel event; turning away from the user moves up.
  const int Sign = (WheelDelta > 0) - (WheelDelta < 0);
  SetCurrentLine(EULA.ItemIndex - Sign);
}

void TKIVWindow::pbScrollbarPaint(ui::TPaintBox& Sender, ui::ICanvas& Canvas) {
  // The same white whether or not the pointer is over the scrollbar (its tag).
  Canvas.FillRect({0, 0, Sender.Bounds.Width, Sender.Bounds.Height}, TrackColour);
  FThumbTop = ThumbTop(EULA.ItemIndex, static_cast<int>(EULA.Items.size()), Sender.Bounds.Height - ThumbHeight);
  Canvas.FillRect({0, FThumbTop, Sender.Bounds.Width, ThumbHeight}, ThumbColour);
}

void TKIVWindow::pbScrollbarMouseDown(ui::TControl& /*Sender*/, ui::TMouseButton /*Button*/, int /*X*/, int Y) {
  // On the thumb it moves without a jump; elsewhere its middle jumps to the pointer.
  const bool OnThumb = FThumbTop >= 0 && Y >= FThumbTop && Y <= FThumbTop + ThumbHeight;
  FThumbGrabOffset = OnThumb ? Y - FThumbTop : DefaultGrabOffset;
  PositionFromScrollbar(Y);
}

void TKIVWindow::pbScrollbarMouseMove(ui::TControl& /*Sender*/, bool LeftHeld, int /*X*/, int Y) {
  if (LeftHeld) PositionFromScrollbar(Y);
}

void TKIVWindow::PositionFromScrollbar(int Y) {
  SetCurrentLine(
      LineAtThumb(Y, FThumbGrabOffset, static_cast<int>(EULA.Items.size()), pbScrollbar.Bounds.Height - ThumbHeight));
}

void TKIVWindow::pbScrollbarMouseEnter(ui::TControl& Sender) { Sender.Tag = 1; }

void TKIVWindow::pbScrollbarMouseLeave(ui::TControl& Sender) { Sender.Tag = 0; }

}  // namespace app
