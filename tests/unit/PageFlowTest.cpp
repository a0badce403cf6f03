// The wizard's states and transitions, driven through its handlers.
#include <cctype>
#include <functional>
#include <string>

#include "download/VestoraLinks.h"
#include "tests/unit/WindowFixture.h"
#include "vestora/BuildConfig.h"

namespace {

using wizard::WindowTest;

class PageFlow : public WindowTest {
public:
  void ClickOn(ui::TControl& Control) { Click(Control); }
  void ReportFailure() { Report("Download Error [5]\xAC" "Please check your internet connection and try again.", -1); }
  void ReportComplete() { Report("Downloaded\xAC" "33 of 33mb", 100); }
  void ReportCompleteButTheInstallerCannotStart() {
    Processes.Outcome = platform::IProcesses::TStartResult::Failed;
    ReportComplete();
  }

protected:
  // The state table: page, lblInstall tag, caption and colour, and lblDone's tag.
  [[nodiscard]] std::string State() const {
    if (Host.CloseRequests > 0) return "program ends";
    const int Page = Window.Notebook1.PageIndex;
    const int Tag = Window.lblInstall.Tag;
    const std::string& Caption = Window.lblInstall.Caption;
    const bool White = Window.lblInstall.Font.Color == ui::clWhite;
    const int DoneTag = Window.lblDone.Tag;
    struct TRow {
      const char* Name;
      int Page;
      int Tag;
      const char* Caption;
      bool White;
      int DoneTag;
    };
    static const TRow Rows[] = {
        {"Licence", 0, 0, "Install", true, 0},           {"Downloading", 1, 1, "Cancel", true, 0},
        {"Installing", 1, 1, "Cancel", false, 0},        {"Idle", 1, 0, "Install", true, 0},
        {"Installed", 1, 2, "Continue", true, 0},        {"Installer failed", 1, 3, "Done", true, 0},
        {"Optional installs", 2, 2, "Continue", true, 0}, {"Codec packs", 2, 2, "Continue", true, 1},
        {"Restart", 3, 2, "Continue", true, 1},
    };
    for (const TRow& Row : Rows) {
      if (Row.Page == Page && Row.Tag == Tag && Caption == Row.Caption && Row.White == White &&
          Row.DoneTag == DoneTag) {
        return Row.Name;
      }
    }
    return "unknown";
  }

  [[nodiscard]] bool CloseGranted() {
    bool CanClose = true;
    Window.FormCloseQuery(CanClose);
    return CanClose;
  }

  void Report(const std::string& Text, std::int32_t Percent) { Downloads.Calls.back().OnProgress(Text, Percent); }

  // Brings the wizard into a named state the way the user and the other parts do.
  void Enter(const std::string& Name) {
    CreateAndShow();
    if (Name == "Licence") return;
    Click(Window.lblAgree);
    if (Name == "Downloading") return;
    if (Name == "Idle") {
      Click(Window.lblInstall);
      return;
    }
    if (Name == "Installing") {
      ReportComplete();
      return;
    }
    // The installer's reports and its monitor set these.
    Window.lblInstall.Tag = Name == "Installer failed" ? 3 : 2;
    Window.lblInstall.Caption = Name == "Installer failed" ? "Done" : "Continue";
    if (Name == "Installed" || Name == "Installer failed") return;
    Click(Window.lblInstall);
    if (Name == "Optional installs") return;
    Click(Window.lblDone);
    if (Name == "Codec packs") return;
    Click(Window.lblDone);
  }

  void InstallProduct(const std::wstring& MainExe, const std::wstring& File) {
    Registry.PutString(platform::TRootKey::LocalMachine, L"SOFTWARE\\Ostrevane\\vestora\\", L"MainExe", MainExe);
    Folders.Existing.insert(File);
  }
};

struct TTransition {
  const char* From;
  const char* Event;
  std::function<void(PageFlow&, app::TKIVWindow&)> Act;
  const char* To;
};

class Transitions : public PageFlow, public ::testing::WithParamInterface<TTransition> {};

TEST_P(Transitions, LeadToTheNextState) {
  Enter(GetParam().From);
  ASSERT_EQ(State(), GetParam().From);
  GetParam().Act(*this, Window);
  EXPECT_EQ(State(), GetParam().To);
}

#define ON(Control) [](PageFlow& Test, app::TKIVWindow& W) { Test.ClickOn(W.Control); }

INSTANTIATE_TEST_SUITE_P(
    StateTable, Transitions,
    ::testing::Values(
        TTransition{"Licence", "agree", ON(lblAgree), "Downloading"},
        TTransition{"Licence", "disagree", ON(lblDontAgree), "program ends"},
        TTransition{"Licence", "title", ON(lblEULATitle1), "Licence"},
        TTransition{"Downloading", "cancel", ON(lblInstall), "Idle"},
        TTransition{"Downloading", "help", ON(lblHelp), "Downloading"},
        TTransition{"Downloading", "failure report",
                    [](PageFlow& Test, app::TKIVWindow&) { Test.ReportFailure(); }, "Idle"},
        TTransition{"Downloading", "complete", [](PageFlow& Test, app::TKIVWindow&) { Test.ReportComplete(); },
                    "Installing"},
        TTransition{"Downloading", "complete but the installer cannot start",
                    [](PageFlow& Test, app::TKIVWindow&) { Test.ReportCompleteButTheInstallerCannotStart(); }, "Idle"},
        TTransition{"Installing", "click on the grey action", ON(lblInstall), "Installing"},
        TTransition{"Installing", "help", ON(lblHelp), "Installing"},
        TTransition{"Idle", "install again", ON(lblInstall), "Downloading"},
        TTransition{"Installed", "continue", ON(lblInstall), "Optional installs"},
        TTransition{"Installer failed", "done", ON(lblInstall), "program ends"},
        TTransition{"Installer failed", "help", ON(lblHelp), "Installer failed"},
        TTransition{"Optional installs", "more", ON(lblDone), "Codec packs"},
        TTransition{"Codec packs", "done", ON(lblDone), "Restart"},
        TTransition{"Restart", "restart", ON(lblRestart), "program ends"}),
    [](const ::testing::TestParamInfo<TTransition>& Info) {
      std::string Name = std::string(Info.param.From) + "_" + Info.param.Event;
      for (char& C : Name) C = std::isalnum(static_cast<unsigned char>(C)) ? C : '_';
      return Name;
    });

#undef ON

class CloseBox : public PageFlow, public ::testing::WithParamInterface<const char*> {};

TEST_P(CloseBox, IsRefusedOnlyWhileDownloadingOrInstalling) {
  const std::string Name = GetParam();
  Enter(Name);
  ASSERT_EQ(State(), Name);
  EXPECT_EQ(CloseGranted(), Name != "Downloading" && Name != "Installing");
}

INSTANTIATE_TEST_SUITE_P(EveryState, CloseBox,
                         ::testing::Values("Licence", "Downloading", "Installing", "Idle", "Installed",
                                           "Installer failed", "Optional installs", "Codec packs", "Restart"),
                         [](const ::testing::TestParamInfo<const char*>& Info) {
                           std::string Name = Info.param;
                           for (char& C : Name) C = std::isalnum(static_cast<unsigned char>(C)) ? C : '_';
                           return Name;
                         });

TEST_F(PageFlow, AcceptingStartsTheDownloadBeforeThePageShows) {
  CreateAndShow();
  Reseller.Number = 42;
  int PageWhenStarted = -1;
  Downloads.OnCreate = [&] { PageWhenStarted = Window.Notebook1.PageIndex; };
  Click(Window.lblAgree);
  ASSERT_EQ(Downloads.Calls.size(), 1u);
  const auto& Call = Downloads.Calls[0];
  EXPECT_EQ(Call.Url, download::GetLinkURL("VestoraEditorInstaller.exe", "file", ""));
  EXPECT_EQ(Call.FileName, Window.DownloadFolder() + L"VestoraEditorInstaller.exe");
  EXPECT_EQ(Call.MinSize, 100000);
  EXPECT_EQ(Window.Notebook1.PageIndex, 1);
  EXPECT_EQ(Window.ResellerId(), 42);
  EXPECT_EQ(Reseller.Calls, 2);  // once when shown, once when accepted
  EXPECT_EQ(PageWhenStarted, 0);
  EXPECT_TRUE(Host.Boxes.empty());
  EXPECT_EQ(Folders.Probed, std::vector<platform::TPath>{L"VestoraEditorPremier.exe"});
}

TEST_F(PageFlow, AnInstalledProductIsAskedAboutInTheFolderOfTheStoredPath) {
  CreateAndShow();
  InstallProduct(L"C:\\Apps\\Other.exe", L"C:\\Apps\\VestoraEditorPremier.exe");
  Versions.Files[L"C:\\Apps\\VestoraEditorPremier.exe"] = {4, 0, 1, 7};
  Host.Answer = 7;  // No
  Click(Window.lblAgree);
  ASSERT_EQ(Host.Boxes.size(), 1u);
  EXPECT_EQ(Host.Boxes[0].Text,
            "Vestora Editor v4.0.1.7 is already installed on this PC.\r\rAre you sure you want to replace it?");
  EXPECT_EQ(Host.Boxes[0].Caption, "Vestora Installer");
  EXPECT_EQ(Host.Boxes[0].Flags, 0x44u);
  EXPECT_EQ(State(), "program ends");
  EXPECT_TRUE(Downloads.Calls.empty());
  EXPECT_EQ(Reseller.Calls, 1);
}

TEST_F(PageFlow, YesReplacesAndAnUnreadableVersionLeavesAGap) {
  CreateAndShow();
  InstallProduct(L"D:VestoraEditorPremier.exe", L"D:VestoraEditorPremier.exe");
  Host.Answer = ui::MessageBoxAnswerYes;
  Click(Window.lblAgree);
  ASSERT_EQ(Host.Boxes.size(), 1u);
  EXPECT_EQ(Host.Boxes[0].Text,
            "Vestora Editor v is already installed on this PC.\r\rAre you sure you want to replace it?");
  EXPECT_EQ(State(), "Downloading");
}

TEST_F(PageFlow, AMainExeThatIsNoStringStopsTheClickWithTheError) {
  CreateAndShow();
  Registry.PutNumber(platform::TRootKey::LocalMachine, L"SOFTWARE\\Ostrevane\\vestora\\", L"MainExe");
  EXPECT_THROW(Click(Window.lblAgree), platform::ERegistryException);
  EXPECT_EQ(State(), "Licence");
}

TEST_F(PageFlow, CancelWaitsForTheThreadsLastReportThenShowsItsOwnMessage) {
  Enter("Downloading");
  Downloads.OnWait = [this] { Report("Download Terminated\xAC" "Please check your internet connection and try again.", -1); };
  Click(Window.lblInstall);
  ASSERT_EQ(Downloads.Logs.size(), 1u);
  EXPECT_EQ(Downloads.Logs[0]->Terminated, 1);
  EXPECT_EQ(Downloads.Logs[0]->Waited, 1);
  EXPECT_EQ(Downloads.Logs[0]->Destroyed, 1);
  EXPECT_EQ(Window.lblProgressInfo1.Caption, "Installation cancelled.");
  EXPECT_EQ(Window.lblProgressInfo1.Font.Color, app::clGreyText);
  EXPECT_EQ(Window.lblProgressInfo2.Caption, "");
  EXPECT_TRUE(Window.imgProgressGrey.Visible);
  EXPECT_FALSE(Window.imgProgress.Visible);
}

TEST_F(PageFlow, ADownloadThatCompletesDuringTheCancelNeverRuns) {
  Enter("Downloading");
  Downloads.OnWait = [this] { ReportComplete(); };
  Click(Window.lblInstall);
  EXPECT_TRUE(Processes.Started.empty());
  EXPECT_EQ(Folders.Removed, std::vector<platform::TPath>{Window.DownloadFolder() + L"VestoraEditorInstaller.exe"});
  EXPECT_EQ(State(), "Idle");
  EXPECT_EQ(Window.lblProgressInfo1.Caption, "Installation cancelled.");
  EXPECT_FALSE(Window.tmrInstallerMonitor.Enabled());
}

TEST_F(PageFlow, InstallAgainResetsTheBarAndReplacesTheFinishedThread) {
  Folders.Profile = L"C:\\Users\\ann";
  Enter("Downloading");
  Report("Downloading 40%\xAC" "x", 40);
  Report("Download Error [4]\xAC" "Please check your internet connection and try again.", -1);
  ASSERT_EQ(State(), "Idle");
  Click(Window.lblInstall);
  EXPECT_EQ(State(), "Downloading");
  ASSERT_EQ(Downloads.Calls.size(), 2u);
  EXPECT_EQ(Downloads.Calls[1].FileName, Downloads.Calls[0].FileName);
  // Made at the start and again before each download.
  EXPECT_EQ(Folders.Created, std::vector<platform::TPath>(3, L"C:\\Users\\ann\\Downloads\\"));
  EXPECT_EQ(Downloads.Logs[0]->Destroyed, 1);
  EXPECT_EQ(Window.imgProgress.Tag, 0);
  EXPECT_EQ(Window.imgProgress.Bounds.Width, 0);
  EXPECT_TRUE(Window.imgProgress.Visible);
  EXPECT_FALSE(Window.imgProgressGrey.Visible);
}

TEST_F(PageFlow, HelpOpensTheMakersPageWithTheAcceptedResellerNumber) {
  CreateAndShow();
  Reseller.Number = -5;
  Click(Window.lblAgree);
  Click(Window.lblHelp);
  ASSERT_EQ(Shell.Opened.size(), 1u);
  EXPECT_EQ(Shell.Opened[0], std::string("http://") + VESTORA_HELP_HOST + "/r/?id=-5&mode=1");
  EXPECT_EQ(Shell.Owners[0], 0u);  // the desktop window
}

TEST_F(PageFlow, ContinueRunsTheChecksBeforeThePageShows) {
  Enter("Installed");
  Registry.PutString(platform::TRootKey::LocalMachine, L"SOFTWARE\\Microsoft\\Directx", L"Version", L"4.09.00.0904");
  Click(Window.lblInstall);
  EXPECT_EQ(Window.lblDX2.Caption, "Installed");
  EXPECT_EQ(Window.lblQT2.Caption, "Click to intstall");
  EXPECT_TRUE(Window.tmrSWCheck.Enabled());
}

TEST_F(PageFlow, ACheckThatFailsKeepsTheUserOnTheInstallPage) {
  Enter("Installed");
  Registry.PutNumber(platform::TRootKey::LocalMachine, L"SOFTWARE\\Microsoft\\Directx", L"Version");
  EXPECT_THROW(Click(Window.lblInstall), platform::ERegistryException);
  EXPECT_EQ(State(), "Installed");
  EXPECT_TRUE(Window.tmrSWCheck.Enabled());
}

TEST_F(PageFlow, RestartClosesEvenWhenTheSystemRefuses) {
  Restart.Accepted = false;
  Enter("Restart");
  Click(Window.lblRestart);
  EXPECT_EQ(Restart.Calls, 1);
  EXPECT_EQ(State(), "program ends");
}

}  // namespace
