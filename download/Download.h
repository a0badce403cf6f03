#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/Path.h"

namespace download {

// Divides a status message into its two display lines: the download thread's
// and the installer's reports alike.
constexpr char StatusSeparator = '\xAC';

// A report of the download thread: a status message (two lines divided by
// StatusSeparator) and a percentage, or -1 for failure or termination.
using TProgressEvent = std::function<void(const std::string& Text, std::int32_t Percent)>;

// A running or finished download thread, as its owner sees it.
class IDownload {
public:
  virtual ~IDownload() = default;
  // Sets the termination flag; the thread notices it before its next read.
  virtual void Terminate() = 0;
  // Blocks until the thread body has returned, still serving its synchronized calls.
  virtual void WaitFor() = 0;
};

class IDownloadFactory {
public:
  virtual ~IDownloadFactory() = default;
  // Reports ("Downloading...", 0) to OnProgress at once, then starts the thread.
  [[nodiscard]] virtual std::unique_ptr<IDownload> Create(const std::string& Url, const platform::TPath& FileName,
                                                          TProgressEvent OnProgress, std::int32_t MinSize) = 0;
};

}  // namespace download
