#include "ui/win/Resources_win.h"

#include "platform/win/Resources_win.h"
#include "ui/Jpeg.h"

namespace ui::win {

std::optional<TBitmap32> LoadJpegResource(HMODULE Module, const std::string& Name) {
  const std::string_view Bytes = platform::win::RcData(Module, Name);
  if (Bytes.empty()) return std::nullopt;
  return DecodeJpeg(reinterpret_cast<const unsigned char*>(Bytes.data()), Bytes.size());
}

}  // namespace ui::win
