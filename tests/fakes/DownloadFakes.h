// A scripted internet, an in-memory disk and an owner thread for download tests.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/SyncThread.h"
#include "platform/DownloadFiles.h"
#include "platform/Internet.h"

namespace fakes {

// One step of the server's answer: a block of data, an empty read, a failed
// read, or a read that waits until the session is cancelled.
struct TReadStep {
  std::uint32_t Bytes = 0;
  std::optional<std::uint32_t> Error;
  bool Stalls = false;
};

struct TServerScript {
  bool RootOpens = true;
  bool OpenWaits = false;  // the root handle opens only when the test releases it
  bool UrlOpens = true;
  std::uint32_t OpenError = 12005;  // when it does not open: the address is not valid
  std::optional<std::uint32_t> Status = 200;
  std::optional<std::uint32_t> ContentLength;
  std::string ETag, LastModified, Date, ContentRange, RetryAfter;
  std::deque<TReadStep> Reads;  // then empty reads for ever
};

class TScriptedInternet final : public platform::IInternet {
public:
  explicit TScriptedInternet(TServerScript AScript) : Script(std::move(AScript)) {}

  class TRequest final : public platform::IInternetRequest {
  public:
    explicit TRequest(TScriptedInternet& Owner) : FOwner(Owner) {}
    [[nodiscard]] bool QueryStatusCode(std::uint32_t& Code) override {
      if (!FOwner.Script.Status) return false;
      Code = *FOwner.Script.Status;
      return true;
    }
    [[nodiscard]] bool QueryContentLength(std::uint32_t& Length) override {
      if (!FOwner.Script.ContentLength) return false;
      Length = *FOwner.Script.ContentLength;
      return true;
    }
    [[nodiscard]] TRead Read(char* Buffer, std::uint32_t Size) override {
      std::unique_lock<std::mutex> Guard(FOwner.Lock);
      ++FOwner.ReadCalls;
      if (FOwner.Script.Reads.empty()) return {true, 0, 0};
      TReadStep& Step = FOwner.Script.Reads.front();
      if (Step.Stalls) {
        FOwner.Stalling = true;
        FOwner.Changed.notify_all();
        // Bounded, so that a cancel that never comes fails the test instead of hanging it.
        if (!FOwner.Changed.wait_for(Guard, std::chrono::seconds(10), [this] { return FOwner.Cancels > 0; })) {
          return {true, 0, 0};
        }
        return {false, platform::ErrorOperationCancelled, 0};
      }
      if (Step.Error) {
        const std::uint32_t Error = *Step.Error;
        FOwner.Script.Reads.pop_front();
        return {false, Error, 0};
      }
      const std::uint32_t Bytes = std::min(Step.Bytes, Size);
      for (std::uint32_t i = 0; i < Bytes; ++i) Buffer[i] = static_cast<char>('a' + i % 26);
      Step.Bytes -= Bytes;
      if (Step.Bytes == 0) FOwner.Script.Reads.pop_front();
      return {true, 0, Bytes};
    }
    [[nodiscard]] std::string QueryHeader(THeader Header) override {
      const TServerScript& Answer = FOwner.Script;
      switch (Header) {
        case THeader::ETag:
          return Answer.ETag;
        case THeader::LastModified:
          return Answer.LastModified;
        case THeader::Date:
          return Answer.Date;
        case THeader::ContentRange:
          return Answer.ContentRange;
        default:
          return Answer.RetryAfter;
      }
    }
    [[nodiscard]] bool PromptProxyPassword() override {
      ++FOwner.Prompts;
      if (FOwner.PromptAnswers.empty()) return false;
      const bool Given = FOwner.PromptAnswers.front();
      FOwner.PromptAnswers.pop_front();
      return Given;
    }

  private:
    TScriptedInternet& FOwner;
  };

  class TSession final : public platform::IInternetSession {
  public:
    explicit TSession(TScriptedInternet& Owner) : FOwner(Owner) {}
    ~TSession() override { ++FOwner.Closes; }
    TSession(const TSession&) = delete;
    TSession& operator=(const TSession&) = delete;
    // Each request after the first takes the next of the answers Then, while there are any.
    [[nodiscard]] TOpened OpenUrl(const std::string& Url, const std::string& Headers) override {
      if (!FOwner.Urls.empty() && !FOwner.Then.empty()) {
        FOwner.Script = std::move(FOwner.Then.front());
        FOwner.Then.pop_front();
      }
      FOwner.Urls.push_back(Url);
      FOwner.Headers.push_back(Headers);
      if (!FOwner.Script.UrlOpens) return {nullptr, FOwner.Script.OpenError};
      return {std::make_unique<TRequest>(FOwner), 0};
    }
    // The same request again: the next answer, as for a new one.
    [[nodiscard]] TOpened SendAgain(std::unique_ptr<platform::IInternetRequest>) override {
      return OpenUrl(FOwner.Urls.back(), FOwner.Headers.back());
    }
    [[nodiscard]] bool Pause(std::uint32_t Milliseconds) override {
      const std::lock_guard<std::mutex> Guard(FOwner.Lock);
      FOwner.Pauses.push_back(Milliseconds);
      return FOwner.Cancels == 0 && !FOwner.CancelInPause;
    }
    void Cancel() override {
      {
        const std::lock_guard<std::mutex> Guard(FOwner.Lock);
        ++FOwner.Cancels;
      }
      FOwner.Changed.notify_all();
    }

  private:
    TScriptedInternet& FOwner;
  };

  [[nodiscard]] std::shared_ptr<platform::IInternetSession> Open() override {
    if (!Script.RootOpens) return nullptr;
    if (Script.OpenWaits) {
      // Still opening when the test lets it go on (bounded, so that a broken test ends).
      std::unique_lock<std::mutex> Guard(Lock);
      Opening = true;
      Changed.notify_all();
      Changed.wait_for(Guard, std::chrono::seconds(10), [this] { return OpenReleased; });
    }
    return std::make_shared<TSession>(*this);
  }
  // Lets an Open that waits go on.
  void ReleaseOpen() {
    {
      const std::lock_guard<std::mutex> Guard(Lock);
      OpenReleased = true;
    }
    Changed.notify_all();
  }

  TServerScript Script;
  std::mutex Lock;
  std::condition_variable Changed;
  bool Stalling = false;
  bool Opening = false;
  bool OpenReleased = false;
  int ReadCalls = 0;
  int Cancels = 0;
  std::atomic<int> Closes{0};
  std::vector<std::string> Urls;
  std::vector<std::string> Headers;  // sent with each request
  std::deque<TServerScript> Then;
  std::vector<std::uint32_t> Pauses;
  bool CancelInPause = false;  // as a cancel that comes while the download pauses
  std::deque<bool> PromptAnswers;  // whether the user gives a password, prompt by prompt; then not
  int Prompts = 0;
};

// Files as byte counts; writes may be told to fail.
class TMemoryDisk final : public platform::IDownloadFiles {
public:
  class TStream final : public platform::IFileStream {
  public:
    TStream(TMemoryDisk& Disk, platform::TPath File) : FDisk(Disk), FFile(std::move(File)) {}
    [[nodiscard]] std::uint32_t Write(const char*, std::uint32_t Size) override {
      if (FDisk.WriteError) return *FDisk.WriteError;
      const std::lock_guard<std::mutex> Guard(FDisk.Lock);
      FDisk.Files[FFile] += Size;
      return 0;
    }
    [[nodiscard]] std::uint32_t Size(std::uint64_t& Bytes) override {
      const std::lock_guard<std::mutex> Guard(FDisk.Lock);
      Bytes = FDisk.Files[FFile];
      return 0;
    }

  private:
    TMemoryDisk& FDisk;
    platform::TPath FFile;
  };

  void Delete(const platform::TPath& File) override {
    const std::lock_guard<std::mutex> Guard(Lock);
    Files.erase(File);
  }
  [[nodiscard]] TCreated Create(const platform::TPath& File) override {
    if (CreateError) return {nullptr, *CreateError};
    if (CreateThrows) throw std::runtime_error("out of resources");
    const std::lock_guard<std::mutex> Guard(Lock);
    Files[File] = 0;
    return {std::make_unique<TStream>(*this, File), 0};
  }
  // What the files leave of the capacity.
  [[nodiscard]] std::optional<std::uint64_t> FreeSpace(const platform::TPath&) override {
    if (!Capacity) return std::nullopt;
    const std::lock_guard<std::mutex> Guard(Lock);
    std::uint64_t Used = 0;
    for (const auto& [Name, Size] : Files) Used += Size;
    return *Capacity - std::min(Used, *Capacity);
  }
  [[nodiscard]] std::uint64_t SizeByName(const platform::TPath& File) {
    const std::lock_guard<std::mutex> Guard(Lock);
    const auto Found = Files.find(File);
    return Found == Files.end() ? 0 : Found->second;
  }
  [[nodiscard]] std::uint32_t LastSystemError() override { return LastError; }
  [[nodiscard]] bool Exists(const platform::TPath& File) {
    const std::lock_guard<std::mutex> Guard(Lock);
    return Files.count(File) > 0;
  }

  std::mutex Lock;
  std::map<platform::TPath, std::uint64_t> Files;
  std::optional<std::uint32_t> CreateError;
  std::optional<std::uint32_t> WriteError;
  std::optional<std::uint64_t> Capacity = std::uint64_t{1} << 40;  // nothing: the room is unknown
  bool CreateThrows = false;  // as an allocation that fails, leaving LastError
  std::uint32_t LastError = 0;
};

// Readings in turn; the last one repeats.
class TScriptedClock final : public platform::IClock {
public:
  explicit TScriptedClock(std::vector<std::uint32_t> AReadings) : Readings(std::move(AReadings)) {}
  [[nodiscard]] std::uint32_t TickCount() override {
    const std::lock_guard<std::mutex> Guard(Lock);
    const std::uint32_t Reading = Readings[std::min(Next, Readings.size() - 1)];
    ++Next;
    return Reading;
  }
  void Sleep(std::uint32_t) override {}
  std::mutex Lock;
  std::vector<std::uint32_t> Readings;
  std::size_t Next = 0;
};

// The owning thread of a test: calls are served while the test waits.
class TTestOwner final : public platform::ISyncOwner {
public:
  void Wake() override {}
  void Pump() override {}
  void Register(platform::TSyncThread&) override { ++Registered; }
  void Unregister(platform::TSyncThread&) override { --Registered; }
  int Registered = 0;
};

}  // namespace fakes
