#include "ui/Pictures.h"

namespace ui {

const TBitmap32* TPictureCache::Get(const std::string& Name) {
  auto Found = FDecoded.find(Name);
  if (Found == FDecoded.end()) {
    const std::string_view Data = FBytes(Name);
    std::optional<TBitmap32> Picture;
    if (!Data.empty()) Picture = FDecoder.Decode(reinterpret_cast<const unsigned char*>(Data.data()), Data.size());
    Found = FDecoded.emplace(Name, std::move(Picture)).first;
  }
  return Found->second ? &*Found->second : nullptr;
}

}  // namespace ui
