// File paths, and the one rule for their folder part.
#pragma once

#include <string>

namespace platform {

// File paths are UTF-16 so that a profile folder outside the ANSI code page works.
using TPath = std::wstring;

// Everything up to and including the last backslash or colon; empty when there is neither.
[[nodiscard]] inline TPath FolderPart(const TPath& Path) {
  const std::size_t Last = Path.find_last_of(L"\\:");
  return Last == TPath::npos ? TPath() : Path.substr(0, Last + 1);
}

}  // namespace platform
