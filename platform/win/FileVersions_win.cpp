#include "platform/win/FileVersions_win.h"

#include <vector>

#include "platform/win/SystemLibrary_win.h"

namespace platform::win {

TWinFileVersions::TWinFileVersions()
    : FVersionDll(LoadSystemLibrary(L"version.dll")),
      FGetSize(EntryPoint<TGetSize>(FVersionDll.Get(), "GetFileVersionInfoSizeW")),
      FGetInfo(EntryPoint<TGetInfo>(FVersionDll.Get(), "GetFileVersionInfoW")),
      FQueryValue(EntryPoint<TQueryValue>(FVersionDll.Get(), "VerQueryValueW")) {}

std::optional<TFixedVersion> TWinFileVersions::Read(const TPath& File) {
  if (FGetSize == nullptr || FGetInfo == nullptr || FQueryValue == nullptr || File.empty()) return std::nullopt;
  DWORD Ignored = 0;
  const DWORD Size = FGetSize(File.c_str(), &Ignored);
  if (Size == 0) return std::nullopt;
  std::vector<char> Buffer(Size);
  if (!FGetInfo(File.c_str(), 0, Size, Buffer.data())) return std::nullopt;
  VS_FIXEDFILEINFO* Fixed = nullptr;
  UINT Length = 0;
  if (!FQueryValue(Buffer.data(), L"\\", reinterpret_cast<void**>(&Fixed), &Length) || Fixed == nullptr ||
      Length < sizeof(VS_FIXEDFILEINFO) || Fixed->dwSignature != VS_FFI_SIGNATURE) {
    return std::nullopt;
  }
  return TFixedVersion{HIWORD(Fixed->dwFileVersionMS), LOWORD(Fixed->dwFileVersionMS),
                       HIWORD(Fixed->dwFileVersionLS), LOWORD(Fixed->dwFileVersionLS)};
}

TPath TWinFileVersions::SystemDirectory() { return TWinSystemLoader().SystemDirectory(); }

}  // namespace platform::win
