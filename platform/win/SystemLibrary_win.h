#pragma once

#include <windows.h>

#include "platform/SystemLibrary.h"
#include "platform/win/Handles.h"

namespace platform::win {

class TWinSystemLoader final : public ISystemLoader {
public:
  [[nodiscard]] TLoaded LoadFromSystem32(const TPath& Name) override;
  [[nodiscard]] TLoaded LoadFullPath(const TPath& Path) override;
  [[nodiscard]] TPath SystemDirectory() override;
};

// Name (for example L"wininet.dll") from System32; empty when it cannot be loaded.
[[nodiscard]] TModule LoadSystemLibrary(const wchar_t* Name);

// An entry point of Module as a typed function pointer; nothing when either is missing.
template <typename T>
[[nodiscard]] T EntryPoint(HMODULE Module, const char* Name) {
  return Module != nullptr ? reinterpret_cast<T>(reinterpret_cast<void*>(::GetProcAddress(Module, Name))) : nullptr;
}

}  // namespace platform::win
