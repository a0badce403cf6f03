// The platform rules that need no Windows: registry text, the system-DLL loader, the decimal separator,
// where a redirect leads and which shell opens an address.
#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/DecimalSeparator.h"
#include "platform/RegistryText.h"
#include "platform/SystemLibrary.h"
#include "platform/Shell.h"
#include "platform/UrlReference.h"
#include "tests/fakes/Fakes.h"

namespace {

// A registry value as stored: raw bytes, which may change between reads.
struct TStoredValue {
  std::deque<std::string> Versions;  // each read takes the next one; the last stays
  int Reads = 0;

  platform::TQueryResult Query(std::uint8_t* Buffer, std::uint32_t& Bytes) {
    const std::string& Data = Versions.size() > 1 ? Versions.front() : Versions.back();
    ++Reads;
    const auto Needed = static_cast<std::uint32_t>(Data.size());
    const bool Fits = Needed <= Bytes;
    if (Fits) Data.copy(reinterpret_cast<char*>(Buffer), Needed);
    Bytes = Needed;
    if (Versions.size() > 1) Versions.pop_front();
    return Fits ? platform::TQueryResult::Ok : platform::TQueryResult::MoreData;
  }
};

std::string Utf16(const std::wstring& Text) {
  std::string Bytes;
  for (const wchar_t C : Text) {
    Bytes.push_back(static_cast<char>(C & 0xFF));
    Bytes.push_back(static_cast<char>((C >> 8) & 0xFF));
  }
  return Bytes;
}

// A value that is larger at every read than the buffer offered for it.
std::deque<std::string> Growing() {
  std::deque<std::string> Versions;
  for (std::size_t Chars = 2; Versions.size() < 12; Chars *= 4) Versions.push_back(Utf16(std::wstring(Chars, L'x')));
  return Versions;
}

TEST(ReadRegistryString, ReadsAnySizeAndAlwaysEnds) {
  const struct {
    const char* Name;
    std::deque<std::string> Versions;
    std::uint32_t FirstSize;  // what the size query said
    std::optional<std::wstring> Expected;
  } Cases[] = {
      {"terminated", {Utf16(std::wstring(L"C:\\A.exe") + L'\0')}, 18, L"C:\\A.exe"},
      {"unterminated", {Utf16(L"C:\\A.exe")}, 16, L"C:\\A.exe"},
      {"odd size", {Utf16(L"ab") + "c"}, 5, L"ab"},
      {"one byte", {"x"}, 1, L""},
      {"empty", {""}, 0, L""},
      {"cut at the first NUL", {Utf16(std::wstring(L"ab\0cd", 5))}, 10, L"ab"},
      {"grew between the calls", {Utf16(L"short"), Utf16(L"much longer now")}, 4, L"much longer now"},
      {"grew by an odd byte", {Utf16(L"abcd") + "e"}, 8, L"abcd"},
      {"grows at every read", Growing(), 0, std::nullopt},
      {"16 MiB, the most that is read", {Utf16(std::wstring(8u << 20, L'x'))}, 16u << 20, std::wstring(8u << 20, L'x')},
      {"17 MiB is given up", {std::string(17u << 20, 'x')}, 4, std::nullopt},
  };
  for (const auto& Case : Cases) {
    TStoredValue Value{Case.Versions};
    const std::optional<std::wstring> Text = platform::ReadRegistryString(
        Case.FirstSize, [&](std::uint8_t* Buffer, std::uint32_t& Bytes) { return Value.Query(Buffer, Bytes); });
    EXPECT_EQ(Text, Case.Expected) << Case.Name;
    EXPECT_LE(Value.Reads, 8) << Case.Name;
  }
}

TEST(ReadRegistryString, AFailedReadIsNoText) {
  EXPECT_EQ(platform::ReadRegistryString(
                8, [](std::uint8_t*, std::uint32_t&) { return platform::TQueryResult::Failed; }),
            std::nullopt);
}

class TFakeLoader final : public platform::ISystemLoader {
public:
  [[nodiscard]] TLoaded LoadFromSystem32(const platform::TPath& Name) override {
    Calls.push_back(L"flag " + Name);
    return FlagResult;
  }
  [[nodiscard]] TLoaded LoadFullPath(const platform::TPath& Path) override {
    Calls.push_back(L"path " + Path);
    return PathResult;
  }
  [[nodiscard]] platform::TPath SystemDirectory() override { return Folder; }

  TLoaded FlagResult;
  TLoaded PathResult;
  platform::TPath Folder = L"C:\\Windows\\system32";
  std::vector<std::wstring> Calls;
};

TEST(LoadSystemLibrary, UsesTheSystem32FlagAndFallsBackToTheFullPathOnlyWhenTheFlagIsRefused) {
  int Module = 0;
  const struct {
    const char* Name;
    platform::ISystemLoader::TLoaded Flag;
    platform::TPath Folder;
    std::vector<std::wstring> Calls;
    bool Loaded;
  } Cases[] = {
      {"flag supported", {&Module, 0}, L"C:\\Windows\\system32", {L"flag wininet.dll"}, true},
      {"flag refused (Vista without KB2533623)", {nullptr, 87}, L"C:\\Windows\\system32",
       {L"flag wininet.dll", L"path C:\\Windows\\system32\\wininet.dll"}, true},
      {"folder with a trailing backslash", {nullptr, 87}, L"C:\\Windows\\system32\\",
       {L"flag wininet.dll", L"path C:\\Windows\\system32\\wininet.dll"}, true},
      {"not in System32: no search elsewhere", {nullptr, 126}, L"C:\\Windows\\system32", {L"flag wininet.dll"}, false},
      {"no system folder: no bare name", {nullptr, 87}, L"", {L"flag wininet.dll"}, false},
  };
  for (const auto& Case : Cases) {
    TFakeLoader Loader;
    Loader.FlagResult = Case.Flag;
    Loader.PathResult = {&Module, 0};
    Loader.Folder = Case.Folder;
    EXPECT_EQ(platform::LoadSystemLibrary(Loader, L"wininet.dll") != nullptr, Case.Loaded) << Case.Name;
    EXPECT_EQ(Loader.Calls, Case.Calls) << Case.Name;
  }
}

}  // namespace

namespace {

// Windows-1252 for the characters below; nothing for those it lacks.
std::optional<char> ToWindows1252(wchar_t Character) {
  if (Character < 0x80) return static_cast<char>(Character);
  if (Character == L'\u00B7') return '\xB7';
  return std::nullopt;
}

TEST(DecimalSeparatorOf, TakesTheFirstCharacterInTheSystemCodePage) {
  const struct {
    const wchar_t* Value;
    char Separator;
  } Cases[] = {{L",", ','}, {L"\u00B7", '\xB7'}, {L",,", ','}, {L"", '.'}, {L"\u066B", '.'}, {L"\u066B,", '.'}};
  for (const auto& Case : Cases) {
    EXPECT_EQ(platform::DecimalSeparatorOf(Case.Value, ToWindows1252), Case.Separator) << Case.Separator;
  }
}

}  // namespace

namespace {

// A server's Location, resolved as browsers do, whatever bytes it holds.
TEST(ResolveReference, FollowsTheStandardsExamplesAndCleansWhatTheServerSent) {
  const struct {
    const char* Base;
    const char* Reference;
    const char* Target;
  } Cases[] = {
      {"http://a/b/c/d;p?q", "g", "http://a/b/c/g"},
      {"http://a/b/c/d;p?q", "./g", "http://a/b/c/g"},
      {"http://a/b/c/d;p?q", "g/", "http://a/b/c/g/"},
      {"http://a/b/c/d;p?q", "/g", "http://a/g"},
      {"http://a/b/c/d;p?q", "//g", "http://g"},
      {"http://a/b/c/d;p?q", "?y", "http://a/b/c/d;p?y"},
      {"http://a/b/c/d;p?q", "g?y", "http://a/b/c/g?y"},
      {"http://a/b/c/d;p?q", "#s", "http://a/b/c/d;p?q"},
      {"http://a/b/c/d;p?q", "g#s", "http://a/b/c/g"},
      {"http://a/b/c/d;p?q", "", "http://a/b/c/d;p?q"},
      {"http://a/b/c/d;p?q", "..", "http://a/b/"},
      {"http://a/b/c/d;p?q", "../../g", "http://a/g"},
      {"http://a/b/c/d;p?q", "../../../../g", "http://a/g"},
      {"http://a/b/c/d;p?q", "/./g/.", "http://a/g/"},
      {"http://a/b/c/d;p?q", "g.", "http://a/b/c/g."},
      {"http://a/b/c/d;p?q", "./../g", "http://a/b/g"},
      {"http://a/b/c/d;p?q", "g;x=1/../y", "http://a/b/c/y"},
      {"http://a/b/c/d;p?q", "1g:h", "http://a/b/c/1g:h"},  // no scheme begins with a digit
      {"http://a/b/c/d;p?q", "g:h", "g:h"},
      {"http://a/b", "HTTPS://x/y/../z?k", "HTTPS://x/z?k"},
      {"http://a", "g", "http://a/g"},
      {"http://a?q", "g", "http://a/g"},
      {"http://a/b", "a.b:c", "a.b:c"},
      {"http://a/b", " \t/g h\r\n", "http://a/g%20h"},
      {"http://a/b", "/\xE9\x7F", "http://a/%E9%7F"},
  };
  for (const auto& Case : Cases) {
    EXPECT_EQ(platform::ResolveReference(Case.Base, Case.Reference), Case.Target) << Case.Reference;
  }
  EXPECT_EQ(platform::ResolveReference("http://a/b", std::string("/x\0y", 4)), "http://a/x%00y");
}

TEST(IsWebAddress, OnlyHttpAndHttpsWithAnAuthority) {
  const struct {
    const char* Url;
    bool Web;
  } Cases[] = {{"http://a/b", true},     {"HTTPS://a", true},   {"ftp://a/b", false},
               {"http:/a", false},       {"file:///c:/x", false}, {"javascript:alert(1)//http://a", false},
               {"httpx://a", false},     {"//a/b", false}};
  for (const auto& Case : Cases) EXPECT_EQ(platform::IsWebAddress(Case.Url), Case.Web) << Case.Url;
}

// The desktop's shell first; the direct one, with the window, only when it did not take the address.
TEST(UserShell, OpensDirectlyOnlyWhenTheDesktopsShellDidNotTakeTheAddress) {
  struct TDesktop final : platform::IDesktopShell {
    bool Takes = false;
    std::string Given;
    bool OpenAddress(const std::string& Address) override {
      Given = Address;
      return Takes;
    }
  };
  for (const bool Takes : {true, false}) {
    TDesktop Desktop;
    Desktop.Takes = Takes;
    fakes::TFakeShell Direct;
    platform::TUserShell(Desktop, Direct).OpenAddress("http://h/p?q=1", 42);
    EXPECT_EQ(Desktop.Given, "http://h/p?q=1");
    EXPECT_EQ(Direct.Opened, std::vector<std::string>(Takes ? 0 : 1, "http://h/p?q=1")) << Takes;
    EXPECT_EQ(Direct.Owners, std::vector<std::uintptr_t>(Takes ? 0 : 1, 42)) << Takes;
  }
}

}  // namespace
