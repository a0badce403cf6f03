#include "platform/win/Folders_win.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

TEST(WinFolders, ProfileFolderIsAnExistingFolder) {
  platform::win::TWinFolders Folders;
  const auto Profile = Folders.ProfileFolder();
  ASSERT_TRUE(Profile.has_value());
  const DWORD Attributes = ::GetFileAttributesW(Profile->c_str());
  ASSERT_NE(Attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(Attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(WinFolders, CreateFolderTreeMakesEveryMissingParentAndToleratesExistingOnes) {
  wchar_t Temp[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, Temp);
  const std::wstring Root = std::wstring(Temp) + L"vestora-folders-" + std::to_wstring(::GetCurrentProcessId());
  const std::wstring Deep = Root + L"\\a\\b\\Downloads\\";
  platform::win::TWinFolders Folders;
  Folders.CreateFolderTree(Deep);
  Folders.CreateFolderTree(Deep);
  EXPECT_NE(::GetFileAttributesW(Deep.c_str()), INVALID_FILE_ATTRIBUTES);
  for (const std::wstring& Folder : {Root + L"\\a\\b\\Downloads", Root + L"\\a\\b", Root + L"\\a", Root}) {
    ::RemoveDirectoryW(Folder.c_str());
  }
}

}  // namespace
