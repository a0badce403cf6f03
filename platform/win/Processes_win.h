#pragma once

#include "platform/Processes.h"

namespace platform::win {

class TWinProcesses final : public IProcesses {
public:
  [[nodiscard]] std::unique_ptr<IProcess> StartInstaller(const TPath& Path, const std::string& Parameters) override;
};

}  // namespace platform::win
