#include "tests/unit/WindowFixture.h"

namespace {

class InstallerRun : public wizard::WindowTest {
protected:
  InstallerRun() {
    CreateAndShow();
    Click(Window.lblAgree);
    Downloads.Calls.back().OnProgress("Downloaded\xAC" "33 of 33mb", 100);
  }

  // A report as the host hands it on; Bytes may hold zeros and need no terminator.
  void Report(std::int32_t Code, const std::string& Bytes) { Window.CopyData({Code, Bytes}); }
};

struct TReportCase {
  std::int32_t Code;
  std::string Bytes;
  int Step;
  const char* Line1;
  const char* Line2;
  bool Red;
  bool Grey;
};

class Reports : public InstallerRun, public ::testing::WithParamInterface<TReportCase> {};

TEST_P(Reports, MoveTheSecondHalfAndReplaceTheStatusLines) {
  const TReportCase& Case = GetParam();
  Report(Case.Code, Case.Bytes);
  EXPECT_EQ(Window.imgProgress.Tag, Case.Step);
  EXPECT_EQ(Window.lblProgressInfo1.Caption.substr(0, Window.lblProgressInfo1.Caption.find('\0')), Case.Line1);
  EXPECT_EQ(Window.lblProgressInfo2.Caption, Case.Line2);
  EXPECT_EQ(Window.lblProgressInfo1.Font.Color, Case.Red ? app::clErrorRed : app::clGreyText);
  EXPECT_EQ(Window.imgProgressGrey.Visible, Case.Grey);
  EXPECT_EQ(Window.lblInstall.Tag, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Installer, Reports,
    ::testing::Values(TReportCase{0, "Copying", 100, "Copying", "Please wait", false, false},
                      TReportCase{50, "A\xAC" "B", 150, "A", "B", false, false},
                      TReportCase{-1, "Disk full", 100, "Disk full", "Please wait", true, true},
                      TReportCase{-2, "Disk full", 100, "Disk full", "Please wait", false, true},
                      TReportCase{0, "", 100, "Installing...", "Please wait", false, false},
                      TReportCase{0, std::string("Copying\0", 8), 100, "Copying", "Please wait", false, false},
                      TReportCase{0, std::string("\0", 1), 100, "Installing...", "Please wait", false, false},
                      TReportCase{0, std::string("\0\0", 2), 100, "Installing...", "Please wait", false, false},
                      TReportCase{0, "\xAC" "B", 100, "Installing...", "B", false, false}));

TEST_F(InstallerRun, ALowerCodeLeavesTheBarButShowsItsText) {
  Report(50, "half");
  Report(40, "less");
  EXPECT_EQ(Window.imgProgress.Tag, 150);
  EXPECT_EQ(Window.lblProgress.Caption, "75%");
  EXPECT_EQ(Window.lblProgressInfo1.Caption, "less");
}

TEST_F(InstallerRun, CompletionOffersContinueAndStopsTheMonitor) {
  for (const std::int32_t Code : {100, 250, INT32_MAX}) {
    Report(Code, "done");
    EXPECT_EQ(Window.imgProgress.Tag, 200);
    EXPECT_EQ(Window.lblProgress.Caption, "100%");
    EXPECT_FALSE(Window.tmrInstallerMonitor.Enabled());
    EXPECT_EQ(Window.lblProgressInfo1.Caption, "");
    EXPECT_EQ(Window.lblProgressInfo2.Caption, "");
    EXPECT_EQ(Window.lblTitle2.Caption, "Click 'Continue' to complete the installation");
    EXPECT_EQ(Window.lblInstall.Caption, "Continue");
    EXPECT_EQ(Window.lblInstall.Tag, 2);
    EXPECT_EQ(Window.lblInstall.Font.Color, ui::clWhite);
    EXPECT_FALSE(Window.imgInstallHL.Visible);
  }
}

TEST_F(InstallerRun, TheMonitorWaitsTenMillisecondsAndSeesAnEarlyExit) {
  Report(60, "busy");
  Window.tmrInstallerMonitor.OnTimer(Window.tmrInstallerMonitor);
  EXPECT_EQ(Window.lblInstall.Tag, 1);
  EXPECT_EQ(Processes.Waits, std::vector<unsigned>{10});
  for (const auto Ending : {platform::IProcess::TWait::Ended, platform::IProcess::TWait::Failed}) {
    Processes.State = Ending;
    Window.tmrInstallerMonitor.SetEnabled(true);
    Window.tmrInstallerMonitor.OnTimer(Window.tmrInstallerMonitor);
    EXPECT_FALSE(Window.tmrInstallerMonitor.Enabled());
    EXPECT_EQ(Window.lblProgressInfo1.Caption, "Something went wrong.");
    EXPECT_EQ(Window.lblProgressInfo1.Font.Color, app::clErrorRed);
    EXPECT_EQ(Window.lblProgressInfo2.Caption, "Close all Vestora applications and services and try again.");
    EXPECT_EQ(Window.lblInstall.Caption, "Done");
    EXPECT_EQ(Window.lblInstall.Tag, 3);
    EXPECT_EQ(Window.lblInstall.Font.Color, ui::clWhite);
    EXPECT_FALSE(Window.imgInstallHL.Visible);
    EXPECT_EQ(Window.imgProgress.Tag, 160);
  }
}

// Only the installer we started may report: on the licence page, while the
// download runs, after a start that failed and after the installer failed,
// a report (from any process) changes nothing.
enum class TStage { Licence, Downloading, StartFailed, InstallerFailed };

class IgnoredReports : public wizard::WindowTest, public ::testing::WithParamInterface<TStage> {};

TEST_P(IgnoredReports, LeaveTheBarAndTheActionAlone) {
  CreateAndShow();
  if (GetParam() != TStage::Licence) Click(Window.lblAgree);
  if (GetParam() == TStage::StartFailed) Processes.Outcome = platform::IProcesses::TStartResult::Failed;
  if (GetParam() >= TStage::StartFailed) Downloads.Calls.back().OnProgress("Downloaded\xAC" "33 of 33mb", 100);
  if (GetParam() == TStage::InstallerFailed) {
    Processes.State = platform::IProcess::TWait::Ended;
    Window.tmrInstallerMonitor.OnTimer(Window.tmrInstallerMonitor);
  }
  EXPECT_EQ(Window.KeepsSystemAwake(), GetParam() == TStage::Downloading);
  const int Step = Window.imgProgress.Tag;
  const int Action = Window.lblInstall.Tag;
  Window.CopyData({100, "done"});
  EXPECT_EQ(Window.imgProgress.Tag, Step);
  EXPECT_EQ(Window.lblInstall.Tag, Action);
  EXPECT_NE(Window.lblProgressInfo1.Caption, "done");
}

INSTANTIATE_TEST_SUITE_P(Stages, IgnoredReports,
                         ::testing::Values(TStage::Licence, TStage::Downloading, TStage::StartFailed,
                                           TStage::InstallerFailed));

}  // namespace
