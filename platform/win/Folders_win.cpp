#include "platform/win/Folders_win.h"

#include <windows.h>
#include <shlobj.h>

namespace platform::win {

std::optional<TPath> TWinFolders::ProfileFolder() {
  wchar_t Buffer[MAX_PATH + 1] = {};
  if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_PROFILE, nullptr, SHGFP_TYPE_CURRENT, Buffer))) return std::nullopt;
  return TPath(Buffer);
}

void TWinFolders::CreateFolderTree(const TPath& Folder) {
  // Create each prefix that ends at a separator, then the whole path; existing
  // folders and unreachable drives just fail quietly.
  for (std::size_t Pos = Folder.find_first_of(L"\\/"); Pos != TPath::npos; Pos = Folder.find_first_of(L"\\/", Pos + 1)) {
    if (Pos > 0 && Folder[Pos - 1] != L':') ::CreateDirectoryW(Folder.substr(0, Pos).c_str(), nullptr);
  }
  ::CreateDirectoryW(Folder.c_str(), nullptr);
}

bool TWinFolders::FileExists(const TPath& Path) {
  const DWORD Attributes = ::GetFileAttributesW(Path.c_str());
  return Attributes != INVALID_FILE_ATTRIBUTES && (Attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

void TWinFolders::RemoveFile(const TPath& Path) { ::DeleteFileW(Path.c_str()); }

}  // namespace platform::win
