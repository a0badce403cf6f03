// The component checks and the registry and file-version helpers.
#pragma once

#include <cstdint>
#include <string>

#include "platform/FileVersions.h"
#include "platform/FlashProbe.h"
#include "platform/Registry.h"

namespace checks {

struct TFunctionsPlatform {
  platform::IRegistry& Registry;
  platform::IFileVersions& Versions;
  platform::IFlashProbe& Flash;
};

// The major number of a version text: the decimal integer before its first ".";
// 0 when there is no "." or no integer before it.
[[nodiscard]] int MajorNumber(const std::string& Version);

class TFunctions {
public:
  explicit TFunctions(TFunctionsPlatform Platform) : FPlatform(Platform) {}

  [[nodiscard]] bool IsDirectXInstalled();
  [[nodiscard]] bool IsMediaPlayerInstalled();
  [[nodiscard]] bool IsFlashInstalled();
  [[nodiscard]] bool IsQuickTimeInstalled();

  // "major.minor.release.build" of the file's fixed version information, or empty.
  [[nodiscard]] std::string GetFileVersionString(const platform::TPath& File);
  // Part n (from 1) of the DirectX version text last read, as a plain decimal integer; 0 when not one.
  [[nodiscard]] int GetVersionPart(int Part) const;

  // The string value, or empty when the key or the value is missing. A value
  // that holds no string raises ERegistryException.
  [[nodiscard]] std::wstring RegReadString(const std::wstring& KeyPath, platform::TRootKey Root,
                                           const std::wstring& ValueName);
  // Writes a REG_DWORD, creating the key when missing; false on any failure.
  [[nodiscard]] bool RegWriteInteger(platform::TRootKey Root, const std::wstring& KeyPath,
                                     const std::wstring& ValueName, std::int32_t Value);

private:
  [[nodiscard]] std::string RegisteredLibraryVersion(const wchar_t* ClassId);

  TFunctionsPlatform FPlatform;
  // Kept between IsDirectXInstalled and GetVersionPart.
  std::wstring FDirectXVersion;
};

}  // namespace checks
