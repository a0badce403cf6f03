// The download thread with WinInet against the local link service, whose
// address tools/test passes in VESTORA_TEST_LINK_SERVICE.
#include <windows.h>
// After windows.h, which they build on.
#include <iphlpapi.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <thread>

#include "download/Downloader.h"
#include "platform/win/Clock_win.h"
#include "platform/win/DownloadFiles_win.h"
#include "platform/win/Handles.h"
#include "platform/win/Internet_win.h"
#include "platform/win/Processes_win.h"
#include "platform/win/SyncOwner_win.h"
#include "tests/win/WinTestSupport.h"

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

  // A cancel as the user makes it, on the GUI thread, once the server holds the
  // download: the file exists, made just before the request, and has Bytes, and the
  // link service has had Requests for Id; at the latest after five seconds, should
  // the bytes never come.
  struct CancelOnceHeld {
    std::uint64_t Bytes;
    const char* Id = nullptr;
    int Requests = 0;
  };
  std::vector<TReport> Run(const std::string& Path, std::optional<CancelOnceHeld> Cancel = std::nullopt) {
    std::vector<TReport> Reports;
    download::TDownloader Thread(
        {Internet, Files, Clock, Owner, '.'}, "http://" + Service + Path, Destination,
        [&](const std::string& Text, std::int32_t Percent) {
          Reports.push_back({Text, Percent});
          EXPECT_EQ(::GetCurrentThreadId(), GuiThread);  // reports run on the owning thread
        },
        100000);
    // Served from the message loop, as in the program, until the thread has ended.
    MSG Message{};
    const DWORD Start = ::GetTickCount();
    while (Reports.empty() || Reports.back().Percent == 0 || (Reports.back().Percent > 0 && Reports.back().Percent < 100)) {
      const bool Held = Cancel && BytesOnDisk() >= Cancel->Bytes && (!Cancel->Id || Served(Cancel->Id).Requests >= Cancel->Requests);
      if (Cancel && (Held || ::GetTickCount() - Start > 5000)) break;
      if (::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT) == WAIT_OBJECT_0) {
        while (::PeekMessageW(&Message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&Message);
      }
    }
    CancelledAt = ::GetTickCount();
    if (Cancel) Thread.Terminate();
    Thread.WaitFor();
    return Reports;
  }

  // What this process holds, as the system counts it: its threads, its
  // connections to the link service that this side has not closed, its working set.
  struct TFootprint {
    std::vector<DWORD> Threads;
    int Connections = 0;
    std::size_t WorkingSet = 0;
  };
  [[nodiscard]] TFootprint Footprint() const {
    TFootprint Now;
    const HANDLE Snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    const platform::win::TUniqueHandle Threads(Snapshot == INVALID_HANDLE_VALUE ? nullptr : Snapshot);
    THREADENTRY32 Thread{};
    Thread.dwSize = sizeof(Thread);
    for (BOOL More = ::Thread32First(Threads.Get(), &Thread); More; More = ::Thread32Next(Threads.Get(), &Thread)) {
      if (Thread.th32OwnerProcessID == ::GetCurrentProcessId()) Now.Threads.push_back(Thread.th32ThreadID);
    }
    std::vector<char> Buffer(1 << 20);  // room for tens of thousands of connections
    ULONG Size = static_cast<ULONG>(Buffer.size());
    auto* Table = reinterpret_cast<MIB_TCPTABLE*>(Buffer.data());
    const DWORD Read = ::GetTcpTable(Table, &Size, FALSE);
    EXPECT_EQ(Read, static_cast<DWORD>(NO_ERROR));
    const DWORD NetworkPort = ((Port >> 8) | (Port << 8)) & 0xFFFF;
    for (DWORD Row = 0; Read == NO_ERROR && Row < Table->dwNumEntries; ++Row) {
      const MIB_TCPROW& Connection = Table->table[Row];
      const bool Held = Connection.dwState == MIB_TCP_STATE_ESTAB || Connection.dwState == MIB_TCP_STATE_CLOSE_WAIT;
      Now.Connections += Connection.dwRemotePort == NetworkPort && Held ? 1 : 0;
    }
    PROCESS_MEMORY_COUNTERS Memory{};
    if (::GetProcessMemoryInfo(::GetCurrentProcess(), &Memory, sizeof(Memory))) Now.WorkingSet = Memory.WorkingSetSize;
    return Now;
  }

  // Waits until all but Kept of the threads that are not Known have ended, 20 s at most.
  void AwaitThreadsEnded(const std::vector<DWORD>& Known, std::size_t Kept) const {
    std::vector<platform::win::TUniqueHandle> Started;
    std::vector<HANDLE> Running;
    for (const DWORD Id : Footprint().Threads) {
      if (std::find(Known.begin(), Known.end(), Id) != Known.end()) continue;
      Started.emplace_back(::OpenThread(SYNCHRONIZE, FALSE, Id));
      if (Started.back() && Running.size() < MAXIMUM_WAIT_OBJECTS) Running.push_back(Started.back().Get());
    }
    const DWORD Deadline = ::GetTickCount() + 20000;
    while (Running.size() > Kept) {
      const DWORD Left = Deadline - ::GetTickCount();  // past the deadline it wraps far above 20 s
      const DWORD Ended = Left <= 20000 ? ::WaitForMultipleObjects(static_cast<DWORD>(Running.size()), Running.data(),
                                                                   FALSE, Left)
                                        : WAIT_TIMEOUT;
      if (Ended >= WAIT_OBJECT_0 + Running.size()) return;
      Running.erase(Running.begin() + (Ended - WAIT_OBJECT_0));
    }
  }

  // What the link service counted for the requests of one download.
  struct TServed {
    int Requests = 0;
    unsigned long long Sent = 0;  // bytes of the body
  };
  [[nodiscard]] TServed Served(const std::string& Id) {
    std::string Text;
    const std::shared_ptr<platform::IInternetSession> Session = Internet.Open();
    platform::IInternetSession::TOpened Stats = Session->OpenUrl("http://" + Service + "/stats/" + Id, "");
    char Buffer[256];
    for (platform::IInternetRequest::TRead Read{true, 0, 1}; Stats.Request && Read.Ok && Read.Bytes > 0;) {
      Read = Stats.Request->Read(Buffer, sizeof(Buffer));
      Text.append(Buffer, Read.Ok ? Read.Bytes : 0);
    }
    TServed Counts;
    EXPECT_EQ(std::sscanf(Text.c_str(), "requests %d sent %llu", &Counts.Requests, &Counts.Sent), 2) << Text;
    return Counts;
  }

  // The first and the last byte of the file on disk.
  [[nodiscard]] std::string Ends() const {
    std::ifstream File(Destination.c_str(), std::ios::binary);
    std::string Bytes(2, '\0');
    File.read(&Bytes[0], 1).seekg(-1, std::ios::end).read(&Bytes[1], 1);
    return File ? Bytes : std::string();
  }

  // Nothing while the file does not exist.
  [[nodiscard]] std::optional<std::uint64_t> BytesOnDisk() const {
    WIN32_FILE_ATTRIBUTE_DATA Data{};
    if (!::GetFileAttributesExW(Destination.c_str(), GetFileExInfoStandard, &Data)) return std::nullopt;
    return (static_cast<std::uint64_t>(Data.nFileSizeHigh) << 32) | Data.nFileSizeLow;
  }

  const std::string Service = [] {
    const char* Address = std::getenv("VESTORA_TEST_LINK_SERVICE");
    EXPECT_NE(Address, nullptr) << "run the win tests through tools/test, which starts the link service";
    return std::string(Address != nullptr ? Address : "127.0.0.1:9");
  }();
  const DWORD Port = static_cast<DWORD>(std::stoul(Service.substr(Service.rfind(':') + 1)));
  DWORD CancelledAt = 0;
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
  EXPECT_EQ(BytesOnDisk().value_or(0), 2500000u);
  // The room the file was measured against: the volume's, known; none without a folder.
  EXPECT_GT(Files.FreeSpace(Destination).value_or(0), 2500000u);
  EXPECT_FALSE(Files.FreeSpace(L"no-folder.exe").has_value());
}

// What follows a complete download runs on its thread: a signed installer of 200 MB is checked (the whole
// file hashed) and started while a window of this thread answers WM_NULL sent from another thread.
TEST_F(WinDownloader, ABigInstallerIsCheckedAndStartedWhileTheWindowAnswers) {
  const std::wstring Installer = wintest::OwnFolder() + L"signed-big\\installer-maker.exe";
  WIN32_FILE_ATTRIBUTE_DATA Data{};
  ASSERT_TRUE(::GetFileAttributesExW(Installer.c_str(), GetFileExInfoStandard, &Data)) << "tools/test signs it";
  ASSERT_GE(Data.nFileSizeLow, 200000000u);
  const platform::win::TWindow Window(
      ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr));
  std::atomic<int> Phase{0};  // 1 while the file is checked, 2 once it has started
  std::atomic<int> AnsweredDuringCheck{0};  // round trips begun and ended within the check
  std::thread Pinger([&] {
    while (Phase < 2) {
      const bool During = Phase == 1;
      ::SendMessageTimeoutW(Window.Get(), WM_NULL, 0, 0, SMTO_NORMAL, 60000, nullptr);
      if (During && Phase == 1) ++AnsweredDuringCheck;
    }
  });
  std::optional<platform::IProcesses::TStartResult> Outcome;
  const auto Failed = [&](const std::string&, std::int32_t Percent) {
    if (Percent >= 0) return;
    Outcome = platform::IProcesses::TStartResult::Failed;
    Phase = 2;
  };
  download::TDownloader Thread({Internet, Files, Clock, Owner, '.'}, "http://" + Service + "/size/200000", Destination,
                               Failed, 100000, [&](download::IDownloadThread& After) {
                                 Phase = 1;
                                 const platform::IProcesses::TStart Start = platform::win::TWinProcesses().StartInstaller(
                                     Installer, "/VERYSILENT", "Ostrevane Software Limited", [] { return false; });
                                 Phase = 2;
                                 After.Synchronize([&] { Outcome = Start.Result; });
                               });
  while (!Outcome) {
    if (::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT) == WAIT_OBJECT_0) wintest::Pump();
  }
  Pinger.join();
  EXPECT_EQ(Outcome, platform::IProcesses::TStartResult::Started);
  EXPECT_GT(AnsweredDuringCheck.load(), 0);
}

TEST_F(WinDownloader, AFailedAnswerEndsInItsErrorAndLeavesNoFile) {
  const struct {
    const char* Path;
    const char* Line1;  // how the first status line begins
  } Cases[] = {{"/status/404", "Download Error + [2:404]\xAC"},
               {"/chunked", "Download Error [3]\xAC"},
               {"/size/99999", "Download Error [3]\xAC"},
               {"/short/300000", "Download Error ["}};  // the read fails (4) or returns nothing (5)
  for (const auto& Case : Cases) {
    const std::vector<TReport> Reports = Run(Case.Path);
    ASSERT_FALSE(Reports.empty());
    EXPECT_EQ(Reports.back().Percent, -1) << Case.Path;
    EXPECT_EQ(Reports.back().Text.rfind(Case.Line1, 0), 0u) << Reports.back().Text;
    // Nothing is left behind.
    EXPECT_EQ(::GetFileAttributesW(Destination.c_str()), INVALID_FILE_ATTRIBUTES) << Case.Path;
  }
}

// Whatever the server does, a cancel ends the download at once; the link service
// holds each of these connections for ten minutes. A dripping server is cancelled
// over and over, as an impatient user would: once WinInet has let go, nothing of
// those downloads stays, no thread, connection or memory.
TEST_F(WinDownloader, CancelsEndAtOnceWhateverTheServerDoesAndLeaveNothingBehind) {
  constexpr std::size_t MemoryBound = 8 << 20;
  const struct {
    const char* Path;
    std::uint64_t Bytes;  // on disk when the server starts holding the download
    int Cycles;
  } Cases[] = {{"/drip/200000", 1, 20}, {"/stall/5000000", 1200000, 1}, {"/silent", 0, 1}};
  for (const auto& Case : Cases) {
    const TFootprint Before = Footprint();
    for (int Cycle = 0; Cycle < Case.Cycles; ++Cycle) {
      const std::vector<TReport> Reports = Run(Case.Path, CancelOnceHeld{Case.Bytes});
      ASSERT_FALSE(Reports.empty()) << Case.Path;
      EXPECT_EQ(Reports.back().Text.substr(0, 19), "Download Terminated") << Case.Path;
      EXPECT_EQ(Reports.back().Percent, -1) << Case.Path;
      EXPECT_LT(::GetTickCount() - CancelledAt, 10000u) << Case.Path;
      EXPECT_EQ(::GetFileAttributesW(Destination.c_str()), INVALID_FILE_ATTRIBUTES) << Case.Path;
    }
    if (Case.Cycles == 1) continue;
    // WinInet's threads end once they have let go of the downloads and closed their
    // connections; a thread pool may keep two for later work.
    AwaitThreadsEnded(Before.Threads, 2);
    const TFootprint After = Footprint();
    std::printf("%d cancels of %s: threads %zu -> %zu, connections %d -> %d, working set %zu -> %zu KB\n", Case.Cycles,
                Case.Path, Before.Threads.size(), After.Threads.size(), Before.Connections, After.Connections,
                Before.WorkingSet >> 10, After.WorkingSet >> 10);
    EXPECT_LE(After.Threads.size(), Before.Threads.size() + 2) << Case.Path;
    EXPECT_LE(After.Connections, Before.Connections) << Case.Path;
    EXPECT_LE(After.WorkingSet, Before.WorkingSet + MemoryBound) << Case.Path;
  }
}

// An address longer than the system's URL functions take is never handed to them.
TEST_F(WinDownloader, TenRedirectsAreFollowedAndAnEleventhAnEndlessChainOrAnOverlongAddressEndsIt) {
  const struct {
    const char* Path;
    std::int32_t Percent;
  } Cases[] = {{"/hops/10", 100}, {"/hops/11", -1},    {"/redirect/0", -1},
               {"/long/2083", 100}, {"/long/2084", -1}, {"/long/9000", -1}};
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

// A poor line or a busy server: the download tries again and continues the same
// file where it can, so that only what was lost is sent again; it starts over when
// the file is another, and ends in the last failure when the tries are spent. A
// cancel during a pause or a reconnect that the server holds ends it at once.
TEST_F(WinDownloader, RetriesResumeOnlyTheSameFileAndCancelsStayInstant) {
  const struct {
    const char* Id;
    const char* Query;
    std::uint32_t Size;
    std::int32_t Percent;
    int Requests;
    unsigned long long MostSent;
    const char* Ends;  // of the complete file; of the report's first line when it fails
    int CancelAtRequest;
  } Cases[] = {
      {"cut3", "cut=8000000&cuts=3", 30000000, 100, 4, 33000000, "vv", 0},
      {"norange", "cut=1000000&cuts=1&norange=1", 3000000, 100, 2, 4000000, "vv", 0},
      {"change", "cut=1000000&cuts=1&change=1", 3000000, 100, 2, 4000000, "ww", 0},
      {"every", "cut=50000&reset=1", 300000, 100, 0, 0, "vv", 0},
      {"later", "busy=2&retry=2", 300000, 100, 3, 300000, "vv", 0},
      // WinInet sends a request again by itself when its connection was reset, and reports the
      // last as a failed opening or an answer without a status: no count, the failure either way.
      {"unanswered", "unanswered=1", 300000, -1, 0, 0, "Download Error ", 0},
      {"pause", "busy=1&retry=30", 300000, -1, 1, 0, "Download Terminated", 1},
      {"held", "cut=1000000&cuts=1&hold=1", 3000000, -1, 2, 1000000, "Download Terminated", 2},
  };
  for (const auto& Case : Cases) {
    const std::string Path = "/flaky/" + std::to_string(Case.Size) + "?id=" + Case.Id + "&" + Case.Query;
    const std::vector<TReport> Reports =
        Case.CancelAtRequest == 0 ? Run(Path) : Run(Path, CancelOnceHeld{0, Case.Id, Case.CancelAtRequest});
    ASSERT_FALSE(Reports.empty()) << Case.Id;
    EXPECT_EQ(Reports.back().Percent, Case.Percent) << Case.Id << ": " << Reports.back().Text;
    EXPECT_TRUE(Case.CancelAtRequest == 0 || ::GetTickCount() - CancelledAt < 10000u) << Case.Id;
    const TServed Served = this->Served(Case.Id);
    std::printf("%s: %d requests, %llu bytes sent\n", Case.Id, Served.Requests, Served.Sent);
    EXPECT_TRUE(Case.Requests == 0 || Served.Requests == Case.Requests) << Case.Id << ": " << Served.Requests;
    EXPECT_TRUE(Case.MostSent == 0 || Served.Sent <= Case.MostSent) << Case.Id << ": " << Served.Sent;
    if (Case.Percent == 100) {
      EXPECT_EQ(BytesOnDisk().value_or(0), Case.Size) << Case.Id;
      EXPECT_EQ(Ends(), Case.Ends) << Case.Id;
    } else {
      EXPECT_EQ(Reports.back().Text.rfind(Case.Ends, 0), 0u) << Case.Id << ": " << Reports.back().Text;
      EXPECT_EQ(::GetFileAttributesW(Destination.c_str()), INVALID_FILE_ATTRIBUTES) << Case.Id;
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
