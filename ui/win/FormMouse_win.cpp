// Mouse routing: presses, releases and moves go to the topmost control under the
// pointer, or to the one that captured it.
#include "ui/win/FormHost_win.h"

#include <utility>

namespace ui::win {
namespace {

TMouseButton ButtonOf(UINT Msg) {
  switch (Msg) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_RBUTTONUP:
      return TMouseButton::Right;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_MBUTTONUP:
      return TMouseButton::Middle;
    default:
      return TMouseButton::Left;
  }
}

bool IsSinglePress(UINT Msg) { return Msg == WM_LBUTTONDOWN || Msg == WM_RBUTTONDOWN || Msg == WM_MBUTTONDOWN; }

bool IsDoublePress(UINT Msg) { return Msg == WM_LBUTTONDBLCLK || Msg == WM_RBUTTONDBLCLK || Msg == WM_MBUTTONDBLCLK; }

}  // namespace

void TFormHost::OnMouseButton(UINT Msg, int X, int Y) {
  const TMouseButton Button = ButtonOf(Msg);
  const int Page = FForm.Pages().PageIndex;
  if (IsSinglePress(Msg) || IsDoublePress(Msg)) {
    FCaptured = FForm.Pages().ActivePage().ControlAt(X, Y);
    // The second press of a double-click is a press of its own, never the start of a click.
    FPressPage = IsSinglePress(Msg) ? Page : -1;
    if (FCaptured == nullptr) return;
    // A pressed action takes the keyboard focus, as a pressed button does.
    if (IsAction(FCaptured->Role) && FForm.IsActionAvailable(*FCaptured)) MoveFocus(FCaptured);
    ::SetCapture(FWindow.Get());
    if (FCaptured->OnMouseDown) {
      TControl& Target = *FCaptured;
      Guarded([&] { Target.OnMouseDown(Target, Button, X - Target.Bounds.Left, Y - Target.Bounds.Top); });
    }
    return;
  }
  TControl* Target = FCaptured != nullptr ? FCaptured : FForm.Pages().ActivePage().ControlAt(X, Y);
  const bool Clicks = FCaptured != nullptr && std::exchange(FPressPage, -1) == Page && Button == TMouseButton::Left;
  FCaptured = nullptr;
  if (::GetCapture() == FWindow.Get()) ::ReleaseCapture();
  if (Target == nullptr) return;
  const bool Inside = Target->Bounds.Contains(X, Y);
  Guarded([&] {
    if (Target->OnMouseUp) Target->OnMouseUp(*Target, Button, X - Target->Bounds.Left, Y - Target->Bounds.Top);
    // A click is a left press and release on the same control of the same page; the release may
    // have changed the page since.
    if (Clicks && Inside && Target->OnClick) Target->OnClick(*Target);
  });
}

void TFormHost::OnMouseMove(int X, int Y, bool LeftHeld) {
  if (!FTrackingLeave) {
    TRACKMOUSEEVENT Track{sizeof(Track), TME_LEAVE, FWindow.Get(), 0};
    FTrackingLeave = ::TrackMouseEvent(&Track) != FALSE;
  }
  TControl* Under = FForm.Pages().ActivePage().ControlAt(X, Y);
  if (Under != FHovered) {
    TControl* Left = FHovered;
    FHovered = Under;
    if (Left != nullptr && Left->OnMouseLeave) Guarded([&] { Left->OnMouseLeave(*Left); });
    if (Under != nullptr && Under->OnMouseEnter) Guarded([&] { Under->OnMouseEnter(*Under); });
  }
  TControl* Target = FCaptured != nullptr ? FCaptured : Under;
  if (Target != nullptr && Target->OnMouseMove) {
    Guarded([&] { Target->OnMouseMove(*Target, LeftHeld, X - Target->Bounds.Left, Y - Target->Bounds.Top); });
  }
}

}  // namespace ui::win
