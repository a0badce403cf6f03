#pragma once

#include "platform/DownloadFiles.h"

namespace platform::win {

class TWinDownloadFiles final : public IDownloadFiles {
public:
  void Delete(const TPath& File) override;
  [[nodiscard]] TCreated Create(const TPath& File) override;
  [[nodiscard]] std::uint64_t SizeByName(const TPath& File) override;
};

// The user's decimal separator when it is one ASCII character, else ".".
[[nodiscard]] char UserDecimalSeparator();

}  // namespace platform::win
