#include "platform/win/FileVersions_win.h"

#include <vector>

namespace platform::win {
namespace {

template <typename T>
T Entry(HMODULE Module, const char* Name) {
  return Module != nullptr ? reinterpret_cast<T>(reinterpret_cast<void*>(::GetProcAddress(Module, Name))) : nullptr;
}

}  // namespace

TWinFileVersions::TWinFileVersions()
    : FVersionDll(::LoadLibraryExW(L"version.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)),
      FGetSize(Entry<TGetSize>(FVersionDll.Get(), "GetFileVersionInfoSizeW")),
      FGetInfo(Entry<TGetInfo>(FVersionDll.Get(), "GetFileVersionInfoW")),
      FQueryValue(Entry<TQueryValue>(FVersionDll.Get(), "VerQueryValueW")) {}

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

TPath TWinFileVersions::SystemDirectory() {
  wchar_t Buffer[MAX_PATH] = {};
  const UINT Length = ::GetSystemDirectoryW(Buffer, MAX_PATH);
  return Length < MAX_PATH ? TPath(Buffer, Length) : TPath();
}

}  // namespace platform::win
