// The download thread: fetches one URL into one file, judges success by the
// size on disk against the declared length, and reports in two-line messages.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "download/Download.h"
#include "platform/Clock.h"
#include "platform/DownloadFiles.h"
#include "platform/Internet.h"
#include "platform/SyncThread.h"

namespace download {

struct TProgress {
  std::string Text;
  std::int32_t Percent = 0;
};

struct TDownloaderPlatform {
  platform::IInternet& Internet;
  platform::IDownloadFiles& Files;
  platform::IClock& Clock;
  platform::ISyncOwner& Owner;
  // The user's decimal separator, for the megabyte figures.
  char DecimalSeparator = '.';
};

// "0.00": two decimals, rounded half away from zero, with Separator.
[[nodiscard]] std::string FormatTwoDecimals(double Value, char Separator);
// Megabytes of a byte count, "0.00", exact for every 64-bit count below 2^53.
[[nodiscard]] std::string FormatMegabytes(std::uint64_t Bytes, char Separator);

class TDownloader final : public IDownload {
public:
  // Reports ("Downloading...", 0) at once, on this thread, then starts the worker.
  TDownloader(TDownloaderPlatform Platform, std::string Url, platform::TPath FileName, TProgressEvent OnProgress,
              std::int32_t MinSize, TAfterDownload AfterDownload = {});
  // Terminates, then waits.
  ~TDownloader() override;
  TDownloader(const TDownloader&) = delete;
  TDownloader& operator=(const TDownloader&) = delete;

  // Also cancels the session, so that an opening or a read that waits on a
  // stalled server ends now, not when the system's time-out ends it.
  void Terminate() override;
  void WaitFor() override { FThread.WaitFor(); }

private:
  void Execute();
  void Download(platform::IInternetSession& Session);
  void ReportProgress(const std::string& Text, std::int32_t Percent);
  void SyncProgress();

  struct TTransfer;
  struct TTryEnd;
  class TAfterThread;
  [[nodiscard]] bool CreateFile(TTransfer& Transfer);
  void Tries(platform::IInternetSession& Session, TTransfer& Transfer);
  [[nodiscard]] TTryEnd Try(platform::IInternetSession& Session, TTransfer& Transfer);
  [[nodiscard]] bool ProxyPasswordGiven(platform::IInternetRequest& Request, TTransfer& Transfer);
  [[nodiscard]] bool HasRoomFor(std::uint64_t Bytes, TTransfer& Transfer);
  [[nodiscard]] TTryEnd Receive(platform::IInternetRequest& Request, TTransfer& Transfer);
  void ReportTransfer(TTransfer& Transfer, std::uint64_t Size);

  TDownloaderPlatform FPlatform;
  std::string FURL;
  platform::TPath FFileName;
  TProgress FProgress;
  TProgressEvent FOnProgress;
  TAfterDownload FAfterDownload;
  // Written by the worker, read by the owner's Terminate.
  std::atomic<std::shared_ptr<platform::IInternetSession>> FInternet;
  std::int32_t FMinSize;
  std::atomic<bool> FTerminated{false};
  platform::TSyncThread FThread;
};

// Creates a TDownloader per download.
class TDownloaderFactory final : public IDownloadFactory {
public:
  explicit TDownloaderFactory(TDownloaderPlatform Platform) : FPlatform(Platform) {}
  [[nodiscard]] std::unique_ptr<IDownload> Create(const std::string& Url, const platform::TPath& FileName,
                                                  TProgressEvent OnProgress, std::int32_t MinSize,
                                                  TAfterDownload AfterDownload) override;

private:
  TDownloaderPlatform FPlatform;
};

}  // namespace download
