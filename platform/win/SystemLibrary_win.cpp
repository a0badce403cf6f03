#include "platform/win/SystemLibrary_win.h"

namespace platform::win {
namespace {

ISystemLoader::TLoaded Loaded(HMODULE Module) {
  return {Module, Module != nullptr ? 0u : static_cast<std::uint32_t>(::GetLastError())};
}

}  // namespace

ISystemLoader::TLoaded TWinSystemLoader::LoadFromSystem32(const TPath& Name) {
  return Loaded(::LoadLibraryExW(Name.c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
}

// The library's own dependencies are then looked for in its folder first.
ISystemLoader::TLoaded TWinSystemLoader::LoadFullPath(const TPath& Path) {
  return Loaded(::LoadLibraryExW(Path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
}

TPath TWinSystemLoader::SystemDirectory() {
  wchar_t Buffer[MAX_PATH] = {};
  const UINT Length = ::GetSystemDirectoryW(Buffer, MAX_PATH);
  return Length < MAX_PATH ? TPath(Buffer, Length) : TPath();
}

TModule LoadSystemLibrary(const wchar_t* Name) {
  TWinSystemLoader Loader;
  return TModule(static_cast<HMODULE>(platform::LoadSystemLibrary(Loader, Name)));
}

}  // namespace platform::win
