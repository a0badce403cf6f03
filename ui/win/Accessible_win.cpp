#include "ui/win/Accessible_win.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "platform/win/SystemLibrary_win.h"
#include "ui/win/FormHost_win.h"
#include "ui/win/Gdi_win.h"

namespace ui::win {
namespace {

// oleacc.dll is not a known DLL: it comes from System32 and stays for the process.
struct TOleAcc {
  platform::win::TModule Module;
  decltype(&::LresultFromObject) LresultFromObject = nullptr;
  decltype(&::CreateStdAccessibleObject) CreateStdAccessibleObject = nullptr;
};

// Only the GUI thread asks, so the first use loads it without a guard.
TOleAcc GOleAcc;
bool GOleAccTried = false;

const TOleAcc& OleAcc() {
  if (!std::exchange(GOleAccTried, true)) {
    GOleAcc.Module = platform::win::LoadSystemLibrary(L"oleacc.dll");
    GOleAcc.LresultFromObject =
        platform::win::EntryPoint<decltype(GOleAcc.LresultFromObject)>(GOleAcc.Module.Get(), "LresultFromObject");
    GOleAcc.CreateStdAccessibleObject = platform::win::EntryPoint<decltype(GOleAcc.CreateStdAccessibleObject)>(
        GOleAcc.Module.Get(), "CreateStdAccessibleObject");
  }
  return GOleAcc;
}

long RoleOf(TRole Role) {
  switch (Role) {
    case TRole::Button:
      return ROLE_SYSTEM_PUSHBUTTON;
    case TRole::Link:
      return ROLE_SYSTEM_LINK;
    case TRole::ProgressBar:
      return ROLE_SYSTEM_PROGRESSBAR;
    case TRole::List:
      return ROLE_SYSTEM_LIST;
    default:
      return ROLE_SYSTEM_STATICTEXT;
  }
}

HRESULT Text(const std::string& Value, unsigned CodePage, BSTR* Out) {
  if (Out == nullptr) return E_POINTER;
  *Out = nullptr;
  if (Value.empty()) return S_FALSE;
  *Out = ::SysAllocString(Widen(Value, CodePage).c_str());
  return *Out != nullptr ? S_OK : E_OUTOFMEMORY;
}

// UI Automation's LiveSetting property; its value 1 is Polite.
constexpr GUID LiveSetting{0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};

HRESULT ChildId(long Id, VARIANT* Out) {
  if (Out == nullptr) return E_POINTER;
  ::VariantInit(Out);
  if (Id < 0) return S_FALSE;
  Out->vt = VT_I4;
  Out->lVal = Id;
  return S_OK;
}

}  // namespace

platform::win::TComPtr<TAccessibleClient> TAccessibleClient::Create(TFormHost& Host) {
  platform::win::TComPtr<TAccessibleClient> Client;
  if (OleAcc().LresultFromObject == nullptr) return Client;
  // COM counts the references from here; the last Release deletes the object.
  *Client.Out() = std::make_unique<TAccessibleClient>(Host).release();
  return Client;
}

LRESULT AnswerGetObject(IAccessible& Object, WPARAM Flags) {
  return OleAcc().LresultFromObject(__uuidof(IAccessible), Flags, &Object);
}

void TAccessibleClient::Notify(HWND Window, DWORD Event, long Child) {
  ::NotifyWinEvent(Event, Window, OBJID_CLIENT, Child);
}

void TLiveRegions::Announce(HWND Window, long Child) {
  if (!FAnnotations) {
    (void)::CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                             FAnnotations.Out());
  }
  VARIANT Polite{};
  Polite.vt = VT_I4;
  Polite.lVal = 1;
  if (FAnnotations &&
      SUCCEEDED(FAnnotations->SetHwndProp(Window, static_cast<DWORD>(OBJID_CLIENT), Child, LiveSetting, Polite))) {
    FAnnotated = std::max(FAnnotated, Child);
  }
  TAccessibleClient::Notify(Window, EventLiveRegionChanged, Child);
}

void TLiveRegions::Forget(HWND Window) {
  for (; FAnnotated > 0; --FAnnotated) {
    (void)FAnnotations->ClearHwndProps(Window, static_cast<DWORD>(OBJID_CLIENT), FAnnotated, &LiveSetting, 1);
  }
}

IAccessible* TAccessibleClient::Standard() {
  if (!FStandard && FHost != nullptr && OleAcc().CreateStdAccessibleObject != nullptr) {
    (void)OleAcc().CreateStdAccessibleObject(FHost->Handle(), OBJID_CLIENT, __uuidof(IAccessible), FStandard.Out());
  }
  return FStandard.Get();
}

const TAccessibleItem* TAccessibleClient::ItemOf(const VARIANT& Child, HRESULT& Error) {
  Error = S_OK;
  if (FHost == nullptr) {
    Error = RPC_E_DISCONNECTED;
    return nullptr;
  }
  if (Child.vt != VT_I4) {
    Error = E_INVALIDARG;
    return nullptr;
  }
  if (Child.lVal == CHILDID_SELF) return nullptr;
  FItems = FHost->Items();
  if (Child.lVal < 1 || static_cast<std::size_t>(Child.lVal) > FItems.size()) {
    Error = E_INVALIDARG;
    return nullptr;
  }
  return &FItems[static_cast<std::size_t>(Child.lVal) - 1];
}

// A query about a child is answered from its item; one about the client itself
// by the window's standard object.
template <typename TSelf, typename TChild>
HRESULT TAccessibleClient::ForChild(const VARIANT& Child, TSelf&& Self, TChild&& OnItem) {
  HRESULT Error = S_OK;
  const TAccessibleItem* Item = ItemOf(Child, Error);
  if (FAILED(Error)) return Error;
  if (Item == nullptr) return Standard() != nullptr ? Self(*Standard()) : E_FAIL;
  return OnItem(*Item);
}

HRESULT TAccessibleClient::get_accParent(IDispatch** Parent) {
  if (FHost == nullptr) return RPC_E_DISCONNECTED;
  return Standard() != nullptr ? Standard()->get_accParent(Parent) : E_FAIL;
}

HRESULT TAccessibleClient::get_accChildCount(long* Count) {
  if (Count == nullptr) return E_POINTER;
  if (FHost == nullptr) return RPC_E_DISCONNECTED;
  *Count = static_cast<long>(FHost->Items().size());
  return S_OK;
}

HRESULT TAccessibleClient::get_accChild(VARIANT Child, IDispatch** Object) {
  if (Object == nullptr) return E_POINTER;
  *Object = nullptr;
  HRESULT Error = S_OK;
  const TAccessibleItem* Item = ItemOf(Child, Error);
  if (FAILED(Error)) return Error;
  if (Item == nullptr) return E_INVALIDARG;
  // A list is a window of its own, with the system's object for its lines.
  TAccessibleList* List = FHost->ListObject(*Item->Control);
  if (List == nullptr) return S_FALSE;
  return List->QueryInterface(__uuidof(IDispatch), reinterpret_cast<void**>(Object));
}

HRESULT TAccessibleClient::get_accName(VARIANT Child, BSTR* Name) {
  return ForChild(
      Child, [&](IAccessible& Self) { return Self.get_accName(Child, Name); },
      [&](const TAccessibleItem& Item) -> HRESULT { return Text(Item.Name, Item.CodePage, Name); });
}

HRESULT TAccessibleClient::get_accValue(VARIANT Child, BSTR* Value) {
  return ForChild(
      Child, [&](IAccessible& Self) { return Self.get_accValue(Child, Value); },
      [&](const TAccessibleItem& Item) -> HRESULT { return Text(Item.Value, Item.CodePage, Value); });
}

HRESULT TAccessibleClient::get_accDescription(VARIANT Child, BSTR* Description) {
  return ForChild(
      Child, [&](IAccessible& Self) { return Self.get_accDescription(Child, Description); },
      [&](const TAccessibleItem&) -> HRESULT { return Text({}, 0, Description); });
}

HRESULT TAccessibleClient::get_accRole(VARIANT Child, VARIANT* Role) {
  return ForChild(
      Child, [&](IAccessible& Self) { return Self.get_accRole(Child, Role); },
      [&](const TAccessibleItem& Item) -> HRESULT { return ChildId(RoleOf(Item.Role), Role); });
}

HRESULT TAccessibleClient::get_accState(VARIANT Child, VARIANT* State) {
  return ForChild(
      Child, [&](IAccessible& Self) { return Self.get_accState(Child, State); },
      [&](const TAccessibleItem& Item) -> HRESULT {
        long Flags = 0;
        if (IsAction(Item.Role)) Flags |= STATE_SYSTEM_FOCUSABLE;
        if (Item.Control == FHost->Focused()) Flags |= STATE_SYSTEM_FOCUSED;
        if (Item.Unavailable) Flags |= STATE_SYSTEM_UNAVAILABLE;
        if (Item.Role == TRole::Link) Flags |= STATE_SYSTEM_LINKED;
        if (Item.Role == TRole::Text || Item.Role == TRole::ProgressBar) Flags |= STATE_SYSTEM_READONLY;
        return ChildId(Flags, State);
      });
}

HRESULT TAccessibleClient::get_accHelp(VARIANT Child, BSTR* Help) {
  return ForChild(
      Child, [&](IAccessible& Self) { return Self.get_accHelp(Child, Help); },
      [&](const TAccessibleItem&) -> HRESULT { return Text({}, 0, Help); });
}

HRESULT TAccessibleClient::get_accHelpTopic(BSTR* File, VARIANT Child, long* Topic) {
  return ForChild(
      Child, [&](IAccessible& Self) { return Self.get_accHelpTopic(File, Child, Topic); },
      [&](const TAccessibleItem&) -> HRESULT { return DISP_E_MEMBERNOTFOUND; });
}

HRESULT TAccessibleClient::get_accKeyboardShortcut(VARIANT Child, BSTR* Shortcut) {
  return ForChild(
      Child, [&](IAccessible& Self) { return Self.get_accKeyboardShortcut(Child, Shortcut); },
      [&](const TAccessibleItem&) -> HRESULT { return Text({}, 0, Shortcut); });
}

HRESULT TAccessibleClient::get_accDefaultAction(VARIANT Child, BSTR* Action) {
  return ForChild(
      Child, [&](IAccessible& Self) { return Self.get_accDefaultAction(Child, Action); },
      [&](const TAccessibleItem& Item) -> HRESULT {
        if (Item.Role == TRole::Button) return Text("Press", 1252, Action);
        if (Item.Role == TRole::Link) return Text("Jump", 1252, Action);
        return Text({}, 0, Action);
      });
}

HRESULT TAccessibleClient::get_accFocus(VARIANT* Child) {
  if (FHost == nullptr) return RPC_E_DISCONNECTED;
  const std::vector<TAccessibleItem> Items = FHost->Items();
  for (std::size_t i = 0; i < Items.size(); ++i) {
    if (Items[i].Control == FHost->Focused()) return ChildId(static_cast<long>(i + 1), Child);
  }
  return ChildId(-1, Child);
}

HRESULT TAccessibleClient::get_accSelection(VARIANT* Children) { return ChildId(-1, Children); }

HRESULT TAccessibleClient::accSelect(long Flags, VARIANT Child) {
  if ((Flags & ~SELFLAG_VALID) != 0) return E_INVALIDARG;
  return ForChild(
      Child, [&](IAccessible& Self) { return Self.accSelect(Flags, Child); },
      [&](const TAccessibleItem& Item) -> HRESULT {
        if (!FHost->TakesInput()) return E_FAIL;
        // A grey action is passed over, as the keyboard passes over it.
        if ((Flags & SELFLAG_TAKEFOCUS) == 0 || !IsAction(Item.Role) || Item.Unavailable) return S_FALSE;
        FHost->TakeFocus(*Item.Control);
        return S_OK;
      });
}

HRESULT TAccessibleClient::accLocation(long* Left, long* Top, long* Width, long* Height, VARIANT Child) {
  return ForChild(
      Child, [&](IAccessible& Self) { return Self.accLocation(Left, Top, Width, Height, Child); },
      [&](const TAccessibleItem& Item) -> HRESULT {
        if (Left == nullptr || Top == nullptr || Width == nullptr || Height == nullptr) return E_POINTER;
        const TRect Bounds = Scaled(Item.Control->Bounds, FHost->Dpi());
        POINT Corner{Bounds.Left, Bounds.Top};
        ::ClientToScreen(FHost->Handle(), &Corner);
        *Left = Corner.x;
        *Top = Corner.y;
        *Width = Bounds.Width;
        *Height = Bounds.Height;
        return S_OK;
      });
}

HRESULT TAccessibleClient::accNavigate(long Direction, VARIANT Start, VARIANT* End) {
  return ForChild(
      Start, [&](IAccessible& Self) { return Self.accNavigate(Direction, Start, End); },
      [&](const TAccessibleItem&) -> HRESULT {
        const long Count = static_cast<long>(FItems.size());
        const long Here = Start.lVal;
        switch (Direction) {
          case NAVDIR_NEXT:
            return ChildId(Here < Count ? Here + 1 : -1, End);
          case NAVDIR_PREVIOUS:
            return ChildId(Here > 1 ? Here - 1 : -1, End);
          default:
            return ChildId(-1, End);
        }
      });
}

HRESULT TAccessibleClient::accHitTest(long Left, long Top, VARIANT* Child) {
  if (FHost == nullptr) return RPC_E_DISCONNECTED;
  POINT Point{Left, Top};
  ::ScreenToClient(FHost->Handle(), &Point);
  RECT Client{};
  ::GetClientRect(FHost->Handle(), &Client);
  if (!::PtInRect(&Client, Point)) return ChildId(-1, Child);
  const std::vector<TAccessibleItem> Items = FHost->Items();
  const int X = Unscaled(Point.x, FHost->Dpi());
  const int Y = Unscaled(Point.y, FHost->Dpi());
  for (std::size_t i = 0; i < Items.size(); ++i) {
    if (FocusBox(*Items[i].Control).Contains(X, Y)) return ChildId(static_cast<long>(i + 1), Child);
  }
  return ChildId(CHILDID_SELF, Child);
}

HRESULT TAccessibleClient::accDoDefaultAction(VARIANT Child) {
  return ForChild(
      Child, [&](IAccessible& Self) { return Self.accDoDefaultAction(Child); },
      [&](const TAccessibleItem& Item) -> HRESULT {
        if (Item.Role != TRole::Button && Item.Role != TRole::Link) return DISP_E_MEMBERNOTFOUND;
        // A modal box of the form's is open: no click reaches the window, nor does this.
        if (!FHost->TakesInput()) return E_FAIL;
        FHost->Activate(*Item.Control);
        return S_OK;
      });
}

platform::win::TComPtr<TAccessibleList> TAccessibleList::Create(TFormHost& Host, HWND Window, const TControl& List) {
  platform::win::TComPtr<TAccessibleList> Object;
  platform::win::TComPtr<IAccessible> Standard;
  if (OleAcc().CreateStdAccessibleObject == nullptr ||
      FAILED(OleAcc().CreateStdAccessibleObject(Window, OBJID_CLIENT, __uuidof(IAccessible), Standard.Out())) ||
      !Standard) {
    return Object;
  }
  *Object.Out() = std::make_unique<TAccessibleList>(Host, Window, List, std::move(Standard)).release();
  return Object;
}

long TAccessibleList::FocusedChild() const {
  if (FHost == nullptr || FHost->Focused() != &FList) return 0;
  const LRESULT Line = ::SendMessageW(FWindow, LB_GETCURSEL, 0, 0);
  return Line == LB_ERR ? 0 : static_cast<long>(Line) + 1;
}

HRESULT TAccessibleList::get_accName(VARIANT Child, BSTR* Name) {
  if (FHost == nullptr) return RPC_E_DISCONNECTED;
  if (Child.vt != VT_I4 || Child.lVal != CHILDID_SELF) return FStandard->get_accName(Child, Name);
  for (const TAccessibleItem& Item : FHost->Items()) {
    if (Item.Control == &FList) return Text(Item.Name, Item.CodePage, Name);
  }
  return Text({}, 0, Name);
}

HRESULT TAccessibleList::get_accState(VARIANT Child, VARIANT* State) {
  const HRESULT Result = Forward(&IAccessible::get_accState, Child, State);
  if (Result != S_OK || State == nullptr || State->vt != VT_I4 || Child.vt != VT_I4) return Result;
  const long Focused = FocusedChild();
  if (Focused != 0 && (Child.lVal == CHILDID_SELF || Child.lVal == Focused)) State->lVal |= STATE_SYSTEM_FOCUSED;
  return Result;
}

HRESULT TAccessibleList::get_accFocus(VARIANT* Child) {
  if (FHost == nullptr) return RPC_E_DISCONNECTED;
  const long Focused = FocusedChild();
  return Focused != 0 ? ChildId(Focused, Child) : FStandard->get_accFocus(Child);
}

}  // namespace ui::win
