// The keyboard and assistive technology: a focus among the page's actions, the
// keys that move and use it, its cue, and what screen readers are told.
#include <algorithm>

#include "ui/win/FormHost_win.h"

namespace ui::win {

bool TFormHost::OnKeyDown(WPARAM Key, LPARAM Flags) {
  // A key held down repeats its press; it acts once.
  const bool Repeated = (Flags & (1 << 30)) != 0;
  switch (Key) {
    case VK_TAB:
      MoveFocus(NextFocus(FForm, FFocused, ::GetKeyState(VK_SHIFT) < 0));
      break;
    case VK_RETURN:
    case VK_SPACE:
      if (!Repeated && FFocused != nullptr && FFocused->Role != TRole::List) Press(*FFocused);
      break;
    case VK_ESCAPE:
      if (!Repeated) ::SendMessageW(FWindow.Get(), WM_SYSCOMMAND, SC_CLOSE, 0);
      return true;
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_HOME:
    case VK_END:
      if (FFocused == nullptr || FFocused->Role != TRole::List) return false;
      ScrollList(Key, Flags);
      break;
    default:
      return false;
  }
  FFocusCues = true;
  Protected([this] { AfterHandler(); });
  return true;
}

void TFormHost::MoveFocus(TControl* Control) {
  FFocused = Control;
  if (FFocusCues) ::InvalidateRect(FWindow.Get(), nullptr, FALSE);
}

void TFormHost::TakeFocus(TControl& Control) {
  MoveFocus(&Control);
  Present();
}

void TFormHost::Press(TControl& Control) {
  const int X = Control.Bounds.Width / 2;
  const int Y = Control.Bounds.Height / 2;
  Guarded([&] {
    if (Control.OnMouseDown) Control.OnMouseDown(Control, TMouseButton::Left, X, Y);
    if (Control.OnMouseUp) Control.OnMouseUp(Control, TMouseButton::Left, X, Y);
    if (Control.OnClick) Control.OnClick(Control);
  });
}

// The list moves its own current line; the model and the painted thumb follow it.
void TFormHost::ScrollList(WPARAM Key, LPARAM Flags) {
  for (TList& Entry : FLists) {
    if (Entry.Model != FFocused) continue;
    HWND Window = Entry.Window.Get();
    const auto ClassProc = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(Window, GWLP_USERDATA));
    ::CallWindowProcW(ClassProc, Window, WM_KEYDOWN, Key, Flags);
    Entry.Model->ItemIndex = static_cast<int>(::SendMessageW(Window, LB_GETCURSEL, 0, 0));
    Entry.IndexShown = Entry.Model->ItemIndex;
    // As a system list with the focus tells of its current line.
    const int Line = Entry.Model->ItemIndex;
    if (Line >= 0) ::NotifyWinEvent(EVENT_OBJECT_FOCUS, Window, OBJID_CLIENT, Line + 1);
  }
}

void TFormHost::FollowPage() {
  const int Page = FForm.Pages().PageIndex;
  const unsigned View = FForm.Pages().ActivePage().View;
  if (Page == FFocusPage && View == FFocusView) return;
  FFocusPage = Page;
  FFocusView = View;
  FFocused = FForm.Pages().ActivePage().FirstFocus;
  // A new page is new to assistive technology too: nothing on it has changed
  // yet, and the children's numbers name its own controls.
  FLive.Forget(FWindow.Get());
  FPresented.clear();
  FAnnouncedFocus = nullptr;
  TAccessibleClient::Notify(FWindow.Get(), EVENT_OBJECT_REORDER, CHILDID_SELF);
}

void TFormHost::DrawFocusCue(HDC Dc) {
  if (!FFocusCues || FFocused == nullptr || !FFocused->Visible) return;
  const std::vector<TControl*>& Shown = FForm.Pages().ActivePage().Controls;
  if (std::find(Shown.begin(), Shown.end(), FFocused) == Shown.end()) return;
  if (FContrast) {
    // Solid and two pixels wide, in the theme's own colour for what is selected.
    const TRect Box = FocusBox(*FFocused);
    OutlineBox(Dc, Box, SystemColour(TSystemColour::Highlight));
    OutlineBox(Dc, {Box.Left + 1, Box.Top + 1, Box.Width - 2, Box.Height - 2}, SystemColour(TSystemColour::Highlight));
    return;
  }
  const RECT Box = ToRect(FocusBox(*FFocused));
  ::SetTextColor(Dc, 0x000000);
  ::SetBkColor(Dc, 0xFFFFFF);
  ::DrawFocusRect(Dc, &Box);
}

void TFormHost::Present() {
  std::vector<TAccessibleItem> Now = Items();
  for (const TAccessibleChange& Change : AccessibleChanges(FPresented, Now)) {
    const DWORD Event = Change.Event == TAccessibleEvent::NameChange    ? EVENT_OBJECT_NAMECHANGE
                        : Change.Event == TAccessibleEvent::ValueChange ? EVENT_OBJECT_VALUECHANGE
                                                                        : EVENT_OBJECT_STATECHANGE;
    TAccessibleClient::Notify(FWindow.Get(), Event, static_cast<long>(Change.Index + 1));
  }
  if (FFocused != FAnnouncedFocus) {
    FAnnouncedFocus = FFocused;
    for (std::size_t i = 0; i < Now.size(); ++i) {
      if (Now[i].Control == FFocused)
        TAccessibleClient::Notify(FWindow.Get(), EVENT_OBJECT_FOCUS, static_cast<long>(i + 1));
    }
  }
  // After the focus, so that a new page's news follows its focused action.
  for (const std::size_t Index : Announcements(FPresented, Now)) {
    FLive.Announce(FWindow.Get(), static_cast<long>(Index + 1));
  }
  FPresented = std::move(Now);
}

std::vector<TAccessibleItem> TFormHost::Items() {
  std::vector<TAccessibleItem> Items = AccessibleItems(FForm);
  if (!TakesInput()) {
    for (TAccessibleItem& Item : Items) Item.Unavailable = Item.Unavailable || IsAction(Item.Role);
  }
  return Items;
}

TAccessibleList* TFormHost::ListObject(const TControl& Control) {
  for (TList& Entry : FLists) {
    if (Entry.Model != &Control) continue;
    if (!Entry.Accessible) Entry.Accessible = TAccessibleList::Create(*this, Entry.Window.Get(), Control);
    return Entry.Accessible.Get();
  }
  return nullptr;
}

}  // namespace ui::win
