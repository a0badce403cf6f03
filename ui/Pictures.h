// The page pictures: named, stored compressed, decoded when first drawn.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "ui/Bitmap.h"

namespace ui {

// Turns a compressed picture (a progressive JPEG) into pixels.
class IPictureDecoder {
public:
  virtual ~IPictureDecoder() = default;
  // Nothing for data it cannot decode.
  [[nodiscard]] virtual std::optional<TBitmap32> Decode(const unsigned char* Data, std::size_t Size) = 0;
};

// Decodes each picture once, on its first use, so that a page's pictures cost
// nothing until the page is shown. A picture that cannot be had is not tried again.
class TPictureCache {
public:
  // Bytes gives a picture's stored data by name; empty when there is none.
  TPictureCache(std::function<std::string_view(const std::string& Name)> Bytes, IPictureDecoder& Decoder)
      : FBytes(std::move(Bytes)), FDecoder(Decoder) {}
  // Nothing when the picture is missing or cannot be decoded.
  [[nodiscard]] const TBitmap32* Get(const std::string& Name);

private:
  std::function<std::string_view(const std::string& Name)> FBytes;
  IPictureDecoder& FDecoder;
  std::map<std::string, std::optional<TBitmap32>> FDecoded;
};

}  // namespace ui
