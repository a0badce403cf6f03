// The wizard has no push buttons: these handlers act on the clicked label,
// its tag and, for lblInstall, its font colour.
#include "app/KIVWindow.h"

#include "download/VestoraLinks.h"
#include "vestora/BuildConfig.h"

namespace app {
namespace {

constexpr wchar_t InstalledProductKey[] = L"SOFTWARE\\Ostrevane\\vestora\\";
constexpr wchar_t InstalledProductFile[] = L"VestoraEditorPremier.exe";
constexpr std::int32_t SmallestDownload = 100000;

}  // namespace

void TKIVWindow::lblAgreeClick(ui::TControl& Sender) {
  if (&Sender == &lblHelp) {
    FServices.Shell.OpenAddress(
        std::string("http://") + VESTORA_HELP_HOST + "/r/?id=" + std::to_string(FResellerId) + "&mode=1", 0);
  }
  if (&Sender == &lblAgree) {
    AcceptLicence();
    return;
  }
  if (&Sender == &lblInstall && lblInstall.Font.Color == ui::clWhite) {
    switch (lblInstall.Tag) {
      case 3:
        Close();
        break;
      case 2:
        tmrSWCheckTimer(nullptr);
        Notebook1.PageIndex = 2;
        break;
      case 1:
        StopDownload();
        GreyOutProgressBar();
        lblInstall.Tag = 0;
        lblInstall.Caption = "Install";
        SetStatusText("Installation cancelled.", "", "", false);
        break;
      case 0:
        StartDownload();
        break;
      default:
        break;
    }
  }
  if (&Sender == &lblDone) {
    if (lblDone.Tag == 1) {
      Notebook1.PageIndex = 3;
      return;
    }
    ShowCodecPacks();
  }
  if (&Sender == &lblRestart) {
    (void)RestartSystem();
    Close();
  }
}

void TKIVWindow::AcceptLicence() {
  const platform::TPath Installed =
      platform::FolderPart(FServices.Functions.RegReadString(InstalledProductKey, platform::TRootKey::LocalMachine, L"MainExe")) +
      InstalledProductFile;
  if (FServices.Folders.FileExists(Installed)) {
    const std::string Question = "Vestora Editor v" + FServices.Functions.GetFileVersionString(Installed) +
                                 " is already installed on this PC.\r\rAre you sure you want to replace it?";
    if (Host()->MessageBox(Question, Caption, ui::MessageBoxYesNo | ui::MessageBoxInformation) !=
        ui::MessageBoxAnswerYes) {
      Close();
      return;
    }
  }
  FResellerId = FServices.Reseller.GetResellerId();
  lblInstall.Tag = 0;
  lblAgreeClick(lblInstall);  // lblInstall is white here: this starts the download
  Notebook1.PageIndex = 1;
}

void TKIVWindow::StartDownload() {
  imgProgressGrey.Visible = false;
  imgProgress.Bounds.Width = 0;
  imgProgress.Visible = true;
  imgProgress.Tag = 0;
  lblInstall.Tag = 1;
  lblInstall.Caption = "Cancel";
  const platform::TPath Destination = InstallerPath();
  const std::string Url = download::GetLinkURL(InstallerFileName, "file", "");
  // The folder may have gone since the start; it is made again, as at the start.
  if (!FDownloadFolder.empty()) FServices.Folders.CreateFolderTree(FDownloadFolder);
  // The finished thread of an earlier attempt goes first; its wait returns at once.
  StopDownload();
  FDownloader = FServices.Downloads.Create(
      Url, Destination, [this](const std::string& Text, std::int32_t Percent) { DownloadProgress(Text, Percent); },
      SmallestDownload, LaunchInstaller());
}

void TKIVWindow::lblDontAgreeClick(ui::TControl& /*Sender*/) { Close(); }

void TKIVWindow::lblEULATitle1Click(ui::TControl& /*Sender*/) {}

bool TKIVWindow::RestartSystem() { return FServices.Restart.RestartSystem(); }

}  // namespace app
