// One bar for the whole run: steps 0 to 100 are the download, 100 to 200 the
// installation. The bar never moves backwards.
#include "app/KIVWindow.h"

#include "app/PageArithmetic.h"
#include "vestora/BuildConfig.h"

namespace app {
namespace {

constexpr std::int32_t LastStep = 200;
// A file held by another program is tried again for 30 seconds, a second apart.
constexpr int MostStartRetries = 30;

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
  if (Percent == 100) {
    FStartRetries = 0;
    LaunchInstaller();
  }
}

// The installer that another program held a second ago is started again.
void TKIVWindow::tmrStartRetryTimer(ui::TTimer* Sender) {
  Sender->SetEnabled(false);
  LaunchInstaller();
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

void TKIVWindow::LaunchInstaller() {
  lblInstall.Font.Color = clInactiveGrey;
  imgInstallHL.Visible = true;
  const std::string Parameters = "/VERYSILENT /SUPPRESSMSGBOXES /CALLBACKWND " + std::to_string(Host()->WindowHandle());
  platform::IProcesses::TStart Start =
      FServices.Processes.StartInstaller(InstallerPath(), Parameters, VESTORA_INSTALLER_SIGNER);
  FInstallerProcess = std::move(Start.Process);
  if (FInstallerProcess) {
    tmrInstallerMonitor.SetEnabled(true);
    return;
  }
  // A virus scanner may hold the finished file for a moment; the page waits as it is.
  if (Start.Result == platform::IProcesses::TStartResult::Busy && FStartRetries < MostStartRetries) {
    ++FStartRetries;
    tmrStartRetry.SetEnabled(true);
    return;
  }
  // A file that failed its check or its start is not left behind.
  FServices.Folders.RemoveFile(InstallerPath());
  if (Start.Result == platform::IProcesses::TStartResult::Untrusted) {
    SetStatusText(std::string("Download Error [7]") + StatusSeparator + "The installer's signature could not be verified.",
                  "", "", true);
  } else {
    SetStatusText("Error starting the installer.", "", "", true);
  }
  GreyOutProgressBar();
  lblInstall.Tag = 0;
  lblInstall.Caption = "Install";
  lblInstall.Font.Color = ui::clWhite;
  imgInstallHL.Visible = false;
}

}  // namespace app
