#include "platform/win/Processes_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/win/Folders_win.h"

namespace {

std::wstring OwnFolder() {
  wchar_t Path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, Path, MAX_PATH);
  std::wstring Folder(Path);
  return Folder.substr(0, Folder.find_last_of(L'\\') + 1);
}

TEST(WinProcesses, StartsTheInstallerQuotedInItsOwnFolderAndWatchesItEnd) {
  const std::wstring Folder = OwnFolder() + L"installer dir\\";
  platform::win::TWinFolders Folders;
  Folders.CreateFolderTree(Folder);
  const std::wstring Installer = Folder + L"VestoraEditorInstaller.exe";
  ASSERT_TRUE(::CopyFileW((OwnFolder() + L"fixture_installer.exe").c_str(), Installer.c_str(), FALSE));
  ::DeleteFileW((Folder + L"installer-run.txt").c_str());

  platform::win::TWinProcesses Processes;
  auto Process = Processes.StartInstaller(Installer, "/VERYSILENT /SUPPRESSMSGBOXES /CALLBACKWND 657346");
  ASSERT_NE(Process, nullptr);
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
  EXPECT_EQ(Processes.StartInstaller(OwnFolder() + L"nothing-here\\VestoraEditorInstaller.exe", "/VERYSILENT"), nullptr);
  EXPECT_EQ(Processes.StartInstaller(L"", "/VERYSILENT"), nullptr);
}

}  // namespace
