#include "checks/Functions.h"

#include "checks/IntegerText.h"

namespace checks {
namespace {

constexpr wchar_t MediaPlayerClass[] = L"{0A4286EA-E355-44FB-8086-AF3DF7645BD9}";
constexpr wchar_t MediaPlayerOcxClass[] = L"{6BF52A50-394A-11D3-B153-00C04F79FAA6}";
constexpr wchar_t QuickTimeClass[] = L"{02BF25D5-8C17-4B23-BC80-D3488ABDDC6B}";

}  // namespace

int MajorNumber(const std::string& Version) {
  const std::size_t Dot = Version.find('.');
  if (Dot == std::string::npos) return 0;
  return ParseInteger(std::string_view(Version).substr(0, Dot)).value_or(0);
}

std::wstring TFunctions::RegReadString(const std::wstring& KeyPath, platform::TRootKey Root,
                                       const std::wstring& ValueName) {
  const platform::IRegistry::TLookup Found = FPlatform.Registry.Read(Root, KeyPath, ValueName);
  if (!Found.KeyOpened || !Found.Value) return {};
  if (!Found.Value->IsString) {
    const std::wstring Name = ValueName;
    throw platform::ERegistryException("Invalid data type for '" + std::string(Name.begin(), Name.end()) + "'");
  }
  return Found.Value->Text;
}

bool TFunctions::RegWriteInteger(platform::TRootKey Root, const std::wstring& KeyPath, const std::wstring& ValueName,
                                 std::int32_t Value) {
  return FPlatform.Registry.WriteDword(Root, KeyPath, ValueName, static_cast<std::uint32_t>(Value));
}

std::string TFunctions::GetFileVersionString(const platform::TPath& File) {
  const std::optional<platform::TFixedVersion> Version = FPlatform.Versions.Read(File);
  if (!Version) return {};
  return std::to_string(Version->Major) + "." + std::to_string(Version->Minor) + "." +
         std::to_string(Version->Release) + "." + std::to_string(Version->Build);
}

int TFunctions::GetVersionPart(int Part) const {
  std::wstring_view Rest = FDirectXVersion;
  for (int i = 1; i < Part; ++i) {
    const std::size_t Dot = Rest.find(L'.');
    if (Dot != std::wstring_view::npos) Rest.remove_prefix(Dot + 1);
  }
  return ParseDecimalInteger(Rest.substr(0, Rest.find(L'.'))).value_or(0);
}

std::string TFunctions::RegisteredLibraryVersion(const wchar_t* ClassId) {
  const std::wstring Key = std::wstring(L"CLSID\\") + ClassId + L"\\InprocServer32";
  // Used exactly as stored: an environment reference in it is not expanded.
  return GetFileVersionString(RegReadString(Key, platform::TRootKey::ClassesRoot, L""));
}

bool TFunctions::IsDirectXInstalled() {
  FDirectXVersion = RegReadString(L"SOFTWARE\\Microsoft\\Directx", platform::TRootKey::LocalMachine, L"Version");
  return GetVersionPart(2) > 8;
}

bool TFunctions::IsMediaPlayerInstalled() {
  std::string Version = RegisteredLibraryVersion(MediaPlayerClass);
  if (Version.empty()) Version = RegisteredLibraryVersion(MediaPlayerOcxClass);
  if (Version.empty()) {
    platform::TPath Library = FPlatform.Versions.SystemDirectory();
    if (!Library.empty() && Library.back() != L'\\') Library += L'\\';
    Version = GetFileVersionString(Library + L"wmp.dll");
  }
  return MajorNumber(Version) > 10;
}

bool TFunctions::IsFlashInstalled() {
  const std::optional<std::int32_t> Version = FPlatform.Flash.FlashVersion();
  // Major version in the high word: 11.0 is 0xB0000.
  return Version && static_cast<std::uint32_t>(*Version) > 0xAFFFFu;
}

bool TFunctions::IsQuickTimeInstalled() { return MajorNumber(RegisteredLibraryVersion(QuickTimeClass)) > 6; }

}  // namespace checks
