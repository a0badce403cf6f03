#pragma once

#include <optional>
#include <string>

namespace platform {

// File paths are UTF-16 so that a profile folder outside the ANSI code page works.
using TPath = std::wstring;

// Everything up to and including the last backslash or colon; empty when there is neither.
[[nodiscard]] inline TPath FolderPart(const TPath& Path) {
  const std::size_t Last = Path.find_last_of(L"\\:");
  return Last == TPath::npos ? TPath() : Path.substr(0, Last + 1);
}

class IFolders {
public:
  virtual ~IFolders() = default;
  // The current user's profile folder, or nothing when the shell cannot supply it.
  [[nodiscard]] virtual std::optional<TPath> ProfileFolder() = 0;
  // Creates the folder and every missing parent; failure is not reported.
  virtual void CreateFolderTree(const TPath& Folder) = 0;
  // True when a file (not a folder) exists at Path.
  [[nodiscard]] virtual bool FileExists(const TPath& Path) = 0;
  // Deletes the file at Path; failure is not reported.
  virtual void RemoveFile(const TPath& Path) = 0;
};

}  // namespace platform
