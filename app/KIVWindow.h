// The wizard's main window: four pages of pictures and labels, the licence
// list and two timers, with every handler of the wizard. The handlers live in
// one source file per concern: KIVWindow (layout, lifecycle), PageFlow,
// StatusLines, Progress, InstallerRun, OptionalInstalls, LicenceViewer.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/Colours.h"
#include "checks/Functions.h"
#include "download/Download.h"
#include "download/ResellerId.h"
#include "platform/Clock.h"
#include "platform/Folders.h"
#include "platform/Processes.h"
#include "platform/Restart.h"
#include "platform/Shell.h"
#include "platform/Taskbar.h"
#include "ui/Form.h"

namespace app {

// The product's full installer, as the link service names it and as it is saved.
constexpr char InstallerFileName[] = "VestoraEditorInstaller.exe";

using download::StatusSeparator;

// The platform services the window calls.
struct TKIVServices {
  platform::IClock& Clock;
  platform::IFolders& Folders;
  download::IResellerId& Reseller;
  checks::IFunctions& Functions;
  platform::IShell& Shell;
  platform::IRestart& Restart;
  download::IDownloadFactory& Downloads;
  platform::ITaskbarProgress& Taskbar;
  platform::IProcesses& Processes;
};

class TKIVWindow : public ui::TForm {
public:
  TKIVWindow(TKIVServices Services, std::vector<std::string> LicenceItems);

  [[nodiscard]] ui::TNotebook& Pages() override { return Notebook1; }
  [[nodiscard]] std::vector<ui::TTimer*> Timers() override {
    return {&tmrSWCheck, &tmrInstallerMonitor};
  }

  void FormCreate() override;
  void FormShow() override;
  void FormCloseQuery(bool& CanClose) override;
  void FormDestroy() override;
  void FormMouseWheel(int WheelDelta, bool& Handled) override;
  bool Dispatch(ui::TMessage& Message) override;
  void CopyData(const ui::TCopyData& Data) override { WMCopyData(Data); }
  [[nodiscard]] bool IsActionAvailable(const ui::TControl& Control) const override;
  [[nodiscard]] std::string ShutdownBlockReason() const override;
  [[nodiscard]] bool KeepsSystemAwake() const override { return lblInstall.Tag == 1; }

  // Status lines and the install page's bars.
  void SetStatusText(const std::string& Text, const std::string& DefaultLine1, const std::string& DefaultLine2,
                     bool IsError);
  void GreyOutProgressBar();
  void ShowProgress(std::int32_t Step);

  // Optional installs and codec packs.
  void tmrSWCheckTimer(ui::TTimer* Sender);
  void ShowCodecPacks();

  // The controls whose state the pages show. Controls only the window's own
  // handlers touch are private, below.

  // Page 0, "EULA"
  ui::TLabel lblDontAgree{"lblDontAgree", {452, 287, 114, 28}};
  ui::TLabel lblAgree{"lblAgree", {250, 287, 188, 28}};
  ui::TPaintBox pbScrollbar{"pbScrollbar", {564, 95, 5, 168}};
  ui::TLabel lblEULATitle1{"lblEULATitle1", {32, 17, 545, 30}};
  ui::TListBox EULA{"EULA", {39, 95, 521, 168}};

  // Page 1, "Install"
  ui::TLabel lblProgressInfo1{"lblProgressInfo1", {171, 201, 376, 23}};
  ui::TImage imgProgress{"imgProgress", {171, 159, 371, 36}, "PROGRESS"};
  ui::TLabel lblProgress{"lblProgress", {173, 166, 49, 22}};
  ui::TImage imgProgressGrey{"imgProgressGrey", {169, 72, 373, 36}, "PROGRESSGREY"};
  ui::TLabel lblTitle2{"lblTitle2", {32, 46, 545, 33}};
  ui::TImage imgInstallHL{"imgInstallHL", {450, 285, 118, 32}, "INSTALLHL"};
  ui::TLabel lblInstall{"lblInstall", {452, 286, 114, 29}};
  ui::TLabel lblHelp{"lblHelp", {322, 287, 114, 28}};
  ui::TLabel lblProgressInfo2{"lblProgressInfo2", {171, 219, 376, 23}};

  // Page 2, "OpInstall"
  ui::TLabel lblDone{"lblDone", {481, 286, 85, 28}};
  ui::TLabel lblOpInstTitle2{"lblOpInstTitle2", {32, 46, 545, 33}};
  ui::TImage imgOpInst1b{"imgOpInst1b", {3, 95, 64, 64}, "OPINST1B"};
  ui::TImage imgOpInst3b{"imgOpInst3b", {3, 195, 64, 64}, "OPINST3B"};
  ui::TImage imgOpInst3a{"imgOpInst3a", {79, 195, 64, 64}, "OPINST3A"};
  ui::TImage imgOpInst4b{"imgOpInst4b", {529, 195, 64, 64}, "OPINST4B"};
  ui::TImage imgOpInst4a{"imgOpInst4a", {312, 195, 64, 64}, "OPINST4A"};
  ui::TImage imgOpInst2b{"imgOpInst2b", {529, 95, 64, 64}, "OPINST2B"};
  ui::TLabel lblWMP1{"lblWMP1", {378, 87, 145, 43}};
  ui::TLabel lblWMP2{"lblWMP2", {378, 130, 142, 39}};
  ui::TLabel lblQT1{"lblQT1", {378, 187, 146, 43}};
  ui::TLabel lblQT2{"lblQT2", {378, 230, 142, 39}};
  ui::TLabel lblAFP2{"lblAFP2", {145, 230, 146, 39}};
  ui::TLabel lblDX2{"lblDX2", {145, 130, 146, 39}};
  ui::TLabel lblOptInstNote{"lblOptInstNote", {29, 285, 356, 26}};
  ui::TImage imgOpInst1a{"imgOpInst1a", {79, 95, 64, 64}, "OPINST1A"};
  ui::TImage imgOpInst2a{"imgOpInst2a", {312, 95, 64, 64}, "OPINST2A"};

  // Page 3, "Reboot"
  ui::TLabel lblRestart{"lblRestart", {481, 286, 85, 28}};

  ui::TPage PageEULA{"EULA"};
  ui::TPage PageInstall{"Install"};
  ui::TPage PageOpInstall{"OpInstall"};
  ui::TPage PageReboot{"Reboot"};
  ui::TNotebook Notebook1;

  ui::TTimer tmrSWCheck{"tmrSWCheck", 10000};
  ui::TTimer tmrInstallerMonitor{"tmrInstallerMonitor", 1000};

  // Read by tests and by the host; the window is the only writer.
  [[nodiscard]] const platform::TPath& DownloadFolder() const { return FDownloadFolder; }
  [[nodiscard]] std::int32_t ResellerId() const { return FResellerId; }
  [[nodiscard]] std::int32_t ProgressFullWidth() const { return FProgressFullWidth; }

private:
  void WMEraseBkgnd(ui::TMessage& Message);
  // A progress report of the installer.
  void WMCopyData(const ui::TCopyData& Report);
  void tmrInstallerMonitorTimer(ui::TTimer* Sender);
  void EULADrawItem(ui::TListBox& Control, ui::ICanvas& Canvas, int Index, ui::TRect Rect);

  // The painted scrollbar of the licence list. Y is in scrollbar pixels.
  void pbScrollbarPaint(ui::TPaintBox& Sender, ui::ICanvas& Canvas);
  void pbScrollbarMouseDown(ui::TControl& Sender, ui::TMouseButton Button, int X, int Y);
  void pbScrollbarMouseMove(ui::TControl& Sender, bool LeftHeld, int X, int Y);
  void pbScrollbarMouseEnter(ui::TControl& Sender);
  void pbScrollbarMouseLeave(ui::TControl& Sender);
  void PositionFromScrollbar(int Y);
  void SetCurrentLine(int Line);

  // Page flow: the one click handler of the action labels.
  void lblAgreeClick(ui::TControl& Sender);
  void lblDontAgreeClick(ui::TControl& Sender);
  void lblEULATitle1Click(ui::TControl& Sender);
  void LayOutPages();
  void WrapLicenceLines();
  void AcceptLicence();

  // The download and the installer.
  void StartDownload();
  void StopDownload();
  void DownloadProgress(const std::string& Message, std::int32_t Percent);
  // What the download thread does once the file is complete: check and start it.
  [[nodiscard]] download::TAfterDownload LaunchInstaller();
  // On the GUI thread, with what the download thread's start came to.
  void InstallerStarted(platform::IProcesses::TStart Start);
  // Where the full installer is downloaded to and started from.
  [[nodiscard]] platform::TPath InstallerPath() const;

  // Optional installs, codec packs and the restart.
  void ShowInstallState(ui::TLabel& Label, bool Present);
  void imgOpInstHLMouseUp(ui::TControl& Sender, ui::TMouseButton Button, int X, int Y);
  [[nodiscard]] std::vector<ui::TLabel*> OfferLabels();
  void SetOfferTexts(ui::TLabel& NameLabel, ui::TLabel& StateLabel, const std::string& Name,
                     const std::string& Description);
  void FadeOutOffers(const std::vector<ui::TImage*>& Logos, const std::vector<ui::TLabel*>& Labels);
  void FadeInOffers(const std::vector<ui::TImage*>& Logos, const std::vector<ui::TLabel*>& Labels);
  void ShowAnimationFrame();
  [[nodiscard]] bool RestartSystem();

  ui::TImage imgEULAback{"imgEULAback", {0, 0, 600, 338}, "EULABACK"};
  ui::TLabel lblEULATitle2{"lblEULATitle2", {32, 46, 545, 33}};
  ui::TImage Image1{"Image1", {0, 0, 600, 338}, "INSTALLBACK"};
  ui::TLabel lblTitle1{"lblTitle1", {32, 17, 545, 30}};
  ui::TLabel Label1{"Label1", {171, 133, 376, 23}};
  ui::TImage imgOpInstallBack{"imgOpInstallBack", {0, 0, 600, 338}, "OPINSTALLBACK"};
  ui::TLabel lblOpInstTitle1{"lblOpInstTitle1", {32, 17, 545, 30}};
  ui::TLabel lblAFP1{"lblAFP1", {145, 187, 150, 43}};
  ui::TLabel lblDX1{"lblDX1", {145, 87, 147, 43}};
  ui::TImage Image2{"Image2", {0, 0, 600, 338}, "REBOOTBACK"};
  ui::TLabel Label2{"Label2", {32, 17, 545, 30}};
  ui::TLabel Label5{"Label5", {32, 54, 545, 33}};

  TKIVServices FServices;

  std::int32_t FThumbTop = 0;
  std::int32_t FThumbGrabOffset = 0;
  platform::TPath FDownloadFolder;
  std::int32_t FResellerId = 0;
  std::int32_t FProgressFullWidth = 0;
  std::unique_ptr<platform::IProcess> FInstallerProcess;
  bool FStoppingDownload = false;
  // Last, so that it goes first: its thread's last reports still reach the fields above.
  std::unique_ptr<download::IDownload> FDownloader;
};

}  // namespace app
