#pragma once

#include "platform/DownloadFiles.h"

namespace platform::win {

class TWinDownloadFiles final : public IDownloadFiles {
public:
  void Delete(const TPath& File) override;
  [[nodiscard]] TCreated Create(const TPath& File) override;
  [[nodiscard]] std::optional<std::uint64_t> FreeSpace(const TPath& File) override;
  [[nodiscard]] std::uint32_t LastSystemError() override;
};

// The user's decimal separator: the first character of the locale's value in the system code page.
[[nodiscard]] char UserDecimalSeparator();

}  // namespace platform::win
