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

// The download thread, as the work that follows a complete download sees it.
class IDownloadThread {
public:
  virtual ~IDownloadThread() = default;
  // True once the owner has asked the thread to end.
  [[nodiscard]] virtual bool Terminated() const = 0;
  // Waits Milliseconds, or until the owner asks the thread to end: then false, at once.
  [[nodiscard]] virtual bool Pause(std::uint32_t Milliseconds) = 0;
  // Runs Call on the owner's thread and returns when it has.
  virtual void Synchronize(const std::function<void()>& Call) = 0;
};

// Runs on the download thread once the report of the complete download (100)
// has returned, unless the owner has asked the thread to end by then. Whatever
// it takes, the owner's thread stays free; the owner's wait for the thread
// includes it.
using TAfterDownload = std::function<void(IDownloadThread& Thread)>;

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
                                                          TProgressEvent OnProgress, std::int32_t MinSize,
                                                          TAfterDownload AfterDownload) = 0;
};

}  // namespace download
