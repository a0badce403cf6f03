// The window's client area as assistive technology reads it (MSAA): an
// IAccessible whose children are the active page's controls, as the portable
// side describes them. oleacc.dll is loaded from System32 when first asked.
#pragma once

#include <oleacc.h>
#include <windows.h>

#include <atomic>
#include <vector>

#include "platform/win/ComPtr.h"
#include "ui/Accessibility.h"

namespace ui::win {

class TFormHost;

// A COM object is deleted by its own Release, never through its interface.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class TAccessibleClient final : public IAccessible {
 public:
  // Nothing when oleacc.dll is missing.
  [[nodiscard]] static platform::win::TComPtr<TAccessibleClient> Create(TFormHost& Host);
  // The answer to WM_GETOBJECT for the client area.
  [[nodiscard]] LRESULT Answer(WPARAM Flags);
  // After this every call fails: clients may hold the object longer than the window lives.
  void Detach() { FHost = nullptr; }
  // Raises Event for the child at Index of the current items (or the client itself).
  static void Notify(HWND Window, DWORD Event, long Child);

  explicit TAccessibleClient(TFormHost& Host) : FHost(&Host) {}
  ~TAccessibleClient() = default;
  TAccessibleClient(const TAccessibleClient&) = delete;
  TAccessibleClient& operator=(const TAccessibleClient&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Id, void** Object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* Count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

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
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 private:
  // The window's own object, which answers for the client area itself.
  [[nodiscard]] IAccessible* Standard();
  // The item a child id names; nullptr for the client itself or an unknown id.
  [[nodiscard]] const TAccessibleItem* ItemOf(const VARIANT& Child, HRESULT& Error);
  template <typename TSelf, typename TChild>
  HRESULT ForChild(const VARIANT& Child, TSelf&& Self, TChild&& OnItem);

  std::atomic<ULONG> FReferences{1};
  TFormHost* FHost;
  std::vector<TAccessibleItem> FItems;  // as of the last call that named a child
  platform::win::TComPtr<IAccessible> FStandard;
};
#pragma GCC diagnostic pop

}  // namespace ui::win
