#include "ui/win/Resources_win.h"

#include "ui/Jpeg.h"

namespace ui::win {

std::string_view RcData(HMODULE Module, const std::string& Name) {
  HRSRC Info = ::FindResourceA(Module, Name.c_str(), MAKEINTRESOURCEA(10));  // RT_RCDATA
  if (Info == nullptr) return {};
  HGLOBAL Loaded = ::LoadResource(Module, Info);
  const void* Data = Loaded != nullptr ? ::LockResource(Loaded) : nullptr;
  if (Data == nullptr) return {};
  return {static_cast<const char*>(Data), ::SizeofResource(Module, Info)};
}

std::optional<TBitmap32> LoadJpegResource(HMODULE Module, const std::string& Name) {
  const std::string_view Bytes = RcData(Module, Name);
  if (Bytes.empty()) return std::nullopt;
  return DecodeJpeg(reinterpret_cast<const unsigned char*>(Bytes.data()), Bytes.size());
}

}  // namespace ui::win
