// Following the installer: its copy-data reports, and its process ending first.
#include "app/KIVWindow.h"

#include <algorithm>

namespace app {

void TKIVWindow::WMCopyData(const ui::TCopyData& Report) {
  // Reports count only from the installer we started, while it installs or
  // after it completed; any other process's report is ignored.
  const bool Installing = lblInstall.Tag == 1 && lblInstall.Font.Color != ui::clWhite;
  if (!FInstallerProcess || Notebook1.PageIndex != 1 || !(Installing || lblInstall.Tag == 2)) return;
  std::string Text = Report.Text;
  // A terminating zero counted in the report changes nothing.
  while (!Text.empty() && Text.back() == '\0') Text.pop_back();

  const std::int32_t Code = Report.Code;
  if (Code >= 0) {
    ShowProgress(100 + std::min(Code, 100));
  } else {
    GreyOutProgressBar();
  }
  SetStatusText(Text, "Installing...", "Please wait", Code == -1);
  if (imgProgress.Tag == 200) {
    // Complete: the installer's exit that follows is not taken for a failure.
    tmrInstallerMonitor.SetEnabled(false);
    lblInstall.Font.Color = ui::clWhite;
    imgInstallHL.Visible = false;
    lblInstall.Tag = 2;
    SetStatusText("", "", "", false);
    lblTitle2.Caption = "Click 'Continue' to complete the installation";
    lblInstall.Caption = "Continue";
  }
}

void TKIVWindow::tmrInstallerMonitorTimer(ui::TTimer* /*Sender*/) {
  if (FInstallerProcess && FInstallerProcess->Wait(10) == platform::IProcess::TWait::Running) return;
  // Ended without the completion report, or the handle cannot be waited on.
  tmrInstallerMonitor.SetEnabled(false);
  SetStatusText("", "Something went wrong.", "Close all Vestora applications and services and try again.", true);
  lblInstall.Caption = "Done";
  lblInstall.Tag = 3;
  lblInstall.Font.Color = ui::clWhite;
  imgInstallHL.Visible = false;
}

}  // namespace app
