// The program's own resources, read back through the Windows API.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "platform/win/Resources_win.h"
#include "ui/win/WicDecoder_win.h"

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
  // Each image loads as an icon of its size in 32-bit colour (they are stored PNG-compressed).
  for (const int Size : {16, 32, 48, 64}) {
    HICON Icon = static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON, Size, Size, 0));
    ASSERT_NE(Icon, nullptr) << Size;
    ICONINFO Info{};
    ASSERT_TRUE(::GetIconInfo(Icon, &Info)) << Size;
    BITMAP Colour{};
    ::GetObjectW(Info.hbmColor, sizeof(Colour), &Colour);
    EXPECT_EQ(Colour.bmWidth, Size);
    EXPECT_EQ(Colour.bmBitsPixel, 32) << Size;
    ::DeleteObject(Info.hbmColor);
    ::DeleteObject(Info.hbmMask);
    ::DestroyIcon(Icon);
  }
}

// A block of 3 x 3 silver pixels: the window background showing through.
bool HasSilverBlock(const ui::TBitmap32& Picture) {
  auto Silver = [&](int X, int Y) { return Picture.Pixels[static_cast<std::size_t>(Y * Picture.Width + X)] == 0xC0C0C0u; };
  for (int y = 0; y + 2 < Picture.Height; ++y) {
    for (int x = 0; x + 2 < Picture.Width; ++x) {
      bool Block = true;
      for (int dy = 0; dy < 3 && Block; ++dy)
        for (int dx = 0; dx < 3 && Block; ++dx) Block = Silver(x + dx, y + dy);
      if (Block) return true;
    }
  }
  return false;
}

// Every page picture, decoded by Windows' own decoder as the program does.
TEST(Resources, EveryPagePictureDecodesToItsLayoutSize) {
  const struct {
    const char* Name;
    int Width;
    int Height;
  } Cases[] = {{"EULABACK", 600, 338},    {"INSTALLBACK", 600, 338}, {"OPINSTALLBACK", 600, 338},
               {"REBOOTBACK", 600, 338},  {"PROGRESS", 373, 38},     {"PROGRESSGREY", 373, 38},
               {"INSTALLHL", 118, 32},    {"OPINST1B", 53, 13},      {"OPINST3B", 54, 39},
               {"OPINST3A", 55, 55},      {"OPINST4B", 50, 50},      {"OPINST4A", 60, 59},
               {"OPINST2B", 50, 58},      {"OPINST1A", 62, 21},      {"OPINST2A", 58, 58}};
  ui::win::TWicDecoder Decoder;
  for (const auto& Case : Cases) {
    const std::string_view Bytes = platform::win::RcData(::GetModuleHandleW(nullptr), Case.Name);
    const auto Picture = Decoder.Decode(reinterpret_cast<const unsigned char*>(Bytes.data()), Bytes.size());
    ASSERT_TRUE(Picture.has_value()) << Case.Name;
    EXPECT_EQ(Picture->Width, Case.Width) << Case.Name;
    EXPECT_EQ(Picture->Height, Case.Height) << Case.Name;
    EXPECT_FALSE(HasSilverBlock(*Picture)) << Case.Name;
  }
}

TEST(Resources, DataThatIsNoPictureDecodesToNothing) {
  ui::win::TWicDecoder Decoder;
  const std::string Junk = "\xFF\xD8\xFF\xE0 not really a picture";
  EXPECT_FALSE(Decoder.Decode(reinterpret_cast<const unsigned char*>(Junk.data()), Junk.size()).has_value());
  EXPECT_FALSE(Decoder.Decode(nullptr, 0).has_value());
  // A truncated picture decodes (the decoder pads it) or fails cleanly; it never crashes.
  const std::string_view Whole = platform::win::RcData(::GetModuleHandleW(nullptr), "EULABACK");
  (void)Decoder.Decode(reinterpret_cast<const unsigned char*>(Whole.data()), Whole.size() / 3);
}

}  // namespace
