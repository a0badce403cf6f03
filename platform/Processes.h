#pragma once

#include <memory>
#include <string>

#include "platform/Folders.h"

namespace platform {

// A started process; the handle stays open for the object's life.
class IProcess {
public:
  virtual ~IProcess() = default;
  enum class TWait { Running, Ended, Failed };
  // Waits up to Milliseconds (not alertable).
  [[nodiscard]] virtual TWait Wait(unsigned Milliseconds) = 0;
};

class IProcesses {
public:
  virtual ~IProcesses() = default;
  // Starts Path with the command line: Path in double quotes, a blank, Parameters.
  // The working folder is Path's folder part. Nothing when the process cannot be created.
  [[nodiscard]] virtual std::unique_ptr<IProcess> StartInstaller(const TPath& Path, const std::string& Parameters) = 0;
};

}  // namespace platform
