#include "download/Downloader.h"

#include <algorithm>
#include <cmath>

namespace download {
namespace {

constexpr char RetryLine[] = "Please check your internet connection and try again.";
constexpr std::uint32_t ReadSize = 2048;
constexpr std::uint32_t ErrorIoPending = 997;
constexpr int EmptyReadsAtEnd = 6;
constexpr std::uint64_t ReportEvery = 1000000;  // bytes: one million, not 2^20
// A progress report is never taken for completion: only the verified file reports 100.
constexpr int HighestProgress = 99;

std::string FormatHundredths(std::uint64_t Hundredths, char DecimalSeparator) {
  const std::uint64_t Fraction = Hundredths % 100;
  return std::to_string(Hundredths / 100) + DecimalSeparator + static_cast<char>('0' + Fraction / 10) +
         static_cast<char>('0' + Fraction % 10);
}

std::string Failure(const std::string& Line1) { return Line1 + StatusSeparator + RetryLine; }

// The error code of a transfer that a file operation, or anything unforeseen, ended.
std::string SystemErrorCode(std::uint32_t Error) { return "6:" + std::to_string(Error); }

}  // namespace

std::string FormatTwoDecimals(double Value, char DecimalSeparator) {
  return FormatHundredths(static_cast<std::uint64_t>(std::floor(std::max(Value, 0.0) * 100.0 + 0.5)),
                          DecimalSeparator);
}

std::string FormatMegabytes(std::uint64_t Bytes, char DecimalSeparator) {
  constexpr std::uint64_t Megabyte = 1024 * 1024;
  // Integer arithmetic, so that exact halves (1.125 MB) round up as the format demands.
  return FormatHundredths((Bytes * 200 + Megabyte) / (2 * Megabyte), DecimalSeparator);
}

struct TDownloader::TTransfer {
  std::uint32_t ContentLength = 0;
  std::int32_t SizeAtLastReport = 0;
  std::optional<std::uint32_t> LastReportTick;  // set when the transfer phase begins
  double SumOfRates = 0.0;
  std::uint32_t Reports = 1;
  std::string ErrorCode;
};

TDownloader::TDownloader(TDownloaderPlatform Platform, std::string Url, platform::TPath FileName,
                         TProgressEvent OnProgress, std::int32_t MinSize)
    : FPlatform(Platform),
      FURL(std::move(Url)),
      FFileName(std::move(FileName)),
      FOnProgress(std::move(OnProgress)),
      FMinSize(MinSize),
      FThread(Platform.Owner) {
  ReportProgress("Downloading...", 0);
  FThread.Start([this] { Execute(); });
}

TDownloader::~TDownloader() {
  Terminate();
  FThread.WaitFor();
}

void TDownloader::Terminate() {
  FTerminated = true;
  if (const std::shared_ptr<platform::IInternetSession> Session = FInternet.load()) Session->Cancel();
}

void TDownloader::Execute() {
  std::shared_ptr<platform::IInternetSession> Session = FPlatform.Internet.Open();
  FInternet.store(Session);
  // A cancel that came before the session was stored could not reach it.
  if (FTerminated && Session) Session->Cancel();
  if (!Session) {
    ReportProgress(std::string("Download Error") + StatusSeparator + "Please check internet connection", -1);
  } else {
    Download(*Session);
  }
  FInternet.store(nullptr);
}

// The root handle closes when the body lets go of Session.
void TDownloader::Download(platform::IInternetSession& Session) {
  FPlatform.Files.Delete(FFileName);
  TTransfer Transfer;
  // A failure before the transfer phase; reported once the file is closed and deleted.
  std::string EarlyFailure;
  {
    std::unique_ptr<platform::IInternetRequest> Request;
    try {
      const platform::IDownloadFiles::TCreated Created = FPlatform.Files.Create(FFileName);
      if (!Created.File) {
        Transfer.ErrorCode = SystemErrorCode(Created.Error);
      } else {
        EarlyFailure = OpenRequest(Session, Request, Transfer);
        if (EarlyFailure.empty()) {
          Transfer.LastReportTick = FPlatform.Clock.TickCount();
          Receive(*Request, *Created.File, Transfer);
        }
      }
    } catch (const std::exception&) {
      Transfer.ErrorCode = SystemErrorCode(FPlatform.Files.LastSystemError());
    }
  }  // the request and the file are closed here

  if (!Transfer.LastReportTick) {
    // Nothing is left behind; an uncreatable destination is reported too, so that the page does not wait for nothing.
    FPlatform.Files.Delete(FFileName);
    if (EarlyFailure.empty() && !Transfer.ErrorCode.empty()) {
      EarlyFailure = Failure("Download Error [" + Transfer.ErrorCode + "]");
    }
    if (!EarlyFailure.empty()) ReportProgress(EarlyFailure, -1);
    return;
  }
  const std::string Total = std::to_string(Transfer.ContentLength / 1024 / 1024);
  if (FPlatform.Files.SizeByName(FFileName) == Transfer.ContentLength) {
    ReportProgress("Downloaded" + std::string(1, StatusSeparator) + Total + " of " + Total + "mb", 100);
    return;
  }
  FPlatform.Files.Delete(FFileName);
  ReportProgress(FTerminated ? Failure("Download Terminated") : Failure("Download Error [" + Transfer.ErrorCode + "]"),
                 -1);
}

// Until the end of the data, a failure or a cancel; a failure leaves its error code.
void TDownloader::Receive(platform::IInternetRequest& Request, platform::IFileStream& File, TTransfer& Transfer) {
  char Buffer[ReadSize];
  int EmptyReads = 0;
  while (!FTerminated) {
    const platform::IInternetRequest::TRead Read = Request.Read(Buffer, ReadSize);
    if (!Read.Ok) {
      if (Read.Error == ErrorIoPending) continue;
      Transfer.ErrorCode = std::string(1, '4');
      return;
    }
    if (Read.Bytes == 0) {
      // The end of the data shows as empty reads; the size check decides.
      if (++EmptyReads >= EmptyReadsAtEnd) {
        Transfer.ErrorCode = std::string(1, '5');
        return;
      }
      continue;
    }
    EmptyReads = 0;
    // A failed or short write (a full disk) ends the transfer at once.
    std::uint64_t Size = 0;
    std::uint32_t Error = File.Write(Buffer, Read.Bytes);
    if (Error == 0) Error = File.Size(Size);
    if (Error != 0) {
      Transfer.ErrorCode = SystemErrorCode(Error);
      return;
    }
    if (Size > static_cast<std::uint64_t>(static_cast<std::uint32_t>(Transfer.SizeAtLastReport)) + ReportEvery) {
      ReportTransfer(Transfer, Size);
    }
  }
}

std::string TDownloader::OpenRequest(platform::IInternetSession& Session,
                                     std::unique_ptr<platform::IInternetRequest>& Request, TTransfer& Transfer) {
  Request = Session.OpenUrl(FURL);
  if (!Request) return Failure(FTerminated ? "Download Terminated" : "Download Error [1]");
  std::uint32_t Status = 0;
  // No status at all: reported, so that the page does not wait for nothing.
  if (!Request->QueryStatusCode(Status)) return Failure("Download Error [2]");
  if (Status != 200) return Failure("Download Error + [2:" + std::to_string(Status) + "]");
  std::uint32_t Length = 0;
  if (!Request->QueryContentLength(Length)) Length = 0;
  if (Length == 0 || (FMinSize >= 0 && Length < static_cast<std::uint32_t>(FMinSize))) {
    return Failure("Download Error [3]");
  }
  Transfer.ContentLength = Length;
  return {};
}

void TDownloader::ReportTransfer(TTransfer& Transfer, std::uint64_t Size) {
  try {
    const std::uint32_t Now = FPlatform.Clock.TickCount();
    const std::uint32_t Elapsed = Now - *Transfer.LastReportTick;  // unsigned: right across the 2^32 wrap
    if (Elapsed == 0) return;  // the next block tries again
    const double Delta = static_cast<double>(Size) - static_cast<double>(static_cast<std::uint32_t>(Transfer.SizeAtLastReport));
    const double Rate = Delta / (Elapsed / 1000.0);
    const double Sum = Transfer.SumOfRates + Rate;
    // The plain mean of the rates of all intervals so far, in kilobytes per second.
    const double Speed = Sum / Transfer.Reports / 1024.0;
    const std::string SpeedText = Speed > 1024.0
                                      ? FormatTwoDecimals(Speed / 1024.0, FPlatform.DecimalSeparator) + "MB/s"
                                      : std::to_string(static_cast<long long>(std::trunc(Speed))) + "KB/s";
    const int Percent = std::min(
        static_cast<int>(std::trunc(static_cast<double>(Size) * (100.0 / Transfer.ContentLength))), HighestProgress);
    const std::string Text = "Downloading " + std::to_string(Percent) + "%" + StatusSeparator +
                             FormatMegabytes(Size, FPlatform.DecimalSeparator) + " of " +
                             std::to_string(Transfer.ContentLength / 1024 / 1024) + " MB at " + SpeedText;
    Transfer.SumOfRates = Sum;
    ++Transfer.Reports;
    ReportProgress(Text, Percent);
    Transfer.SizeAtLastReport = static_cast<std::int32_t>(Size);
    Transfer.LastReportTick = Now;
  } catch (const std::exception&) {
    // A report that cannot be composed is skipped; the next block tries again.
  }
}

void TDownloader::ReportProgress(const std::string& Text, std::int32_t Percent) {
  if (!FOnProgress) return;
  FProgress = {Text, Percent};
  FThread.Synchronize([this] { SyncProgress(); });
}

void TDownloader::SyncProgress() { FOnProgress(FProgress.Text, FProgress.Percent); }

std::unique_ptr<IDownload> TDownloaderFactory::Create(const std::string& Url, const platform::TPath& FileName,
                                                      TProgressEvent OnProgress, std::int32_t MinSize) {
  return std::make_unique<TDownloader>(FPlatform, Url, FileName, std::move(OnProgress), MinSize);
}

}  // namespace download
