// The owner-drawn list boxes: real child windows, kept in line with their models.
#include "ui/win/FormHost_win.h"

namespace ui::win {
namespace {

constexpr int FirstListId = 100;

}  // namespace

HWND TFormHost::ListHandle(const TListBox& List) const {
  for (const TList& Entry : FLists) {
    if (Entry.Model == &List) return Entry.Window.Get();
  }
  return nullptr;
}

void TFormHost::CreateLists() {
  int Id = FirstListId;
  for (TPage* Page : FForm.Pages().Pages) {
    for (TControl* Control : Page->Controls) {
      auto* List = dynamic_cast<TListBox*>(Control);
      if (List == nullptr) continue;
      // No WS_VSCROLL: the list scrolls only as its owner asks.
      const DWORD Style = WS_CHILD | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY;
      const TRect B = Scaled(List->Bounds, FDpi);
      HWND Window = ::CreateWindowExW(0, L"LISTBOX", L"", Style, B.Left, B.Top, B.Width, B.Height, FWindow.Get(),
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(Id++)), FInstance, nullptr);
      // Subclassed through the window procedure, which needs no common-controls library.
      ::SetWindowLongPtrW(Window, GWLP_USERDATA, ::GetWindowLongPtrW(Window, GWLP_WNDPROC));
      ::SetWindowLongPtrW(Window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TFormHost::ListProc));
      ::SendMessageW(Window, LB_SETITEMHEIGHT, 0, Scaled(List->ItemHeight, FDpi));
      FLists.push_back({List, platform::win::TWindow(Window), 0, -1, {}});
    }
  }
}

void TFormHost::SyncLists() {
  const TPage& Active = FForm.Pages().ActivePage();
  for (TList& Entry : FLists) {
    HWND Window = Entry.Window.Get();
    const std::vector<std::string>& Items = Entry.Model->Items;
    if (Entry.ItemsShown != Items.size()) {
      ::SendMessageW(Window, WM_SETREDRAW, FALSE, 0);
      ::SendMessageW(Window, LB_RESETCONTENT, 0, 0);
      for (const std::string& Item : Items) {
        const std::wstring Wide = Widen(Item, 1252);
        ::SendMessageW(Window, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide.c_str()));
      }
      ::SendMessageW(Window, WM_SETREDRAW, TRUE, 0);
      Entry.ItemsShown = Items.size();
      Entry.IndexShown = -1;
    }
    if (Entry.IndexShown != Entry.Model->ItemIndex) {
      // Selecting a line scrolls the list by the least amount that shows it.
      ::SendMessageW(Window, LB_SETCURSEL, static_cast<WPARAM>(Entry.Model->ItemIndex), 0);
      Entry.IndexShown = Entry.Model->ItemIndex;
    }
    bool OnActivePage = false;
    for (const TControl* Control : Active.Controls) OnActivePage = OnActivePage || Control == Entry.Model;
    const bool Shown = OnActivePage && Entry.Model->Visible;
    if ((::IsWindowVisible(Window) != FALSE) != Shown) ::ShowWindow(Window, Shown ? SW_SHOWNA : SW_HIDE);
  }
}

void TFormHost::OnDrawItem(const DRAWITEMSTRUCT& Item) {
  for (TList& Entry : FLists) {
    if (Entry.Window.Get() != Item.hwndItem || !Entry.Model->OnDrawItem) continue;
    const RECT& R = Item.rcItem;
    TGdiCanvas Canvas(Item.hDC, FFonts, FContrast);
    const int Saved = ::SaveDC(Item.hDC);
    if (FDpi != DesignDpi) {
      // The row is drawn in the design's pixels, which may begin a pixel above the
      // item: kept to the item, and filled whole so that rounding leaves no stale line.
      ::IntersectClipRect(Item.hDC, R.left, R.top, R.right, R.bottom);
      FillBox(Item.hDC, FromRect(R), FillColour(Entry.Model->Color));
      ScaleDc(Item.hDC);
    }
    const int Left = Unscaled(R.left, FDpi);
    const int Top = Unscaled(R.top, FDpi);
    try {
      Entry.Model->OnDrawItem(*Entry.Model, Canvas, static_cast<int>(Item.itemID),
                              {Left, Top, Unscaled(R.right, FDpi) - Left, Unscaled(R.bottom, FDpi) - Top});
    } catch (...) {
      // A paint that fails leaves the row as it was; there is nobody to tell.
    }
    ::RestoreDC(Item.hDC, Saved);
  }
}

void TFormHost::ForgetLists() {
  for (TList& Entry : FLists) {
    if (Entry.Accessible) Entry.Accessible->Detach();
  }
  FLists.clear();
}

LRESULT CALLBACK TFormHost::ListProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
  // Typing does not search the list.
  if (Msg == WM_CHAR) return 0;
  if (Msg == WM_GETOBJECT && static_cast<LONG>(static_cast<DWORD>(LParam)) == OBJID_CLIENT) {
    auto* Host = reinterpret_cast<TFormHost*>(::GetWindowLongPtrW(::GetParent(Window), GWLP_USERDATA));
    for (std::size_t i = 0; Host != nullptr && i < Host->FLists.size(); ++i) {
      if (Host->FLists[i].Window.Get() != Window) continue;
      if (TAccessibleList* Object = Host->ListObject(*Host->FLists[i].Model)) return Object->Answer(WParam);
    }
  }
  // The wheel belongs to the form, which moves the current line one step at a time.
  // So do the keys: the form moves the focus and hands the list its navigation keys back.
  if (Msg == WM_MOUSEWHEEL || Msg == WM_KEYDOWN) return ::SendMessageW(::GetParent(Window), Msg, WParam, LParam);
  const auto ClassProc = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(Window, GWLP_USERDATA));
  return ::CallWindowProcW(ClassProc, Window, Msg, WParam, LParam);
}

}  // namespace ui::win
