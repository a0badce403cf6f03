#include "platform/win/Resources_win.h"

namespace platform::win {
namespace {

std::optional<std::string_view> Find(HMODULE Module, const std::string& Name) {
  HRSRC Info = ::FindResourceA(Module, Name.c_str(), MAKEINTRESOURCEA(10));  // RT_RCDATA
  if (Info == nullptr) return std::nullopt;
  HGLOBAL Loaded = ::LoadResource(Module, Info);
  const void* Data = Loaded != nullptr ? ::LockResource(Loaded) : nullptr;
  if (Data == nullptr) return std::nullopt;
  // Resources live as long as the module; there is nothing to free on Win32.
  return std::string_view(static_cast<const char*>(Data), ::SizeofResource(Module, Info));
}

}  // namespace

std::string_view RcData(HMODULE Module, const std::string& Name) { return Find(Module, Name).value_or(""); }

std::optional<std::string> TWinResources::RcData(const std::string& Name) {
  const std::optional<std::string_view> Data = Find(FModule, Name);
  if (!Data) return std::nullopt;
  return std::string(*Data);
}

}  // namespace platform::win
