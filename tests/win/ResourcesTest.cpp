// The program's own resources, read back through the Windows API.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "ui/win/Resources_win.h"

namespace {

std::string ResourceText(LPCWSTR Name, LPCWSTR Type) {
  HMODULE Module = ::GetModuleHandleW(nullptr);
  HRSRC Info = ::FindResourceW(Module, Name, Type);
  if (Info == nullptr) return {};
  const auto* Data = static_cast<const char*>(::LockResource(::LoadResource(Module, Info)));
  return {Data, ::SizeofResource(Module, Info)};
}

std::vector<char> OwnVersionInfo() {
  wchar_t Path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, Path, MAX_PATH);
  DWORD Handle = 0;
  std::vector<char> Data(::GetFileVersionInfoSizeW(Path, &Handle));
  if (Data.empty() || !::GetFileVersionInfoW(Path, 0, static_cast<DWORD>(Data.size()), Data.data())) return {};
  return Data;
}

std::wstring VersionString(std::vector<char>& Info, const wchar_t* Name) {
  wchar_t* Value = nullptr;
  UINT Length = 0;
  const std::wstring Key = std::wstring(L"\\StringFileInfo\\080904E4\\") + Name;
  if (!::VerQueryValueW(Info.data(), Key.c_str(), reinterpret_cast<void**>(&Value), &Length)) return L"<missing>";
  return Length == 0 ? L"" : std::wstring(Value);
}

TEST(Resources, VersionInformationCarriesTheReleaseAndTheResellerEntry) {
  std::vector<char> Info = OwnVersionInfo();
  ASSERT_FALSE(Info.empty());
  VS_FIXEDFILEINFO* Fixed = nullptr;
  UINT Length = 0;
  ASSERT_TRUE(::VerQueryValueW(Info.data(), L"\\", reinterpret_cast<void**>(&Fixed), &Length));
  EXPECT_EQ(Fixed->dwFileVersionMS, 0x00040000u);
  EXPECT_EQ(Fixed->dwFileVersionLS, 0x00010000u);
  EXPECT_EQ(Fixed->dwProductVersionMS, 0x00040000u);
  EXPECT_EQ(Fixed->dwProductVersionLS, 0x00010000u);

  EXPECT_EQ(VersionString(Info, L"FileVersion"), L"4.0.1.0");
  EXPECT_EQ(VersionString(Info, L"ProductVersion"), L"1.0.0.0");
  EXPECT_EQ(VersionString(Info, L"Reseller"), L"1");
  for (const wchar_t* Empty : {L"CompanyName", L"FileDescription", L"ProductName", L"OriginalFilename"}) {
    EXPECT_EQ(VersionString(Info, Empty), L"") << Empty;
  }

  WORD* Translation = nullptr;
  ASSERT_TRUE(::VerQueryValueW(Info.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&Translation), &Length));
  ASSERT_EQ(Length, 4u);
  EXPECT_EQ(Translation[0], 0x0809);
  EXPECT_EQ(Translation[1], 1252);
}

TEST(Resources, ManifestAsksForAdministratorCommonControlsSixAndNamesVistaAndSeven) {
  const std::string Manifest = ResourceText(MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
  for (const char* Part : {"name=\"Vestora\" version=\"1.0.0.0\"", "<description>Vestora</description>",
                           "level=\"requireAdministrator\" uiAccess=\"false\"",
                           "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
                           "{e2011457-1546-43c5-a5fe-008deee3d3f0}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"}) {
    EXPECT_NE(Manifest.find(Part), std::string::npos) << Part;
  }
}

#pragma pack(push, 2)
struct TGroupIconEntry {
  BYTE Width, Height, Colours, Reserved;
  WORD Planes, BitCount;
  DWORD Bytes;
  WORD Id;
};
#pragma pack(pop)

TEST(Resources, MainIconHasFourTrueColourSizes) {
  const std::string Group = ResourceText(L"MAINICON", MAKEINTRESOURCEW(14));
  ASSERT_GE(Group.size(), 6u);
  const WORD Count = *reinterpret_cast<const WORD*>(Group.data() + 4);
  ASSERT_EQ(Count, 4);
  ASSERT_EQ(Group.size(), 6u + Count * sizeof(TGroupIconEntry));
  std::set<int> Sizes;
  for (WORD i = 0; i < Count; ++i) {
    const auto* Entry = reinterpret_cast<const TGroupIconEntry*>(Group.data() + 6 + i * sizeof(TGroupIconEntry));
    EXPECT_EQ(Entry->BitCount, 32);
    EXPECT_EQ(Entry->Width, Entry->Height);
    Sizes.insert(Entry->Width);
  }
  EXPECT_EQ(Sizes, (std::set<int>{16, 32, 48, 64}));
}

TEST(Resources, EveryPagePictureDecodes) {
  for (const char* Name : {"EULABACK", "INSTALLBACK", "PROGRESS", "PROGRESSGREY", "INSTALLHL", "OPINSTALLBACK",
                           "OPINST1A", "OPINST2A", "OPINST3A", "OPINST4A", "OPINST1B", "OPINST2B", "OPINST3B",
                           "OPINST4B", "REBOOTBACK"}) {
    EXPECT_TRUE(ui::win::LoadJpegResource(::GetModuleHandleW(nullptr), Name).has_value()) << Name;
  }
  EXPECT_FALSE(ui::win::LoadJpegResource(::GetModuleHandleW(nullptr), "NOSUCHPICTURE").has_value());
}

}  // namespace
