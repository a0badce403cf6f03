// One bar for the whole run: steps 0 to 100 are the download, 100 to 200 the
// installation. The bar never moves backwards.
#include "app/KIVWindow.h"

#include <exception>

#include "app/PageArithmetic.h"
#include "vestora/BuildConfig.h"

namespace app {
namespace {

constexpr std::int32_t LastStep = 200;
// A file held by another program is tried again for 30 seconds, a second apart.
constexpr int MostStartRetries = 30;
constexpr std::uint32_t StartRetryPauseMs = 1000;

// On the download thread: the check and the start, again while a virus scanner
// holds the finished file, until the owner asks the thread to end.
platform::IProcesses::TStart StartWhenFree(download::IDownloadThread& Thread, platform::IProcesses& Processes,
                                           const platform::TPath& Path, const std::string& Parameters) {
  const auto Cancelled = [&Thread] { return Thread.Terminated(); };
  for (int Retries = 0;; ++Retries) {
    platform::IProcesses::TStart Start = Processes.StartInstaller(Path, Parameters, VESTORA_INSTALLER_SIGNER, Cancelled);
    if (Start.Result != platform::IProcesses::TStartResult::Busy || Retries == MostStartRetries ||
        !Thread.Pause(StartRetryPauseMs)) {
      return Start;
    }
  }
}

}  // namespace

void TKIVWindow::DownloadProgress(const std::string& Message, std::int32_t Percent) {
  // After a cancel, a download that completed meanwhile ends as cancelled: its file never runs.
  if (FStoppingDownload && Percent == 100) {
    FServices.Folders.RemoveFile(InstallerPath());
    DownloadProgress(std::string("Download Terminated") + StatusSeparator, -1);
    return;
  }
  SetStatusText(Message, "Downloading...", "Please wait", Percent == -1);
  if (Percent >= 0) {
    ShowProgress(Percent);
  } else {
    GreyOutProgressBar();
    lblInstall.Tag = 0;
    lblInstall.Caption = "Install";
  }
  // The installer is checked and started on the download thread, which reports back to InstallerStarted.
  if (Percent == 100) {
    lblProgressInfo1.Live = lblProgressInfo2.Live = true;  // the download complete is news
    lblInstall.Font.Color = clInactiveGrey;
    imgInstallHL.Visible = true;
  }
}

void TKIVWindow::ShowProgress(std::int32_t Step) {
  if (Step > LastStep) Step = LastStep;
  // Every step from the last one shown is applied in turn, the last one again.
  for (std::int32_t s = imgProgress.Tag; s <= Step; ++s) {
    imgProgress.Tag = s;
    if (s == LastStep) {
      imgProgress.Bounds.Width = FProgressFullWidth;
      lblProgress.Caption = "100%";
      FServices.Taskbar.SetTaskbarProgressState(platform::TTaskbarState::NoProgress);
      continue;
    }
    const TProgressFrame Frame =
        ProgressFrame(s, imgProgress.Bounds.Left, FProgressFullWidth, lblProgress.Bounds.Width);
    imgProgress.Bounds.Width = Frame.BarWidth;
    FServices.Taskbar.SetTaskbarProgressState(platform::TTaskbarState::Normal);
    FServices.Taskbar.SetTaskbarProgressValue(static_cast<std::uint64_t>(Frame.BarWidth),
                                              static_cast<std::uint64_t>(FProgressFullWidth));
    lblProgress.Caption = Frame.Percent;
    lblProgress.Font.Color = Frame.LabelColour;
    lblProgress.Bounds.Left = Frame.LabelLeft;
  }
}

download::TAfterDownload TKIVWindow::LaunchInstaller() {
  const std::string Parameters = "/VERYSILENT /SUPPRESSMSGBOXES /CALLBACKWND " + std::to_string(Host()->WindowHandle());
  return [this, Path = InstallerPath(), Parameters](download::IDownloadThread& Thread) {
    platform::IProcesses::TStart Start;
    try {
      Start = StartWhenFree(Thread, FServices.Processes, Path, Parameters);
    } catch (const std::exception&) {
      // Nothing started: the page offers "Install" again.
    }
    Thread.Synchronize([this, &Start] { InstallerStarted(std::move(Start)); });
  };
}

void TKIVWindow::InstallerStarted(platform::IProcesses::TStart Start) {
  FInstallerProcess = std::move(Start.Process);
  if (FInstallerProcess) {
    tmrInstallerMonitor.SetEnabled(true);
    return;
  }
  // A file that failed its check or its start, or whose start a cancel stopped, is not left behind.
  FServices.Folders.RemoveFile(InstallerPath());
  lblInstall.Font.Color = ui::clWhite;
  imgInstallHL.Visible = false;
  if (FStoppingDownload) {
    DownloadProgress(std::string("Download Terminated") + StatusSeparator, -1);
    return;
  }
  if (Start.Result == platform::IProcesses::TStartResult::Untrusted) {
    SetStatusText(std::string("Download Error [7]") + StatusSeparator + "The installer's signature could not be verified.",
                  "", "", true);
  } else {
    SetStatusText("Error starting the installer.", "", "", true);
  }
  GreyOutProgressBar();
  lblInstall.Tag = 0;
  lblInstall.Caption = "Install";
}

}  // namespace app
