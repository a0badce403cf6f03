// The download thread with WinInet against the local link service, whose
// address tools/test passes in VESTORA_TEST_LINK_SERVICE.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "download/Downloader.h"
#include "platform/win/Clock_win.h"
#include "platform/win/DownloadFiles_win.h"
#include "platform/win/Internet_win.h"
#include "platform/win/SyncOwner_win.h"

namespace {

struct TReport {
  std::string Text;
  std::int32_t Percent;
};

class WinDownloader : public ::testing::Test {
protected:
  WinDownloader() {
    wchar_t Temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, Temp);
    Destination = std::wstring(Temp) + L"vestora-download-test.exe";
  }
  ~WinDownloader() override { ::DeleteFileW(Destination.c_str()); }

  // A cancel as the user makes it: on the GUI thread, after Ms of the download.
  struct CancelAfterMs {
    DWORD Ms;
  };
  std::vector<TReport> Run(const std::string& Path, std::optional<CancelAfterMs> Cancel = std::nullopt) {
    const char* Service = std::getenv("VESTORA_TEST_LINK_SERVICE");
    EXPECT_NE(Service, nullptr) << "run the win tests through tools/test, which starts the link service";
    std::vector<TReport> Reports;
    download::TDownloader Thread(
        {Internet, Files, Clock, Owner, '.'}, std::string("http://") + (Service ? Service : "127.0.0.1:9") + Path,
        Destination,
        [&](const std::string& Text, std::int32_t Percent) {
          Reports.push_back({Text, Percent});
          EXPECT_EQ(::GetCurrentThreadId(), GuiThread);  // reports run on the owning thread
        },
        100000);
    // Served from the message loop, as in the program, until the thread has ended.
    MSG Message{};
    const DWORD Start = ::GetTickCount();
    while (Reports.empty() || Reports.back().Percent == 0 || (Reports.back().Percent > 0 && Reports.back().Percent < 100)) {
      if (Cancel && ::GetTickCount() - Start >= Cancel->Ms) break;
      if (::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT) == WAIT_OBJECT_0) {
        while (::PeekMessageW(&Message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&Message);
      }
    }
    if (Cancel) Thread.Terminate();
    Thread.WaitFor();
    return Reports;
  }

  DWORD GuiThread = ::GetCurrentThreadId();
  platform::win::TWinInternet Internet;
  platform::win::TWinDownloadFiles Files;
  platform::win::TWinClock Clock;
  platform::win::TWinSyncOwner Owner{::GetModuleHandleW(nullptr), [](const std::function<void()>& Call) { Call(); }};
  std::wstring Destination;
};

TEST_F(WinDownloader, FetchesAndVerifiesAFile) {
  const std::vector<TReport> Reports = Run("/size/2500000");
  ASSERT_GE(Reports.size(), 3u);
  EXPECT_EQ(Reports.front().Text, "Downloading...");
  EXPECT_EQ(Reports[1].Text.substr(0, 12), "Downloading ");
  EXPECT_EQ(Reports.back().Text, "Downloaded\xAC" "2 of 2mb");
  EXPECT_EQ(Reports.back().Percent, 100);
  EXPECT_EQ(Files.SizeByName(Destination), 2500000u);
}

TEST_F(WinDownloader, RejectsAnErrorStatusAChunkedAnswerAndATooSmallOne) {
  const struct {
    const char* Path;
    const char* Line1;
  } Cases[] = {{"/status/404", "Download Error + [2:404]"},
               {"/chunked", "Download Error [3]"},
               {"/size/99999", "Download Error [3]"}};
  for (const auto& Case : Cases) {
    const std::vector<TReport> Reports = Run(Case.Path);
    ASSERT_FALSE(Reports.empty());
    EXPECT_EQ(Reports.back().Percent, -1) << Case.Path;
    EXPECT_EQ(Reports.back().Text.substr(0, Reports.back().Text.find('\xAC')), Case.Line1) << Case.Path;
    // Nothing is left behind.
    EXPECT_EQ(::GetFileAttributesW(Destination.c_str()), INVALID_FILE_ATTRIBUTES) << Case.Path;
  }
}

TEST_F(WinDownloader, ADroppedConnectionLeavesNoFile) {
  const std::vector<TReport> Reports = Run("/short/300000");
  ASSERT_FALSE(Reports.empty());
  EXPECT_EQ(Reports.back().Percent, -1);
  EXPECT_EQ(Reports.back().Text.substr(0, 16), "Download Error [");
  EXPECT_EQ(::GetFileAttributesW(Destination.c_str()), INVALID_FILE_ATTRIBUTES);
}

// Whatever the server does, a cancel ends the download at once; the link
// service holds each of these connections for ten minutes.
TEST_F(WinDownloader, CancelEndsAtOnceWhateverTheServerDoes) {
  for (const char* Path : {"/stall/5000000", "/silent", "/drip/200000"}) {
    const DWORD Start = ::GetTickCount();
    const std::vector<TReport> Reports = Run(Path, CancelAfterMs{1500});
    const DWORD Elapsed = ::GetTickCount() - Start;
    ASSERT_FALSE(Reports.empty()) << Path;
    EXPECT_EQ(Reports.back().Percent, -1) << Path;
    EXPECT_EQ(Reports.back().Text.substr(0, 19), "Download Terminated") << Path;
    // 1.5 s until the cancel, then far less than the server's ten minutes.
    EXPECT_LT(Elapsed, 10000u) << Path;
    EXPECT_EQ(::GetFileAttributesW(Destination.c_str()), INVALID_FILE_ATTRIBUTES) << Path;
  }
}

TEST_F(WinDownloader, TenRedirectsAreFollowedAndAnEleventhOrAnEndlessChainEndsIt) {
  const struct {
    const char* Path;
    std::int32_t Percent;
  } Cases[] = {{"/hops/10", 100}, {"/hops/11", -1}, {"/redirect/0", -1}};
  for (const auto& Case : Cases) {
    const std::vector<TReport> Reports = Run(Case.Path);
    ASSERT_FALSE(Reports.empty()) << Case.Path;
    EXPECT_EQ(Reports.back().Percent, Case.Percent) << Case.Path;
    if (Case.Percent < 0) {
      EXPECT_EQ(Reports.back().Text, "Download Error [1]\xAC" "Please check your internet connection and try again.");
      EXPECT_EQ(::GetFileAttributesW(Destination.c_str()), INVALID_FILE_ATTRIBUTES) << Case.Path;
    }
  }
}

// WinInet's threads may outlive a cancelled download, so the library stays
// loaded after its last user has gone instead of being unloaded under them.
TEST_F(WinDownloader, WinInetStaysLoadedAfterItsLastUserHasGone) {
  {
    platform::win::TWinInternet LastUser;
    ASSERT_NE(LastUser.Open(), nullptr);
  }
  // Pinned: freed any number of times more, it stays.
  for (int Free = 0; Free < 64; ++Free) {
    const HMODULE WinInet = ::GetModuleHandleW(L"wininet.dll");
    ASSERT_NE(WinInet, nullptr) << "unloaded after " << Free << " more frees";
    ::FreeLibrary(WinInet);
  }
}

}  // namespace
