// Test doubles for the platform seams and the form host.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <map>
#include <set>
#include <tuple>

#include "download/Download.h"
#include "download/ResellerId.h"
#include "platform/Clock.h"
#include "platform/FileVersions.h"
#include "platform/FlashProbe.h"
#include "platform/Folders.h"
#include "platform/Processes.h"
#include "platform/Registry.h"
#include "platform/Resources.h"
#include "platform/Restart.h"
#include "platform/Shell.h"
#include "platform/Taskbar.h"
#include "ui/Form.h"

namespace fakes {

// Every byte is CharWidth pixels wide.
class TFixedWidthMeasurer final : public ui::ITextMeasurer {
public:
  explicit TFixedWidthMeasurer(int CharWidth = 1) : FCharWidth(CharWidth) {}
  [[nodiscard]] std::vector<int> PrefixWidths(const std::string& Text) override {
    ++Calls;
    std::vector<int> Widths(Text.size());
    for (std::size_t i = 0; i < Text.size(); ++i) Widths[i] = static_cast<int>(i + 1) * FCharWidth;
    return Widths;
  }
  int Calls = 0;

private:
  int FCharWidth;
};

// Starts at Now and moves on by Step at every reading.
class TSteppingClock final : public platform::IClock {
public:
  explicit TSteppingClock(std::uint32_t Start = 0, std::uint32_t Stride = 0) : Now(Start), Step(Stride) {}
  [[nodiscard]] std::uint32_t TickCount() override {
    const std::uint32_t Reading = Now;
    Now += Step;
    return Reading;
  }
  void Sleep(std::uint32_t Milliseconds) override { Slept += Milliseconds; }
  std::uint64_t Slept = 0;
  std::uint32_t Now;
  std::uint32_t Step;
};

class TFakeFolders final : public platform::IFolders {
public:
  [[nodiscard]] std::optional<platform::TPath> ProfileFolder() override { return Profile; }
  void CreateFolderTree(const platform::TPath& Folder) override { Created.push_back(Folder); }
  [[nodiscard]] bool FileExists(const platform::TPath& Path) override {
    Probed.push_back(Path);
    return Existing.count(Path) > 0;
  }
  void RemoveFile(const platform::TPath& Path) override { Removed.push_back(Path); }
  std::vector<platform::TPath> Removed;
  std::optional<platform::TPath> Profile;
  std::vector<platform::TPath> Created;
  std::set<platform::TPath> Existing;
  std::vector<platform::TPath> Probed;
};

class TFakeResellerId final : public download::IResellerId {
public:
  [[nodiscard]] std::int32_t GetResellerId() override {
    ++Calls;
    return Number;
  }
  std::int32_t Number = 1;
  int Calls = 0;
};

class TFakeHost final : public ui::IFormHost {
public:
  void RequestClose() override { ++CloseRequests; }
  void RepaintNow() override {
    ++Repaints;
    if (OnRepaint) OnRepaint();
  }
  [[nodiscard]] std::uintptr_t WindowHandle() const override { return Handle; }
  [[nodiscard]] int MessageBox(const std::string& Text, const std::string& Caption, unsigned Flags) override {
    Boxes.push_back({Text, Caption, Flags});
    return Answer;
  }
  struct TBox {
    std::string Text;
    std::string Caption;
    unsigned Flags;
  };
  std::vector<TBox> Boxes;
  int Answer = ui::MessageBoxAnswerYes;
  std::uintptr_t Handle = 0x000A07C2;
  std::function<void()> OnRepaint;
  [[nodiscard]] std::unique_ptr<ui::ITextMeasurer> CreateMeasurer(const ui::TFont& Font) override {
    MeasuredFonts.push_back(Font);
    return std::make_unique<TFixedWidthMeasurer>(CharWidth);
  }
  int CloseRequests = 0;
  int Repaints = 0;
  int CharWidth = 1;
  std::vector<ui::TFont> MeasuredFonts;
};

// Keys exist when listed in Keys or when a value was put under them.
class TFakeRegistry final : public platform::IRegistry {
public:
  using TKey = std::tuple<platform::TRootKey, std::wstring>;
  void PutString(platform::TRootKey Root, const std::wstring& Key, const std::wstring& Name, const std::wstring& Text) {
    Keys[{Root, Key}][Name] = platform::TRegistryValue{true, Text};
  }
  void PutNumber(platform::TRootKey Root, const std::wstring& Key, const std::wstring& Name) {
    Keys[{Root, Key}][Name] = platform::TRegistryValue{false, L""};
  }
  [[nodiscard]] TLookup Read(platform::TRootKey Root, const std::wstring& Key, const std::wstring& Name) override {
    TLookup Result;
    const auto Found = Keys.find({Root, Key});
    if (Found == Keys.end()) return Result;
    Result.KeyOpened = true;
    if (const auto Value = Found->second.find(Name); Value != Found->second.end()) Result.Value = Value->second;
    return Result;
  }
  [[nodiscard]] bool WriteDword(platform::TRootKey Root, const std::wstring& Key, const std::wstring& Name,
                                std::uint32_t Value) override {
    Writes.push_back({Root, Key, Name, Value});
    return !FailWrites;
  }
  struct TWrite {
    platform::TRootKey Root;
    std::wstring Key;
    std::wstring Name;
    std::uint32_t Value;
  };
  std::map<TKey, std::map<std::wstring, platform::TRegistryValue>> Keys;
  std::vector<TWrite> Writes;
  bool FailWrites = false;
};

class TFakeFileVersions final : public platform::IFileVersions {
public:
  [[nodiscard]] std::optional<platform::TFixedVersion> Read(const platform::TPath& File) override {
    Asked.push_back(File);
    const auto Found = Files.find(File);
    if (Found == Files.end()) return std::nullopt;
    return Found->second;
  }
  [[nodiscard]] platform::TPath SystemDirectory() override { return System; }
  std::map<platform::TPath, platform::TFixedVersion> Files;
  platform::TPath System = L"C:\\Windows\\system32";
  std::vector<platform::TPath> Asked;
};

class TFakeFlash final : public platform::IFlashProbe {
public:
  [[nodiscard]] std::optional<std::int32_t> FlashVersion() override {
    ++Calls;
    return Version;
  }
  std::optional<std::int32_t> Version;
  int Calls = 0;
};

class TFakeResources final : public platform::IResources {
public:
  [[nodiscard]] std::optional<std::string> RcData(const std::string& Name) override {
    const auto Found = Data.find(Name);
    if (Found == Data.end()) return std::nullopt;
    return Found->second;
  }
  std::map<std::string, std::string> Data;
};

class TFakeShell final : public platform::IShell {
public:
  void OpenAddress(const std::string& Address, std::uintptr_t Owner) override {
    Opened.push_back(Address);
    Owners.push_back(Owner);
  }
  std::vector<std::string> Opened;
  std::vector<std::uintptr_t> Owners;
};

class TFakeRestart final : public platform::IRestart {
public:
  [[nodiscard]] bool RestartSystem() override {
    ++Calls;
    return Accepted;
  }
  int Calls = 0;
  bool Accepted = false;
};

// Records each download and lets the test play the thread's reports.
class TFakeDownloads final : public download::IDownloadFactory {
public:
  struct TLog {
    int Terminated = 0;
    int Waited = 0;
    int Destroyed = 0;
  };
  class TDownload final : public download::IDownload {
  public:
    TDownload(TLog& Log, const std::function<void()>& OnWait) : FLog(Log), FOnWait(OnWait) {}
    ~TDownload() override { ++FLog.Destroyed; }
    TDownload(const TDownload&) = delete;
    TDownload& operator=(const TDownload&) = delete;
    void Terminate() override { ++FLog.Terminated; }
    void WaitFor() override {
      ++FLog.Waited;
      if (FOnWait) FOnWait();
    }

  private:
    TLog& FLog;
    const std::function<void()>& FOnWait;
  };
  // The thread after its complete download: pauses return at once, calls run here.
  class TThread final : public download::IDownloadThread {
  public:
    TThread(TFakeDownloads& Owner, const TLog& Log) : FOwner(Owner), FLog(Log) {}
    [[nodiscard]] bool Terminated() const override { return FLog.Terminated > 0; }
    [[nodiscard]] bool Pause(std::uint32_t Milliseconds) override {
      FOwner.Pauses.push_back(Milliseconds);
      if (FOwner.OnPause) FOwner.OnPause();
      return !Terminated();
    }
    void Synchronize(const std::function<void()>& Call) override { Call(); }

  private:
    TFakeDownloads& FOwner;
    const TLog& FLog;
  };
  struct TCall {
    std::string Url;
    platform::TPath FileName;
    // As the thread reports: its report of 100 is followed by the work after the download.
    download::TProgressEvent OnProgress;
    std::int32_t MinSize;
  };
  [[nodiscard]] std::unique_ptr<download::IDownload> Create(const std::string& Url, const platform::TPath& FileName,
                                                            download::TProgressEvent OnProgress, std::int32_t MinSize,
                                                            download::TAfterDownload AfterDownload) override {
    Logs.push_back(std::make_unique<TLog>());
    const download::TProgressEvent Report = [this, Log = Logs.back().get(), OnProgress, AfterDownload](
                                                const std::string& Text, std::int32_t Percent) {
      OnProgress(Text, Percent);
      TThread Thread(*this, *Log);
      if (Percent == 100 && AfterDownload && !Thread.Terminated()) AfterDownload(Thread);
    };
    Calls.push_back({Url, FileName, Report, MinSize});
    if (OnCreate) OnCreate();
    OnProgress("Downloading...", 0);
    return std::make_unique<TDownload>(*Logs.back(), OnWait);
  }
  // The thread's last report, delivered while its owner waits for it.
  std::function<void()> OnWait;
  std::function<void()> OnCreate;
  std::function<void()> OnPause;
  std::vector<std::uint32_t> Pauses;  // of the work after the download
  std::vector<TCall> Calls;
  std::vector<std::unique_ptr<TLog>> Logs;
};

class TFakeTaskbar final : public platform::ITaskbarProgress {
public:
  void SetTaskbarProgressState(platform::TTaskbarState State) override { States.push_back(State); }
  void SetTaskbarProgressValue(std::uint64_t Completed, std::uint64_t Total) override {
    Values.emplace_back(Completed, Total);
  }
  std::vector<platform::TTaskbarState> States;
  std::vector<std::pair<std::uint64_t, std::uint64_t>> Values;
};

class TFakeProcesses final : public platform::IProcesses {
public:
  class TProcess final : public platform::IProcess {
  public:
    explicit TProcess(TFakeProcesses& Owner) : FOwner(Owner) {}
    [[nodiscard]] TWait Wait(unsigned Milliseconds) override {
      FOwner.Waits.push_back(Milliseconds);
      return FOwner.State;
    }

  private:
    TFakeProcesses& FOwner;
  };
  [[nodiscard]] TStart StartInstaller(const platform::TPath& Path, const std::string& Parameters,
                                      const std::string& Signer, const std::function<bool()>& Cancelled) override {
    if (OnCheck) OnCheck();
    if (Cancelled()) return {};
    Started.emplace_back(Path, Parameters);
    Signers.push_back(Signer);
    const TStartResult Result = Started.size() <= FirstOutcomes.size() ? FirstOutcomes[Started.size() - 1] : Outcome;
    if (Result != TStartResult::Started) return {Result, nullptr};
    return {Result, std::make_unique<TProcess>(*this)};
  }
  std::function<void()> OnCheck;  // while the file is checked, before Cancelled is asked
  std::vector<TStartResult> FirstOutcomes;  // of the first starts, then Outcome
  TStartResult Outcome = TStartResult::Started;
  std::vector<std::string> Signers;
  platform::IProcess::TWait State = platform::IProcess::TWait::Running;
  std::vector<unsigned> Waits;
  std::vector<std::pair<platform::TPath, std::string>> Started;
};

}  // namespace fakes
