#pragma once

namespace download {

// A running or finished download thread, as its owner sees it.
class IDownload {
public:
  virtual ~IDownload() = default;
  // Sets the termination flag; the thread notices it before its next read.
  virtual void Terminate() = 0;
  // Blocks until the thread body has returned, still serving its synchronized calls.
  virtual void WaitFor() = 0;
};

}  // namespace download
