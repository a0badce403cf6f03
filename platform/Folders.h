#pragma once

#include <optional>

#include "platform/Path.h"

namespace platform {

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
