#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "ui/Bitmap.h"

namespace ui::win {

[[nodiscard]] std::optional<TBitmap32> LoadJpegResource(HMODULE Module, const std::string& Name);

}  // namespace ui::win
