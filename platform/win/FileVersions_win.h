#pragma once

#include "platform/FileVersions.h"
#include "platform/win/Handles.h"

namespace platform::win {

// Reads version resources through version.dll, loaded from System32 at run
// time rather than imported (it is not one of the known DLLs).
class TWinFileVersions final : public IFileVersions {
public:
  TWinFileVersions();
  [[nodiscard]] std::optional<TFixedVersion> Read(const TPath& File) override;
  [[nodiscard]] TPath SystemDirectory() override;

private:
  TModule FVersionDll;
  using TGetSize = DWORD(WINAPI*)(LPCWSTR, LPDWORD);
  using TGetInfo = BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID);
  using TQueryValue = BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT);
  TGetSize FGetSize = nullptr;
  TGetInfo FGetInfo = nullptr;
  TQueryValue FQueryValue = nullptr;
};

}  // namespace platform::win
