#pragma once

#include "platform/Folders.h"

namespace platform::win {

class TWinFolders final : public IFolders {
public:
  [[nodiscard]] std::optional<TPath> ProfileFolder() override;
  void CreateFolderTree(const TPath& Folder) override;
  [[nodiscard]] bool FileExists(const TPath& Path) override;
  void RemoveFile(const TPath& Path) override;
};

}  // namespace platform::win
