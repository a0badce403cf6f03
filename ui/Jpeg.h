#pragma once

#include <cstddef>
#include <optional>

#include "ui/Bitmap.h"

namespace ui {

// Decodes a baseline or progressive JPEG; nothing for data that is not one.
[[nodiscard]] std::optional<TBitmap32> DecodeJpeg(const unsigned char* Data, std::size_t Size);

}  // namespace ui
