#pragma once

#include "platform/Processes.h"

namespace platform::win {

class TWinProcesses final : public IProcesses {
public:
  [[nodiscard]] TStart StartInstaller(const TPath& Path, const std::string& Parameters,
                                      const std::string& Signer, const std::function<bool()>& Cancelled) override;
};

}  // namespace platform::win
