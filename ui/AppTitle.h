#pragma once

#include <string>

namespace ui {

// The application's title: the executable's file name up to its first dot.
[[nodiscard]] std::wstring ApplicationTitle(const std::wstring& ModulePath);

}  // namespace ui
