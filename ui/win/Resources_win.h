#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "ui/Bitmap.h"

namespace ui::win {

// The bytes of an RCDATA resource of Module; empty when there is none. The view
// stays valid while the module is loaded.
[[nodiscard]] std::string_view RcData(HMODULE Module, const std::string& Name);

[[nodiscard]] std::optional<TBitmap32> LoadJpegResource(HMODULE Module, const std::string& Name);

}  // namespace ui::win
