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

// The one registry write that recording the reseller number needs.
class IRegistryWriter {
public:
  virtual ~IRegistryWriter() = default;
  // Writes a REG_DWORD, creating the key when missing; false on any failure.
  [[nodiscard]] virtual bool RegWriteInteger(platform::TRootKey Root, const std::wstring& KeyPath,
                                             const std::wstring& ValueName, std::int32_t Value) = 0;
};

// The checks and helpers, as the wizard window calls them.
class IFunctions : public IRegistryWriter {
public:
  [[nodiscard]] virtual bool IsDirectXInstalled() = 0;
  [[nodiscard]] virtual bool IsMediaPlayerInstalled() = 0;
  [[nodiscard]] virtual bool IsFlashInstalled() = 0;
  [[nodiscard]] virtual bool IsQuickTimeInstalled() = 0;

  // "major.minor.release.build" of the file's fixed version information, or empty.
  [[nodiscard]] virtual std::string GetFileVersionString(const platform::TPath& File) = 0;
  // Part n (from 1) of the DirectX version text last read, as a plain decimal integer; 0 when not one.
  [[nodiscard]] virtual int GetVersionPart(int Part) const = 0;

  // The string value, or empty when the key or the value is missing. A value
  // that holds no string raises ERegistryException.
  [[nodiscard]] virtual std::wstring RegReadString(const std::wstring& KeyPath, platform::TRootKey Root,
                                                   const std::wstring& ValueName) = 0;
};

class TFunctions final : public IFunctions {
public:
  explicit TFunctions(TFunctionsPlatform Platform) : FPlatform(Platform) {}

  [[nodiscard]] bool IsDirectXInstalled() override;
  [[nodiscard]] bool IsMediaPlayerInstalled() override;
  [[nodiscard]] bool IsFlashInstalled() override;
  [[nodiscard]] bool IsQuickTimeInstalled() override;
  [[nodiscard]] std::string GetFileVersionString(const platform::TPath& File) override;
  [[nodiscard]] int GetVersionPart(int Part) const override;
  [[nodiscard]] std::wstring RegReadString(const std::wstring& KeyPath, platform::TRootKey Root,
                                           const std::wstring& ValueName) override;
  [[nodiscard]] bool RegWriteInteger(platform::TRootKey Root, const std::wstring& KeyPath,
                                     const std::wstring& ValueName, std::int32_t Value) override;

private:
  [[nodiscard]] std::string RegisteredLibraryVersion(const wchar_t* ClassId);

  TFunctionsPlatform FPlatform;
  // Kept between IsDirectXInstalled and GetVersionPart.
  std::wstring FDirectXVersion;
};

}  // namespace checks
