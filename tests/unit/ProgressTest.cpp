#include "tests/unit/WindowFixture.h"
#include "vestora/BuildConfig.h"

namespace {

class Progress : public wizard::WindowTest {
protected:
  Progress() {
    CreateAndShow();
    Click(Window.lblAgree);  // the download's first report shows step 0
  }
};

TEST_F(Progress, TheFirstReportShowsAnEmptyBarAtZeroPercent) {
  EXPECT_EQ(Window.imgProgress.Bounds.Width, 0);
  EXPECT_EQ(Window.lblProgress.Caption, "0%");
  EXPECT_EQ(Window.lblProgress.Bounds.Left, 171);
  EXPECT_EQ(Taskbar.States.back(), platform::TTaskbarState::Normal);
  EXPECT_EQ(Taskbar.Values.back(), (std::pair<std::uint64_t, std::uint64_t>{0, 371}));
  EXPECT_EQ(Window.lblProgressInfo1.Caption, "Downloading...");
  EXPECT_EQ(Window.lblProgressInfo2.Caption, "Please wait");
  EXPECT_FALSE(Window.lblProgressInfo1.Live);
}

TEST_F(Progress, TheDownloadFillsTheFirstHalf) {
  Window.ShowProgress(100);
  EXPECT_EQ(Window.imgProgress.Bounds.Width, 185);
  EXPECT_EQ(Window.lblProgress.Caption, "50%");
  EXPECT_EQ(Window.lblProgress.Bounds.Left, 171 + 185);
  EXPECT_EQ(Window.lblProgress.Font.Color, app::clGreyText);
}

TEST_F(Progress, AJumpAppliesEveryStepAndTheBarNeverGoesBack) {
  Window.ShowProgress(40);
  const std::size_t Before = Taskbar.Values.size();
  Window.ShowProgress(60);
  EXPECT_EQ(Taskbar.Values.size() - Before, 21u);  // steps 40 to 60, both included
  EXPECT_EQ(Window.imgProgress.Tag, 60);
  Window.ShowProgress(50);
  EXPECT_EQ(Window.imgProgress.Tag, 60);
  EXPECT_EQ(Window.lblProgress.Caption, "30%");
  EXPECT_EQ(Taskbar.Values.size() - Before, 21u);
}

TEST_F(Progress, TheLabelStopsAtItsLastPlaceAndBrightens) {
  const struct {
    int Step;
    const char* Text;
    int Left;
    ui::TColor Colour;
  } Cases[] = {
      {168, "84%", 171 + 311, app::clGreyText},
      {169, "84%", 483, 0x686868},
      {199, "99%", 483, 0xF9F9F9},
      {200, "100%", 483, 0xF9F9F9},  // the last step keeps place and colour
  };
  for (const auto& Case : Cases) {
    Window.ShowProgress(Case.Step);
    EXPECT_EQ(Window.lblProgress.Caption, Case.Text) << Case.Step;
    EXPECT_EQ(Window.lblProgress.Bounds.Left, Case.Left) << Case.Step;
    EXPECT_EQ(Window.lblProgress.Font.Color, Case.Colour) << Case.Step;
  }
  EXPECT_EQ(Window.imgProgress.Bounds.Width, 371);
  EXPECT_EQ(Taskbar.States.back(), platform::TTaskbarState::NoProgress);
}

TEST_F(Progress, StepsAbove200CountAs200) {
  Window.ShowProgress(250);
  EXPECT_EQ(Window.imgProgress.Tag, 200);
  EXPECT_EQ(Window.lblProgress.Caption, "100%");
  EXPECT_EQ(Window.imgProgress.Bounds.Width, 371);
}

TEST_F(Progress, AFailureReportGreysTheBarAndOffersInstallAgain) {
  Downloads.Calls.back().OnProgress("Downloading 30%\xAC" "x", 30);
  const std::size_t States = Taskbar.States.size();
  Downloads.Calls.back().OnProgress("Download Error [1]\xAC" "Please check your internet connection and try again.", -1);
  EXPECT_EQ(Window.lblProgressInfo1.Caption, "Download Error [1]");
  EXPECT_EQ(Window.lblProgressInfo1.Font.Color, app::clErrorRed);
  EXPECT_TRUE(Window.imgProgressGrey.Visible);
  EXPECT_EQ(Window.imgProgressGrey.Bounds.Width, Window.imgProgress.Bounds.Width);
  EXPECT_EQ(Window.lblInstall.Tag, 0);
  EXPECT_EQ(Window.lblInstall.Caption, "Install");
  EXPECT_EQ(Taskbar.States.size(), States);  // the taskbar keeps its last value
  Click(Window.lblInstall);
  EXPECT_EQ(Window.imgProgress.Tag, 0);
  EXPECT_EQ(Window.lblProgress.Caption, "0%");
}

TEST_F(Progress, CompletionStartsTheInstallerWithTheWindowHandle) {
  Downloads.Calls.back().OnProgress("Downloaded\xAC" "33 of 33mb", 100);
  ASSERT_EQ(Processes.Started.size(), 1u);
  EXPECT_EQ(Processes.Started[0].first, Window.DownloadFolder() + L"VestoraEditorInstaller.exe");
  EXPECT_EQ(Processes.Started[0].second, "/VERYSILENT /SUPPRESSMSGBOXES /CALLBACKWND 657346");
  EXPECT_EQ(Window.lblInstall.Font.Color, app::clInactiveGrey);
  EXPECT_TRUE(Window.imgInstallHL.Visible);
  EXPECT_TRUE(Window.lblProgressInfo1.Live);  // a screen reader hears the download complete
  EXPECT_TRUE(Window.tmrInstallerMonitor.Enabled());
  EXPECT_EQ(Window.lblInstall.Caption, "Cancel");
  EXPECT_EQ(Window.lblProgress.Caption, "50%");
}

struct TStartFailure {
  platform::IProcesses::TStartResult Outcome;
  const char* Line1;
  const char* Line2;
  std::size_t Starts = 1;  // of each download
};

class StartFailures : public Progress, public ::testing::WithParamInterface<TStartFailure> {};

// An unsigned or foreign installer and one that cannot start: removed, never run, "Install" offered again,
// and the next download's installer is tried as often as the first.
TEST_P(StartFailures, ReturnThePageToReadyAndRemoveTheFile) {
  Processes.Outcome = GetParam().Outcome;
  const platform::TPath Installer = Window.DownloadFolder() + L"VestoraEditorInstaller.exe";
  for (std::size_t Download = 1; Download <= 2; ++Download) {
    if (Download == 2) Click(Window.lblInstall);
    Downloads.Calls.back().OnProgress("Downloaded\xAC" "33 of 33mb", 100);
    EXPECT_EQ(Processes.Started.size(), GetParam().Starts * Download);
    EXPECT_EQ(Folders.Removed, std::vector<platform::TPath>(Download, Installer));
  }
  EXPECT_EQ(Downloads.Pauses, std::vector<std::uint32_t>(2 * (GetParam().Starts - 1), 1000));
  ASSERT_GE(Processes.Signers.size(), 1u);
  EXPECT_EQ(Processes.Signers[0], VESTORA_INSTALLER_SIGNER);
  EXPECT_EQ(Window.lblProgressInfo1.Caption, GetParam().Line1);
  EXPECT_EQ(Window.lblProgressInfo1.Font.Color, app::clErrorRed);
  EXPECT_EQ(Window.lblProgressInfo2.Caption, GetParam().Line2);
  EXPECT_TRUE(Window.imgProgressGrey.Visible);
  EXPECT_EQ(Window.lblInstall.Tag, 0);
  EXPECT_EQ(Window.lblInstall.Caption, "Install");
  EXPECT_EQ(Window.lblInstall.Font.Color, ui::clWhite);
  EXPECT_FALSE(Window.imgInstallHL.Visible);
  EXPECT_FALSE(Window.tmrInstallerMonitor.Enabled());
}

INSTANTIATE_TEST_SUITE_P(
    Installer, StartFailures,
    ::testing::Values(TStartFailure{platform::IProcesses::TStartResult::Failed, "Error starting the installer.", ""},
                      TStartFailure{platform::IProcesses::TStartResult::Untrusted, "Download Error [7]",
                                    "The installer's signature could not be verified."},
                      TStartFailure{platform::IProcesses::TStartResult::Busy, "Error starting the installer.", "",
                                    31}));

// A virus scanner holds the finished file for two seconds: the installer starts a second later each time,
// the button grey meanwhile.
TEST_F(Progress, AnInstallerHeldForAMomentStartsOnALaterTry) {
  Processes.FirstOutcomes = {platform::IProcesses::TStartResult::Busy, platform::IProcesses::TStartResult::Busy};
  Downloads.OnPause = [this] {
    EXPECT_EQ(Window.lblInstall.Font.Color, app::clInactiveGrey);
    EXPECT_FALSE(Window.tmrInstallerMonitor.Enabled());
  };
  Downloads.Calls.back().OnProgress("Downloaded\xAC" "33 of 33mb", 100);
  EXPECT_EQ(Processes.Started.size(), 3u);
  EXPECT_EQ(Downloads.Pauses, (std::vector<std::uint32_t>{1000, 1000}));
  EXPECT_TRUE(Window.tmrInstallerMonitor.Enabled());
}

// The window closes while the file is checked, or while a scanner holds it: nothing starts, nothing is left.
TEST_F(Progress, AStopDuringTheCheckOrItsPauseStartsNothing) {
  const platform::TPath Installer = Window.DownloadFolder() + L"VestoraEditorInstaller.exe";
  for (const bool InPause : {false, true}) {
    Processes.Outcome = InPause ? platform::IProcesses::TStartResult::Busy : platform::IProcesses::TStartResult::Started;
    (InPause ? Downloads.OnPause : Processes.OnCheck) = [this] { Window.FormDestroy(); };
    if (InPause) Click(Window.lblInstall);  // the fixture's download first, then a new one
    const std::size_t Starts = Processes.Started.size();
    Downloads.Calls.back().OnProgress("Downloaded\xAC" "33 of 33mb", 100);
    EXPECT_EQ(Processes.Started.size(), Starts + (InPause ? 1 : 0)) << InPause;
    EXPECT_EQ(Folders.Removed.back(), Installer);
    EXPECT_FALSE(Window.tmrInstallerMonitor.Enabled());
    Downloads.OnPause = nullptr;
    Processes.OnCheck = nullptr;
  }
}

}  // namespace
