#include "download/Downloader.h"

#include <algorithm>
#include <cmath>

#include "download/RetryPolicy.h"

namespace download {
namespace {

constexpr char RetryLine[] = "Please check your internet connection and try again.";
constexpr std::uint32_t ReadSize = 2048;
constexpr std::uint32_t ErrorIoPending = 997;
constexpr int EmptyReadsAtEnd = 6;
constexpr std::uint32_t ErrorDiskFull = 112;
constexpr std::uint32_t ProxyAuthenticationRequired = 407;
constexpr int MostProxyPrompts = 3;
constexpr std::uint64_t ReportEvery = 1000000;  // bytes: one million, not 2^20
// A progress report is never taken for completion: only the verified file reports 100.
constexpr int HighestProgress = 99;

std::string FormatHundredths(std::uint64_t Hundredths, char DecimalSeparator) {
  const std::uint64_t Fraction = Hundredths % 100;
  return std::to_string(Hundredths / 100) + DecimalSeparator + static_cast<char>('0' + Fraction / 10) +
         static_cast<char>('0' + Fraction % 10);
}

std::string Failure(const std::string& Line1) { return Line1 + StatusSeparator + RetryLine; }
std::string ErrorFailure(const std::string& Code) { return Failure("Download Error [" + Code + "]"); }
std::string StatusFailure(std::uint32_t Status) {
  return Failure("Download Error + [2:" + std::to_string(Status) + "]");
}

// The failure of a transfer that a file operation, or anything unforeseen, ended.
std::string SystemErrorFailure(std::uint32_t Error) { return ErrorFailure("6:" + std::to_string(Error)); }

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
  std::string Failure;  // the report of the last failure
  // Across tries: the file on disk, and what identifies it to the server (empty: it cannot be continued).
  std::unique_ptr<platform::IFileStream> File;
  std::uint64_t Size = 0;
  std::string Validator;
  std::string ETag;  // the whole file's answer's, which a continuation must not contradict
  int ProxyPrompts = 0;
};

struct TDownloader::TTryEnd {
  enum { Stop, Retry, StartOver } Kind = Stop;
  std::string RetryAfter;
};

class TDownloader::TAfterThread final : public IDownloadThread {
public:
  TAfterThread(TDownloader& Owner, platform::IInternetSession& Session) : FOwner(Owner), FSession(Session) {}
  [[nodiscard]] bool Terminated() const override { return FOwner.FTerminated; }
  // The session's pause ends with its cancel, which Terminate makes.
  [[nodiscard]] bool Pause(std::uint32_t Milliseconds) override { return FSession.Pause(Milliseconds); }
  void Synchronize(const std::function<void()>& Call) override { FOwner.FThread.Synchronize(Call); }

private:
  TDownloader& FOwner;
  platform::IInternetSession& FSession;
};

TDownloader::TDownloader(TDownloaderPlatform Platform, std::string Url, platform::TPath FileName,
                         TProgressEvent OnProgress, std::int32_t MinSize, TAfterDownload AfterDownload)
    : FPlatform(Platform),
      FURL(std::move(Url)),
      FFileName(std::move(FileName)),
      FOnProgress(std::move(OnProgress)),
      FAfterDownload(std::move(AfterDownload)),
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
  try {
    if (CreateFile(Transfer)) Tries(Session, Transfer);
  } catch (const std::exception&) {
    Transfer.Failure = SystemErrorFailure(FPlatform.Files.LastSystemError());
  }
  // The size is read from the handle that wrote the file: once it is closed, others
  // (a virus scanner) may hold the file, or move it away.
  std::uint64_t Written = 0;
  const bool Sized = Transfer.File && Transfer.File->Size(Written) == 0;
  Transfer.File.reset();

  if (!Transfer.LastReportTick) {
    // Nothing is left behind; every failure is reported, so that the page does not wait for nothing.
    FPlatform.Files.Delete(FFileName);
    if (!Transfer.Failure.empty()) ReportProgress(Transfer.Failure, -1);
    return;
  }
  const std::string Total = std::to_string(Transfer.ContentLength / 1024 / 1024);
  if (Sized && Written == Transfer.ContentLength) {
    ReportProgress("Downloaded" + std::string(1, StatusSeparator) + Total + " of " + Total + "mb", 100);
    if (FAfterDownload && !FTerminated) {
      TAfterThread Thread(*this, Session);
      FAfterDownload(Thread);
    }
    return;
  }
  FPlatform.Files.Delete(FFileName);
  ReportProgress(FTerminated ? Failure("Download Terminated") : Transfer.Failure, -1);
}

// Creates or truncates the destination: the file starts over.
bool TDownloader::CreateFile(TTransfer& Transfer) {
  Transfer.File.reset();
  Transfer.Size = 0;
  Transfer.Validator.clear();
  Transfer.ETag.clear();
  Transfer.SizeAtLastReport = 0;
  platform::IDownloadFiles::TCreated Created = FPlatform.Files.Create(FFileName);
  Transfer.File = std::move(Created.File);
  if (!Transfer.File) Transfer.Failure = SystemErrorFailure(Created.Error);
  return static_cast<bool>(Transfer.File);
}

// Tries again after a transient failure, pausing longer each time, until a try
// ends for good, the tries without progress are spent, or a cancel comes.
// Progress is bytes past the most that any try reached: a file that starts over
// and is cut again at the same place has made none.
void TDownloader::Tries(platform::IInternetSession& Session, TTransfer& Transfer) {
  int Retries = 0;
  std::uint32_t FailingSince = 0;
  std::uint64_t Reached = 0;
  for (;;) {
    const TTryEnd End = Try(Session, Transfer);
    if (End.Kind == TTryEnd::Stop || FTerminated) return;
    if (Transfer.Size > Reached) {
      Reached = Transfer.Size;
      Retries = 0;
    }
    if (End.Kind == TTryEnd::StartOver && !CreateFile(Transfer)) return;
    const std::uint32_t Now = FPlatform.Clock.TickCount();
    if (++Retries == 1) FailingSince = Now;
    const std::uint32_t Pause = End.Kind == TTryEnd::Retry ? PauseBeforeRetryMs(Retries, End.RetryAfter) : 0;
    if (Retries > MostRetriesWithoutProgress || Now - FailingSince + Pause > LongestWithoutProgressMs) return;
    if (!Session.Pause(Pause)) {
      Transfer.Failure = Failure("Download Terminated");
      return;
    }
  }
}

// One request: for the whole file, or for its rest when the server can tell it is the same file.
TDownloader::TTryEnd TDownloader::Try(platform::IInternetSession& Session, TTransfer& Transfer) {
  using platform::IInternetRequest;
  const bool Resuming = Transfer.Size > 0 && !Transfer.Validator.empty();
  platform::IInternetSession::TOpened Opened =
      Session.OpenUrl(FURL, Resuming ? ResumeHeaders(Transfer.Size, Transfer.Validator) : std::string());
  std::uint32_t Status = 0;
  for (;;) {
    if (!Opened.Request) {
      Transfer.Failure = Failure(FTerminated ? "Download Terminated" : "Download Error [1]");
      return {IsTransientError(Opened.Error) ? TTryEnd::Retry : TTryEnd::Stop, {}};
    }
    // No status at all: reported, so that the page does not wait for nothing.
    if (!Opened.Request->QueryStatusCode(Status)) {
      Transfer.Failure = Failure("Download Error [2]");
      return {};
    }
    if (Status != ProxyAuthenticationRequired || !ProxyPasswordGiven(*Opened.Request, Transfer)) break;
    Opened = Session.SendAgain(std::move(Opened.Request));
  }
  IInternetRequest& Request = *Opened.Request;
  if (Resuming && (Status == 206 || Status == 416)) {
    Transfer.Failure = StatusFailure(Status);
    // A server that ignores If-Range but honours Range may answer with another file's bytes.
    const std::string ETag = Request.QueryHeader(IInternetRequest::THeader::ETag);
    if (Status == 416 || (!ETag.empty() && ETag != Transfer.ETag) ||
        !ContinuesAt(Request.QueryHeader(IInternetRequest::THeader::ContentRange), Transfer.Size,
                     Transfer.ContentLength)) {
      return {TTryEnd::StartOver, {}};
    }
    if (!HasRoomFor(Transfer.ContentLength - Transfer.Size, Transfer)) return {};
    return Receive(Request, Transfer);
  }
  if (Status != 200) {
    Transfer.Failure = StatusFailure(Status);
    if (!IsTransientStatus(Status)) return {};
    return {TTryEnd::Retry, Request.QueryHeader(IInternetRequest::THeader::RetryAfter)};
  }
  std::uint32_t Length = 0;
  if (!Request.QueryContentLength(Length)) Length = 0;
  if (Length == 0 || (FMinSize >= 0 && Length < static_cast<std::uint32_t>(FMinSize))) {
    Transfer.Failure = Failure("Download Error [3]");
    return {};
  }
  // The whole file: never appended to what an earlier try brought.
  if (Transfer.Size > 0 && !CreateFile(Transfer)) return {};
  if (!HasRoomFor(Length, Transfer)) return {};
  Transfer.ContentLength = Length;
  Transfer.ETag = Request.QueryHeader(IInternetRequest::THeader::ETag);
  Transfer.Validator = ResumeValidator(Transfer.ETag, Request.QueryHeader(IInternetRequest::THeader::LastModified),
                                       Request.QueryHeader(IInternetRequest::THeader::Date));
  if (!Transfer.LastReportTick) Transfer.LastReportTick = FPlatform.Clock.TickCount();
  return Receive(Request, Transfer);
}

// An office proxy that asks who the user is: the system's prompt, at most three
// times a download. It is a window of the GUI thread, owned by the program's
// window, so this thread waits for it as for a progress report.
bool TDownloader::ProxyPasswordGiven(platform::IInternetRequest& Request, TTransfer& Transfer) {
  if (FTerminated || Transfer.ProxyPrompts >= MostProxyPrompts) return false;
  ++Transfer.ProxyPrompts;
  bool Given = false;
  FThread.Synchronize([&Given, &Request] { Given = Request.PromptProxyPassword(); });
  return Given && !FTerminated;
}

// A volume too small for the rest of the file fails before its first byte, not
// when it is full; a volume whose room is unknown is tried.
bool TDownloader::HasRoomFor(std::uint64_t Bytes, TTransfer& Transfer) {
  const std::optional<std::uint64_t> Free = FPlatform.Files.FreeSpace(FFileName);
  if (!Free || *Free >= Bytes) return true;
  Transfer.Failure = SystemErrorFailure(ErrorDiskFull);
  return false;
}

// Until the end of the data, a failure or a cancel; a failure leaves its report.
// A read that a poor line ended, or data that ended short, may be tried again.
TDownloader::TTryEnd TDownloader::Receive(platform::IInternetRequest& Request, TTransfer& Transfer) {
  char Buffer[ReadSize];
  int EmptyReads = 0;
  // Only a file still short of its length is worth another try; the size check decides the rest.
  const auto Short = [&Transfer] { return Transfer.Size < Transfer.ContentLength; };
  while (!FTerminated) {
    const platform::IInternetRequest::TRead Read = Request.Read(Buffer, ReadSize);
    if (!Read.Ok) {
      if (Read.Error == ErrorIoPending) continue;
      Transfer.Failure = ErrorFailure("4");
      return {IsTransientError(Read.Error) && Short() ? TTryEnd::Retry : TTryEnd::Stop, {}};
    }
    if (Read.Bytes == 0) {
      // The end of the data shows as empty reads.
      if (++EmptyReads >= EmptyReadsAtEnd) {
        Transfer.Failure = ErrorFailure("5");
        return {Short() ? TTryEnd::Retry : TTryEnd::Stop, {}};
      }
      continue;
    }
    EmptyReads = 0;
    // A failed or short write (a full disk) ends the transfer at once.
    std::uint32_t Error = Transfer.File->Write(Buffer, Read.Bytes);
    if (Error == 0) Error = Transfer.File->Size(Transfer.Size);
    if (Error != 0) {
      Transfer.Failure = SystemErrorFailure(Error);
      return {};
    }
    const auto SizeAtLastReport = static_cast<std::uint64_t>(static_cast<std::uint32_t>(Transfer.SizeAtLastReport));
    if (Transfer.Size > SizeAtLastReport + ReportEvery) ReportTransfer(Transfer, Transfer.Size);
  }
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
                                                      TProgressEvent OnProgress, std::int32_t MinSize,
                                                      TAfterDownload AfterDownload) {
  return std::make_unique<TDownloader>(FPlatform, Url, FileName, std::move(OnProgress), MinSize,
                                       std::move(AfterDownload));
}

}  // namespace download
