#include "platform/win/Processes_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/win/Folders_win.h"
#include "platform/win/Signature_win.h"
#include "tests/win/WinTestSupport.h"

namespace {

using wintest::OwnFolder;

TEST(WinProcesses, StartsTheInstallerQuotedInItsOwnFolderAndWatchesItEnd) {
  const std::wstring Folder = OwnFolder() + L"installer dir\\";
  platform::win::TWinFolders Folders;
  Folders.CreateFolderTree(Folder);
  const std::wstring Installer = Folder + L"VestoraEditorInstaller.exe";
  ASSERT_TRUE(::CopyFileW((OwnFolder() + L"fixture_installer.exe").c_str(), Installer.c_str(), FALSE));
  ::DeleteFileW((Folder + L"installer-run.txt").c_str());

  platform::win::TWinProcesses Processes;
  auto Start =
      Processes.StartInstaller(Installer, "/VERYSILENT /SUPPRESSMSGBOXES /CALLBACKWND 657346", "", [] { return false; });
  ASSERT_EQ(Start.Result, platform::IProcesses::TStartResult::Started);
  ASSERT_NE(Start.Process, nullptr);
  auto& Process = Start.Process;
  platform::IProcess::TWait State = platform::IProcess::TWait::Running;
  for (int i = 0; i < 500 && State == platform::IProcess::TWait::Running; ++i) State = Process->Wait(10);
  EXPECT_EQ(State, platform::IProcess::TWait::Ended);

  // Paths here are ASCII, so the record reads back byte for byte.
  std::ifstream Record(std::filesystem::path(Folder + L"installer-run.txt"));
  std::string CommandLine;
  std::string WorkingFolder;
  std::getline(Record, CommandLine);
  std::getline(Record, WorkingFolder);
  const std::string NarrowInstaller(Installer.begin(), Installer.end());
  const std::string NarrowFolder(Folder.begin(), Folder.end());
  EXPECT_EQ(CommandLine, "\"" + NarrowInstaller + "\" /VERYSILENT /SUPPRESSMSGBOXES /CALLBACKWND 657346");
  EXPECT_EQ(WorkingFolder + "\\", NarrowFolder);
  EXPECT_TRUE(Folders.FileExists(Installer));
  EXPECT_FALSE(Folders.FileExists(Folder));
}

TEST(WinProcesses, AMissingInstallerGivesNoProcess) {
  platform::win::TWinProcesses Processes;
  for (const std::wstring& Path : {OwnFolder() + L"nothing-here\\VestoraEditorInstaller.exe", std::wstring()}) {
    for (const char* Signer : {"", "Ostrevane Software Limited"}) {
      const auto Start = Processes.StartInstaller(Path, "/VERYSILENT", Signer, [] { return false; });
      EXPECT_EQ(Start.Result, platform::IProcesses::TStartResult::Failed);
      EXPECT_EQ(Start.Process, nullptr);
    }
  }
}

// The signed copies of the fixture installer that tools/test makes beside win_tests.exe.
TEST(WinProcesses, OnlyAnInstallerSignedByTheMakerRuns) {
  using R = platform::IProcesses::TStartResult;
  const struct {
    const wchar_t* File;
    const char* Signer;
    R Expected;
    bool HeldByAScanner = false;  // open elsewhere, shared with nobody
    bool Cancelled = false;       // once the file has passed its check
  } Cases[] = {
      {L"installer-maker.exe", "Ostrevane Software Limited", R::Started},
      {L"installer-maker.exe", "Ostrevane Software", R::Untrusted},
      {L"installer-unsigned.exe", "Ostrevane Software Limited", R::Untrusted},
      {L"installer-other.exe", "Ostrevane Software Limited", R::Untrusted},
      {L"installer-altered.exe", "Ostrevane Software Limited", R::Untrusted},
      {L"installer-unsigned.exe", "", R::Started},
      {L"installer-maker.exe", "Ostrevane Software Limited", R::Busy, true},
      {L"installer-maker.exe", "Ostrevane Software Limited", R::Failed, false, true},
  };
  platform::win::TWinProcesses Processes;
  for (const auto& Case : Cases) {
    const std::wstring Folder = OwnFolder() + L"signed\\";
    const std::wstring Installer = Folder + Case.File;
    ASSERT_NE(::GetFileAttributesW(Installer.c_str()), INVALID_FILE_ATTRIBUTES) << "tools/test signs the fixtures";
    ::DeleteFileW((Folder + L"installer-run.txt").c_str());
    const HANDLE Scanner = Case.HeldByAScanner ? ::CreateFileW(Installer.c_str(), GENERIC_READ, 0, nullptr,
                                                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)
                                               : INVALID_HANDLE_VALUE;
    auto Start = Processes.StartInstaller(Installer, "/VERYSILENT", Case.Signer, [&Case] { return Case.Cancelled; });
    if (Scanner != INVALID_HANDLE_VALUE) ::CloseHandle(Scanner);
    EXPECT_EQ(Start.Result, Case.Expected) << std::string(Case.File, Case.File + wcslen(Case.File)) << " " << Case.Signer;
    EXPECT_EQ(Start.Process != nullptr, Case.Expected == R::Started);
    if (Start.Process) (void)Start.Process->Wait(5000);
    // Only a started installer leaves its record.
    EXPECT_EQ(::GetFileAttributesW((Folder + L"installer-run.txt").c_str()) != INVALID_FILE_ATTRIBUTES,
              Case.Expected == R::Started);
  }
}

// Each verification's state is released: two hundred of them leave the heap as they found it.
TEST(WinSignature, VerificationsLeaveNoMemoryBehind) {
  const std::wstring Installer = OwnFolder() + L"signed\\installer-maker.exe";
  const HANDLE File = ::CreateFileW(Installer.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(File, INVALID_HANDLE_VALUE) << "tools/test signs the fixtures";
  const auto Verify = [&](int Times) {
    for (int i = 0; i < Times; ++i) ASSERT_TRUE(platform::win::VerifiedSigner(File, Installer).has_value());
  };
  // The bytes in use on the process heap, where the verification's state lives.
  const auto HeapInUse = [] {
    std::size_t Bytes = 0;
    PROCESS_HEAP_ENTRY Entry{};
    ::HeapLock(::GetProcessHeap());
    while (::HeapWalk(::GetProcessHeap(), &Entry)) {
      if ((Entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) != 0) Bytes += Entry.cbData;
    }
    ::HeapUnlock(::GetProcessHeap());
    return Bytes;
  };
  Verify(20);  // the libraries and their caches settle first
  const std::size_t Before = HeapInUse();
  Verify(200);
  EXPECT_LT(HeapInUse(), Before + 64 * 1024) << "bytes before: " << Before;
  ::CloseHandle(File);
}

}  // namespace
