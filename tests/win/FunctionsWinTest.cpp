// The component checks, registry helpers and reseller number against the real
// registry and real files of the test prefix.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include "checks/Functions.h"
#include "download/ResellerId.h"
#include "platform/win/FileVersions_win.h"
#include "platform/win/FlashProbe_win.h"
#include "platform/win/Registry_win.h"
#include "platform/win/Resources_win.h"
#include "tests/fakes/Fakes.h"

namespace {

using platform::TRootKey;

constexpr REGSAM View = KEY_WOW64_32KEY;
const std::wstring QuickTimeKey = L"CLSID\\{02BF25D5-8C17-4B23-BC80-D3488ABDDC6B}\\InprocServer32";
const std::wstring MediaPlayerKey = L"CLSID\\{0A4286EA-E355-44FB-8086-AF3DF7645BD9}\\InprocServer32";
const std::wstring MediaPlayerOcxKey = L"CLSID\\{6BF52A50-394A-11D3-B153-00C04F79FAA6}\\InprocServer32";
const std::wstring TestKey = L"SOFTWARE\\VestoraTests";

std::wstring Fixture(const wchar_t* Name) {
  wchar_t Path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, Path, MAX_PATH);
  std::wstring Folder(Path);
  return Folder.substr(0, Folder.find_last_of(L'\\') + 1) + Name;
}

void SetValue(HKEY Root, const std::wstring& Key, const wchar_t* Name, DWORD Type, const void* Data, DWORD Bytes) {
  HKEY Opened = nullptr;
  ASSERT_EQ(::RegCreateKeyExW(Root, Key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | View, nullptr, &Opened, nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(::RegSetValueExW(Opened, Name, 0, Type, static_cast<const BYTE*>(Data), Bytes), ERROR_SUCCESS);
  ::RegCloseKey(Opened);
}

void SetString(HKEY Root, const std::wstring& Key, const wchar_t* Name, const std::wstring& Text, DWORD Type = REG_SZ) {
  SetValue(Root, Key, Name, Type, Text.c_str(), static_cast<DWORD>((Text.size() + 1) * sizeof(wchar_t)));
}

void DeleteTree(HKEY Root, const std::wstring& Key) {
  HKEY Opened = nullptr;
  if (::RegOpenKeyExW(Root, Key.c_str(), 0, KEY_ALL_ACCESS | View, &Opened) == ERROR_SUCCESS) {
    ::RegDeleteTreeW(Opened, nullptr);
    ::RegCloseKey(Opened);
  }
  ::RegDeleteKeyExW(Root, Key.c_str(), View, 0);
}

std::optional<DWORD> ReadDword(HKEY Root, const std::wstring& Key, const wchar_t* Name) {
  HKEY Opened = nullptr;
  if (::RegOpenKeyExW(Root, Key.c_str(), 0, KEY_READ | View, &Opened) != ERROR_SUCCESS) return std::nullopt;
  DWORD Value = 0;
  DWORD Type = 0;
  DWORD Bytes = sizeof(Value);
  const LONG Status = ::RegQueryValueExW(Opened, Name, nullptr, &Type, reinterpret_cast<BYTE*>(&Value), &Bytes);
  ::RegCloseKey(Opened);
  if (Status != ERROR_SUCCESS || Type != REG_DWORD) return std::nullopt;
  return Value;
}

class WinFunctions : public ::testing::Test {
protected:
  ~WinFunctions() override {
    for (const std::wstring& Key : {QuickTimeKey, MediaPlayerKey, MediaPlayerOcxKey}) {
      DeleteTree(HKEY_CLASSES_ROOT, Key.substr(0, Key.rfind(L'\\')));
    }
    DeleteTree(HKEY_LOCAL_MACHINE, TestKey);
  }

  platform::win::TWinRegistry Registry;
  platform::win::TWinFileVersions Versions;
  platform::win::TWinFlashProbe Flash;
  checks::TFunctions Functions{{Registry, Versions, Flash}};
};

TEST_F(WinFunctions, FileVersionTextOfFixtureLibraries) {
  EXPECT_EQ(Functions.GetFileVersionString(Fixture(L"fixture_12_0_7601_17514.dll")), "12.0.7601.17514");
  EXPECT_EQ(Functions.GetFileVersionString(Fixture(L"fixture_10_0_0_4066.dll")), "10.0.0.4066");
  EXPECT_EQ(Functions.GetFileVersionString(Fixture(L"fixture_noversion.dll")), "");
  EXPECT_EQ(Functions.GetFileVersionString(Fixture(L"no_such_file.dll")), "");
  EXPECT_EQ(Functions.GetFileVersionString(L""), "");
}

TEST_F(WinFunctions, QuickTimeFollowsTheRegisteredLibrary) {
  SetString(HKEY_CLASSES_ROOT, QuickTimeKey, nullptr, Fixture(L"fixture_7_7_9_80.dll"));
  EXPECT_TRUE(Functions.IsQuickTimeInstalled());
  SetString(HKEY_CLASSES_ROOT, QuickTimeKey, nullptr, Fixture(L"fixture_6_5_2_0.dll"));
  EXPECT_FALSE(Functions.IsQuickTimeInstalled());
  SetString(HKEY_CLASSES_ROOT, QuickTimeKey, nullptr, Fixture(L"missing.dll"));
  EXPECT_FALSE(Functions.IsQuickTimeInstalled());
}

TEST_F(WinFunctions, MediaPlayerFromTheFirstOrSecondRegistration) {
  SetString(HKEY_CLASSES_ROOT, MediaPlayerKey, nullptr, Fixture(L"fixture_12_0_7601_17514.dll"));
  EXPECT_TRUE(Functions.IsMediaPlayerInstalled());
  // The first registration's file has no version: the second decides.
  SetString(HKEY_CLASSES_ROOT, MediaPlayerKey, nullptr, Fixture(L"fixture_noversion.dll"));
  SetString(HKEY_CLASSES_ROOT, MediaPlayerOcxKey, nullptr, Fixture(L"fixture_10_0_0_4066.dll"));
  EXPECT_FALSE(Functions.IsMediaPlayerInstalled());
}

TEST_F(WinFunctions, MediaPlayerFallsBackToTheSystemCopyPastAnUnexpandedPath) {
  // An environment reference is used as stored, so no file is found there.
  SetString(HKEY_CLASSES_ROOT, MediaPlayerKey, nullptr, L"%SystemRoot%\\System32\\wmp.dll", REG_EXPAND_SZ);
  EXPECT_EQ(Functions.RegReadString(MediaPlayerKey, TRootKey::ClassesRoot, L""), L"%SystemRoot%\\System32\\wmp.dll");

  const std::wstring SystemCopy = Versions.SystemDirectory() + L"\\wmp.dll";
  const std::wstring Saved = SystemCopy + L".vestora-test";
  ::MoveFileExW(SystemCopy.c_str(), Saved.c_str(), MOVEFILE_REPLACE_EXISTING);
  ASSERT_TRUE(::CopyFileW(Fixture(L"fixture_12_0_7601_17514.dll").c_str(), SystemCopy.c_str(), FALSE));
  EXPECT_TRUE(Functions.IsMediaPlayerInstalled());
  ::DeleteFileW(SystemCopy.c_str());
  EXPECT_FALSE(Functions.IsMediaPlayerInstalled());
  ::MoveFileExW(Saved.c_str(), SystemCopy.c_str(), MOVEFILE_REPLACE_EXISTING);
}

TEST_F(WinFunctions, DirectXFromTheRegistry) {
  const std::wstring Key = L"SOFTWARE\\Microsoft\\DirectX";
  std::wstring Saved = Functions.RegReadString(Key, TRootKey::LocalMachine, L"Version");
  SetString(HKEY_LOCAL_MACHINE, Key, L"Version", L"4.09.00.0904");
  EXPECT_TRUE(Functions.IsDirectXInstalled());
  SetString(HKEY_LOCAL_MACHINE, Key, L"Version", L"4.08.01.0810");
  EXPECT_FALSE(Functions.IsDirectXInstalled());
  if (!Saved.empty()) SetString(HKEY_LOCAL_MACHINE, Key, L"Version", Saved);
}

TEST_F(WinFunctions, FlashNotRegisteredIsAbsentWithoutAMessage) {
  const HRESULT Com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  EXPECT_FALSE(Functions.IsFlashInstalled());
  if (SUCCEEDED(Com)) ::CoUninitialize();
}

TEST_F(WinFunctions, RegReadStringReadsDefaultAndNamedValuesAndRefusesNumbers) {
  SetString(HKEY_LOCAL_MACHINE, TestKey, nullptr, L"the default");
  SetString(HKEY_LOCAL_MACHINE, TestKey, L"Named", L"named value");
  const DWORD Number = 5;
  SetValue(HKEY_LOCAL_MACHINE, TestKey, L"Number", REG_DWORD, &Number, sizeof(Number));
  // Stored without its terminating NUL, as careless writers do.
  SetValue(HKEY_LOCAL_MACHINE, TestKey, L"Unterminated", REG_SZ, L"abc", 3 * sizeof(wchar_t));

  EXPECT_EQ(Functions.RegReadString(TestKey, TRootKey::LocalMachine, L""), L"the default");
  EXPECT_EQ(Functions.RegReadString(TestKey + L"\\", TRootKey::LocalMachine, L"Named"), L"named value");
  EXPECT_EQ(Functions.RegReadString(TestKey, TRootKey::LocalMachine, L"Unterminated"), L"abc");
  EXPECT_EQ(Functions.RegReadString(TestKey, TRootKey::LocalMachine, L"Missing"), L"");
  EXPECT_EQ(Functions.RegReadString(TestKey + L"\\Missing", TRootKey::LocalMachine, L""), L"");
  EXPECT_THROW((void)Functions.RegReadString(TestKey, TRootKey::LocalMachine, L"Number"), platform::ERegistryException);
}

TEST_F(WinFunctions, RegWriteIntegerCreatesTheKeyAndFailsOnAnImpossibleOne) {
  const std::wstring Deep = TestKey + L"\\New\\Deeper\\";
  EXPECT_TRUE(Functions.RegWriteInteger(TRootKey::LocalMachine, Deep, L"ID", -5));
  EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, TestKey + L"\\New\\Deeper", L"ID"), 0xFFFFFFFBu);
  // A key name longer than the registry allows cannot be created.
  EXPECT_FALSE(Functions.RegWriteInteger(TRootKey::LocalMachine, TestKey + L"\\" + std::wstring(300, L'k'), L"ID", 1));
}

class FixtureModule {
public:
  explicit FixtureModule(const wchar_t* Name)
      : Handle(::LoadLibraryExW(Fixture(Name).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
  ~FixtureModule() {
    if (Handle != nullptr) ::FreeLibrary(Handle);
  }
  FixtureModule(const FixtureModule&) = delete;
  FixtureModule& operator=(const FixtureModule&) = delete;
  HMODULE Handle;
};

TEST_F(WinFunctions, ResellerNumberFromTheModuleIsRecordedUnderTheMakersKey) {
  const std::wstring Referrer = L"SOFTWARE\\Ostrevane\\Referrer";
  DeleteTree(HKEY_LOCAL_MACHINE, Referrer);
  {
    FixtureModule Module(L"fixture_reseller.dll");
    ASSERT_NE(Module.Handle, nullptr);
    platform::win::TWinResources Resources(Module.Handle);
    download::TResellerId Reseller(Resources, Functions);
    EXPECT_EQ(Reseller.GetResellerId(), 42);
    EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, Referrer, L"ID"), 42u);
  }
  {
    FixtureModule Module(L"fixture_noversion.dll");
    platform::win::TWinResources Resources(Module.Handle);
    download::TResellerId Reseller(Resources, Functions);
    EXPECT_EQ(Reseller.GetResellerId(), 1);
    EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, Referrer, L"ID"), 1u);
  }
}

}  // namespace
