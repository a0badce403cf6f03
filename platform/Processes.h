#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/Path.h"

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
  // Busy: another program (a virus scanner) holds the file for now.
  enum class TStartResult { Started, Untrusted, Busy, Failed };
  struct TStart {
    TStartResult Result = TStartResult::Failed;
    std::unique_ptr<IProcess> Process;  // set when Started
  };
  // Starts Path with the command line: Path in double quotes, a blank, Parameters.
  // The working folder is Path's folder part. When Signer (UTF-8) is not empty,
  // the file must carry a valid Authenticode signature whose signer's simple
  // display name is Signer, or it is Untrusted and does not run. The file is
  // held open, denying writes and deletion to others, from the check until the
  // process has been created. A file that another program holds without sharing
  // it (a sharing violation, or access denied) is Busy. Cancelled is asked once
  // the file has passed its check, right before the process would be created:
  // true, and nothing starts (Failed). The check reads the whole file, and
  // security software scans it as it is opened and started: seconds, for a big
  // file, so this is called off the GUI thread.
  [[nodiscard]] virtual TStart StartInstaller(const TPath& Path, const std::string& Parameters,
                                              const std::string& Signer, const std::function<bool()>& Cancelled) = 0;
};

}  // namespace platform
