// Mouse routing: presses, releases and moves go to the topmost control under the
// pointer, or to the one that captured it.
#include "ui/win/FormHost_win.h"

namespace ui::win {
namespace {

TMouseButton ButtonOf(UINT Msg) {
  switch (Msg) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      return TMouseButton::Right;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
      return TMouseButton::Middle;
    default:
      return TMouseButton::Left;
  }
}

bool IsButtonDown(UINT Msg) { return Msg == WM_LBUTTONDOWN || Msg == WM_RBUTTONDOWN || Msg == WM_MBUTTONDOWN; }

}  // namespace

void TFormHost::OnMouseButton(UINT Msg, int X, int Y) {
  const TMouseButton Button = ButtonOf(Msg);
  if (IsButtonDown(Msg)) {
    FCaptured = FForm.Pages().ActivePage().ControlAt(X, Y);
    if (FCaptured == nullptr) return;
    ::SetCapture(FWindow.Get());
    if (FCaptured->OnMouseDown) {
      TControl& Target = *FCaptured;
      Guarded([&] { Target.OnMouseDown(Target, Button, X - Target.Bounds.Left, Y - Target.Bounds.Top); });
    }
    return;
  }
  TControl* Target = FCaptured != nullptr ? FCaptured : FForm.Pages().ActivePage().ControlAt(X, Y);
  FCaptured = nullptr;
  if (::GetCapture() == FWindow.Get()) ::ReleaseCapture();
  if (Target == nullptr) return;
  const bool Inside = Target->Bounds.Contains(X, Y);
  Guarded([&] {
    if (Target->OnMouseUp) Target->OnMouseUp(*Target, Button, X - Target->Bounds.Left, Y - Target->Bounds.Top);
    // A click is a left press and release on the same control; the release may have changed the page.
    if (Button == TMouseButton::Left && Inside && Target->OnClick) Target->OnClick(*Target);
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
