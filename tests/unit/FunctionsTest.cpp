#include "checks/Functions.h"

#include <gtest/gtest.h>

#include "tests/fakes/Fakes.h"

namespace {

using platform::TRootKey;

const std::wstring MediaPlayerKey = L"CLSID\\{0A4286EA-E355-44FB-8086-AF3DF7645BD9}\\InprocServer32";
const std::wstring MediaPlayerOcxKey = L"CLSID\\{6BF52A50-394A-11D3-B153-00C04F79FAA6}\\InprocServer32";
const std::wstring QuickTimeKey = L"CLSID\\{02BF25D5-8C17-4B23-BC80-D3488ABDDC6B}\\InprocServer32";
const std::wstring DirectXKey = L"SOFTWARE\\Microsoft\\Directx";

class Functions : public ::testing::Test {
protected:
  fakes::TFakeRegistry Registry;
  fakes::TFakeFileVersions Versions;
  fakes::TFakeFlash Flash;
  checks::TFunctions Checks{{Registry, Versions, Flash}};
};

TEST_F(Functions, VersionTextIsTheFourFieldsOfTheFixedVersion) {
  Versions.Files[L"C:\\a.dll"] = {12, 0, 7601, 17514};
  Versions.Files[L"C:\\b.dll"] = {65535, 0, 0, 65535};
  EXPECT_EQ(Checks.GetFileVersionString(L"C:\\a.dll"), "12.0.7601.17514");
  EXPECT_EQ(Checks.GetFileVersionString(L"C:\\b.dll"), "65535.0.0.65535");
  EXPECT_EQ(Checks.GetFileVersionString(L"C:\\missing.dll"), "");
}

TEST(MajorNumber, IsTheIntegerBeforeTheFirstDot) {
  const struct {
    const char* Version;
    int Major;
  } Cases[] = {{"12.0.7601.17514", 12}, {"7.7.9.80", 7}, {"", 0}, {"12", 0}, {".5", 0}, {"x.1", 0}, {"10.0.0.4066", 10}};
  for (const auto& Case : Cases) EXPECT_EQ(checks::MajorNumber(Case.Version), Case.Major) << Case.Version;
}

TEST_F(Functions, DirectXPartTwoDecides) {
  const struct {
    const wchar_t* Stored;  // nullptr: the value is missing
    bool Present;
    int Part1;
    int Part2;
    int Part5;
  } Cases[] = {
      {L"4.09.00.0904", true, 4, 9, 904},  // a part beyond the last repeats the last
      {L"4.08.01.0810", false, 4, 8, 810},
      {nullptr, false, 0, 0, 0},
      {L"12", true, 12, 12, 12},
      {L"4.9", true, 4, 9, 9},
      {L"4.9a", false, 4, 0, 0},
      // Parts are plain decimal numbers: no hexadecimal, no spaces.
      {L"4.$A.0", false, 4, 0, 0},
      {L"4.x9.0", false, 4, 0, 0},
      {L"4.0x9.0", false, 4, 0, 0},
      {L"4. 9.0", false, 4, 0, 0},
      {L"4.+9.0", true, 4, 9, 0},
      {L"4.-9.0", false, 4, -9, 0},
  };
  for (const auto& Case : Cases) {
    Registry.Keys.clear();
    if (Case.Stored != nullptr) Registry.PutString(TRootKey::LocalMachine, DirectXKey, L"Version", Case.Stored);
    EXPECT_EQ(Checks.IsDirectXInstalled(), Case.Present) << (Case.Stored ? "" : "missing");
    EXPECT_EQ(Checks.GetVersionPart(1), Case.Part1);
    EXPECT_EQ(Checks.GetVersionPart(2), Case.Part2);
    EXPECT_EQ(Checks.GetVersionPart(5), Case.Part5);
  }
}

TEST_F(Functions, QuickTimeNeedsMajorSeven) {
  Registry.PutString(TRootKey::ClassesRoot, QuickTimeKey, L"", L"C:\\QT\\qt.dll");
  for (const auto& [Version, Present] : {std::pair{platform::TFixedVersion{7, 7, 9, 80}, true},
                                         std::pair{platform::TFixedVersion{6, 5, 2, 0}, false}}) {
    Versions.Files[L"C:\\QT\\qt.dll"] = Version;
    EXPECT_EQ(Checks.IsQuickTimeInstalled(), Present);
  }
  Versions.Files.clear();
  EXPECT_FALSE(Checks.IsQuickTimeInstalled());
}

TEST_F(Functions, MediaPlayerTriesItsThreeSourcesInOrderUntilOneHasAVersion) {
  struct TCase {
    const char* Name;
    const wchar_t* First;   // registered path of the first class, or nullptr
    const wchar_t* Second;  // of the second class
    std::map<std::wstring, platform::TFixedVersion> Files;
    bool Present;
    std::vector<std::wstring> Asked;
  };
  const TCase Cases[] = {
      {"first wins", L"C:\\a\\wmp.dll", L"C:\\b\\wmp.dll", {{L"C:\\a\\wmp.dll", {12, 0, 7601, 17514}}}, true,
       {L"C:\\a\\wmp.dll"}},
      {"first without a version, second old", L"C:\\a\\wmp.dll", L"C:\\b\\wmp.dll",
       {{L"C:\\b\\wmp.dll", {10, 0, 0, 4066}}}, false, {L"C:\\a\\wmp.dll", L"C:\\b\\wmp.dll"}},
      {"neither registered, system copy", nullptr, nullptr, {{L"C:\\Windows\\system32\\wmp.dll", {12, 0, 0, 1}}}, true,
       {L"", L"", L"C:\\Windows\\system32\\wmp.dll"}},
      {"unexpanded reference falls through", L"%SystemRoot%\\System32\\wmp.dll", nullptr,
       {{L"C:\\Windows\\system32\\wmp.dll", {11, 0, 0, 0}}}, true,
       {L"%SystemRoot%\\System32\\wmp.dll", L"", L"C:\\Windows\\system32\\wmp.dll"}},
      {"nothing anywhere", nullptr, nullptr, {}, false, {L"", L"", L"C:\\Windows\\system32\\wmp.dll"}},
  };
  for (const TCase& Case : Cases) {
    Registry.Keys.clear();
    Versions.Asked.clear();
    Versions.Files = Case.Files;
    if (Case.First != nullptr) Registry.PutString(TRootKey::ClassesRoot, MediaPlayerKey, L"", Case.First);
    if (Case.Second != nullptr) Registry.PutString(TRootKey::ClassesRoot, MediaPlayerOcxKey, L"", Case.Second);
    EXPECT_EQ(Checks.IsMediaPlayerInstalled(), Case.Present) << Case.Name;
    EXPECT_EQ(Versions.Asked, Case.Asked) << Case.Name;
  }
}

TEST_F(Functions, MediaPlayerAddsNoSecondBackslashToTheSystemFolder) {
  Versions.System = L"C:\\Windows\\system32\\";
  Versions.Files[L"C:\\Windows\\system32\\wmp.dll"] = {12, 0, 0, 0};
  EXPECT_TRUE(Checks.IsMediaPlayerInstalled());
}

TEST_F(Functions, FlashNeedsMajorElevenInTheHighWord) {
  const struct {
    std::optional<std::int32_t> Version;
    bool Present;
  } Cases[] = {{0x000B0002, true}, {0x000A0003, false}, {0x000AFFFF, false}, {0x000B0000, true},
               {std::nullopt, false}, {-1, true}};  // high word 0xFFFF, taken as unsigned
  for (const auto& Case : Cases) {
    Flash.Version = Case.Version;
    EXPECT_EQ(Checks.IsFlashInstalled(), Case.Present) << Case.Version.value_or(0);
  }
}

TEST_F(Functions, RegReadStringGivesEmptyForMissingAndRaisesForNonStringValues) {
  Registry.PutString(TRootKey::LocalMachine, L"K", L"", L"default");
  Registry.PutString(TRootKey::LocalMachine, L"K", L"Named", L"value");
  Registry.PutNumber(TRootKey::LocalMachine, L"K", L"Number");
  EXPECT_EQ(Checks.RegReadString(L"K", TRootKey::LocalMachine, L""), L"default");
  EXPECT_EQ(Checks.RegReadString(L"K", TRootKey::LocalMachine, L"Named"), L"value");
  EXPECT_EQ(Checks.RegReadString(L"K", TRootKey::LocalMachine, L"Missing"), L"");
  EXPECT_EQ(Checks.RegReadString(L"Nope", TRootKey::LocalMachine, L"Named"), L"");
  EXPECT_EQ(Checks.RegReadString(L"K", TRootKey::ClassesRoot, L"Named"), L"");
  EXPECT_THROW((void)Checks.RegReadString(L"K", TRootKey::LocalMachine, L"Number"), platform::ERegistryException);
}

TEST_F(Functions, AnUnreadableVersionValueEndsTheCheckWithTheError) {
  Registry.PutNumber(TRootKey::LocalMachine, DirectXKey, L"Version");
  EXPECT_THROW((void)Checks.IsDirectXInstalled(), platform::ERegistryException);
}

TEST_F(Functions, RegWriteIntegerWritesTheTwoComplementAndReportsFailure) {
  EXPECT_TRUE(Checks.RegWriteInteger(TRootKey::LocalMachine, L"K", L"ID", -5));
  ASSERT_EQ(Registry.Writes.size(), 1u);
  EXPECT_EQ(Registry.Writes[0].Value, 0xFFFFFFFBu);
  Registry.FailWrites = true;
  EXPECT_FALSE(Checks.RegWriteInteger(TRootKey::LocalMachine, L"K", L"ID", 1));
}

}  // namespace
