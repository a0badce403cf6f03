#include "platform/win/FlashProbe_win.h"

#include <windows.h>
#include <oaidl.h>
#include <objbase.h>
#include <oleauto.h>

#include "platform/win/ComPtr.h"

namespace platform::win {
namespace {

constexpr CLSID ShockwaveFlashClass = {0xD27CDB6E, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
constexpr IID ShockwaveFlashInterface = {0xD27CDB6C, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

}  // namespace

std::optional<std::int32_t> TWinFlashProbe::FlashVersion() {
  TComPtr<IUnknown> Control;
  if (FAILED(::CoCreateInstance(ShockwaveFlashClass, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, Control.Out()))) {
    return std::nullopt;
  }
  // IShockwaveFlash is a dual interface: FlashVersion is reached through its dispatch part.
  TComPtr<IDispatch> Flash;
  if (FAILED(Control->QueryInterface(ShockwaveFlashInterface, Flash.Out())) || !Flash) return std::nullopt;
  wchar_t Name[] = L"FlashVersion";
  LPOLESTR Names[] = {Name};
  DISPID Id = 0;
  if (FAILED(Flash->GetIDsOfNames(IID_NULL, Names, 1, LOCALE_USER_DEFAULT, &Id))) return std::nullopt;
  DISPPARAMS NoArguments{};
  TVariant Result;
  if (FAILED(Flash->Invoke(Id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &NoArguments, &Result.Value, nullptr,
                           nullptr)) ||
      FAILED(::VariantChangeType(&Result.Value, &Result.Value, 0, VT_I4))) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(Result.Value.lVal);
}

}  // namespace platform::win
