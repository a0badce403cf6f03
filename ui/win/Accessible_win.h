// The window's client area as assistive technology reads it (MSAA): an
// IAccessible whose children are the active page's controls, as the portable
// side describes them. oleacc.dll is loaded from System32 when first asked.
#pragma once

#include <oleacc.h>
#include <windows.h>

#include <atomic>
#include <utility>
#include <vector>

#include "platform/win/ComPtr.h"
#include "ui/Accessibility.h"

namespace ui::win {

class TFormHost;

// Loaded with oleacc.dll: Object as the answer to a WM_GETOBJECT of Flags.
[[nodiscard]] LRESULT AnswerGetObject(IAccessible& Object, WPARAM Flags);

// What each accessible object of the form shares: COM's reference count and
// interfaces, no type information, no writable property, and a host that may go
// before its clients let go of the object (then every call fails).
// A COM object is deleted by its own Release, never through its interface.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
template <typename TSelf>
class TAccessibleObject : public IAccessible {
 public:
  // The answer to WM_GETOBJECT for the client area this object stands for.
  [[nodiscard]] LRESULT Answer(WPARAM Flags) { return AnswerGetObject(*this, Flags); }
  void Detach() { FHost = nullptr; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Id, void** Object) override {
    if (Object == nullptr) return E_POINTER;
    *Object = nullptr;
    if (Id != __uuidof(IUnknown) && Id != __uuidof(IDispatch) && Id != __uuidof(IAccessible)) return E_NOINTERFACE;
    *Object = static_cast<IAccessible*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++FReferences; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG Left = --FReferences;
    if (Left == 0) delete static_cast<TSelf*>(this);
    return Left;
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* Count) override {
    if (Count == nullptr) return E_POINTER;
    *Count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 protected:
  explicit TAccessibleObject(TFormHost& Host) : FHost(&Host) {}
  ~TAccessibleObject() = default;
  TAccessibleObject(const TAccessibleObject&) = delete;
  TAccessibleObject& operator=(const TAccessibleObject&) = delete;

  TFormHost* FHost;

 private:
  std::atomic<ULONG> FReferences{1};
};
#pragma GCC diagnostic pop

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class TAccessibleClient final : public TAccessibleObject<TAccessibleClient> {
 public:
  // Nothing when oleacc.dll is missing.
  [[nodiscard]] static platform::win::TComPtr<TAccessibleClient> Create(TFormHost& Host);
  // Raises Event for the child at Index of the current items (or the client itself).
  static void Notify(HWND Window, DWORD Event, long Child);

  explicit TAccessibleClient(TFormHost& Host) : TAccessibleObject(Host) {}

  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** Parent) override;
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* Count) override;
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT Child, IDispatch** Object) override;
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT Child, BSTR* Name) override;
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT Child, BSTR* Value) override;
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT Child, BSTR* Description) override;
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT Child, VARIANT* Role) override;
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT Child, VARIANT* State) override;
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT Child, BSTR* Help) override;
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* File, VARIANT Child, long* Topic) override;
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT Child, BSTR* Shortcut) override;
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* Child) override;
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* Children) override;
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT Child, BSTR* Action) override;
  HRESULT STDMETHODCALLTYPE accSelect(long Flags, VARIANT Child) override;
  HRESULT STDMETHODCALLTYPE accLocation(long* Left, long* Top, long* Width, long* Height, VARIANT Child) override;
  HRESULT STDMETHODCALLTYPE accNavigate(long Direction, VARIANT Start, VARIANT* End) override;
  HRESULT STDMETHODCALLTYPE accHitTest(long Left, long Top, VARIANT* Child) override;
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT Child) override;

 private:
  // The window's own object, which answers for the client area itself.
  [[nodiscard]] IAccessible* Standard();
  // The item a child id names; nullptr for the client itself or an unknown id.
  [[nodiscard]] const TAccessibleItem* ItemOf(const VARIANT& Child, HRESULT& Error);
  template <typename TSelf, typename TChild>
  HRESULT ForChild(const VARIANT& Child, TSelf&& Self, TChild&& OnItem);

  std::vector<TAccessibleItem> FItems;  // as of the last call that named a child
  platform::win::TComPtr<IAccessible> FStandard;
};
#pragma GCC diagnostic pop

// EVENT_OBJECT_LIVEREGIONCHANGED, which Windows 8 brought (older ones pass it on unread).
constexpr DWORD EventLiveRegionChanged = 0x8019;

// The children a screen reader is told of wherever the focus is: every reader
// hears EventLiveRegionChanged, and UI Automation reads the child as a
// polite live region, annotated on the window through IAccPropServices.
class TLiveRegions {
 public:
  void Announce(HWND Window, long Child);
  // The children's numbers name other controls from now on.
  void Forget(HWND Window);

 private:
  platform::win::TComPtr<IAccPropServices> FAnnotations;  // made at the first announcement
  long FAnnotated = 0;                                     // children 1 to this may carry one
};

// A list child as assistive technology reads it: the system's own list object,
// with the name and the focus that only the form knows. The list window never
// holds the keyboard focus (the form moves it), and no label window names it.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class TAccessibleList final : public TAccessibleObject<TAccessibleList> {
 public:
  // Nothing when the system's list object cannot be made.
  [[nodiscard]] static platform::win::TComPtr<TAccessibleList> Create(TFormHost& Host, HWND Window,
                                                                      const TControl& List);

  TAccessibleList(TFormHost& Host, HWND Window, const TControl& List, platform::win::TComPtr<IAccessible> Standard)
      : TAccessibleObject(Host), FWindow(Window), FList(List), FStandard(std::move(Standard)) {}

  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** Parent) override {
    return Forward(&IAccessible::get_accParent, Parent);
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* Count) override {
    return Forward(&IAccessible::get_accChildCount, Count);
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT Child, IDispatch** Object) override {
    return Forward(&IAccessible::get_accChild, Child, Object);
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT Child, BSTR* Name) override;
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT Child, BSTR* Value) override {
    return Forward(&IAccessible::get_accValue, Child, Value);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT Child, BSTR* Description) override {
    return Forward(&IAccessible::get_accDescription, Child, Description);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT Child, VARIANT* Role) override {
    return Forward(&IAccessible::get_accRole, Child, Role);
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT Child, VARIANT* State) override;
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT Child, BSTR* Help) override {
    return Forward(&IAccessible::get_accHelp, Child, Help);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* File, VARIANT Child, long* Topic) override {
    return Forward(&IAccessible::get_accHelpTopic, File, Child, Topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT Child, BSTR* Shortcut) override {
    return Forward(&IAccessible::get_accKeyboardShortcut, Child, Shortcut);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* Child) override;
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* Children) override {
    return Forward(&IAccessible::get_accSelection, Children);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT Child, BSTR* Action) override {
    return Forward(&IAccessible::get_accDefaultAction, Child, Action);
  }
  // The form moves the current line: the system's list would not keep the form's model in step.
  HRESULT STDMETHODCALLTYPE accSelect(long, VARIANT) override { return DISP_E_MEMBERNOTFOUND; }
  HRESULT STDMETHODCALLTYPE accLocation(long* Left, long* Top, long* Width, long* Height, VARIANT Child) override {
    return Forward(&IAccessible::accLocation, Left, Top, Width, Height, Child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long Direction, VARIANT Start, VARIANT* End) override {
    return Forward(&IAccessible::accNavigate, Direction, Start, End);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long Left, long Top, VARIANT* Child) override {
    return Forward(&IAccessible::accHitTest, Left, Top, Child);
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT) override { return DISP_E_MEMBERNOTFOUND; }

 private:
  template <typename... TParams, typename... TArgs>
  HRESULT Forward(HRESULT(STDMETHODCALLTYPE IAccessible::*Method)(TParams...), TArgs... Args) {
    if (FHost == nullptr) return RPC_E_DISCONNECTED;
    return (FStandard.Get()->*Method)(Args...);
  }
  // The current line's child id while the form's focus is on the list; 0 otherwise.
  [[nodiscard]] long FocusedChild() const;

  HWND FWindow;
  const TControl& FList;
  platform::win::TComPtr<IAccessible> FStandard;
};
#pragma GCC diagnostic pop

}  // namespace ui::win
