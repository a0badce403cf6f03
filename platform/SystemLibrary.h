// Loading a DLL that is not one of the system's known DLLs: from System32 only,
// never through a search that could find a planted copy beside the program.
#pragma once

#include <cstdint>

#include "platform/Path.h"

namespace platform {

// The loader's calls, as the system offers them.
class ISystemLoader {
public:
  virtual ~ISystemLoader() = default;
  struct TLoaded {
    void* Module = nullptr;  // nothing when the load failed
    std::uint32_t Error = 0;  // the system error when it failed
  };
  // A load restricted to System32 (LOAD_LIBRARY_SEARCH_SYSTEM32).
  [[nodiscard]] virtual TLoaded LoadFromSystem32(const TPath& Name) = 0;
  // A load of one full path, searching nothing.
  [[nodiscard]] virtual TLoaded LoadFullPath(const TPath& Path) = 0;
  // The System32 folder, without a trailing backslash; empty when unknown.
  [[nodiscard]] virtual TPath SystemDirectory() = 0;
};

// Vista and 7 without update KB2533623 refuse the System32 flag as an invalid
// parameter; they get the full path under the system folder instead.
// Nothing when the library cannot be loaded from there.
[[nodiscard]] void* LoadSystemLibrary(ISystemLoader& Loader, const TPath& Name);

}  // namespace platform
