#include "tests/unit/WindowFixture.h"

namespace {

using KIVWindow = wizard::WindowTest;

TEST_F(KIVWindow, CreateShowsTheLicencePageWithItsRunTimeCaptions) {
  Window.lblInstall.Tag = 7;
  Window.FormCreate();
  EXPECT_EQ(Window.Notebook1.PageIndex, 0);
  EXPECT_EQ(Window.Caption, "Vestora Installer");
  EXPECT_EQ(Window.lblAgree.Caption, "Agree && Install");
  EXPECT_EQ(Window.lblDontAgree.Caption, "Disagree");
  EXPECT_EQ(Window.lblInstall.Caption, "Install");
  EXPECT_EQ(Window.lblInstall.Tag, 0);
  EXPECT_EQ(Window.lblDone.Caption, "More...");
  EXPECT_EQ(Window.lblProgressInfo1.Caption, "");
  EXPECT_EQ(Window.ProgressFullWidth(), 371);
  EXPECT_EQ(Window.ResellerId(), 0);
  EXPECT_TRUE(Window.DoubleBuffered);
  EXPECT_TRUE(Window.PageEULA.DoubleBuffered);
  EXPECT_TRUE(Window.PageOpInstall.DoubleBuffered);
  EXPECT_FALSE(Window.PageReboot.DoubleBuffered);
}

struct TFolderCase {
  std::optional<platform::TPath> Profile;
  platform::TPath Expected;
};

class DownloadFolder : public KIVWindow, public ::testing::WithParamInterface<TFolderCase> {};

TEST_P(DownloadFolder, FollowsTheProfileFolder) {
  Folders.Profile = GetParam().Profile;
  Window.FormCreate();
  EXPECT_EQ(Window.DownloadFolder(), GetParam().Expected);
  if (GetParam().Expected.empty()) {
    EXPECT_TRUE(Folders.Created.empty());
  } else {
    EXPECT_EQ(Folders.Created, std::vector<platform::TPath>{GetParam().Expected});
  }
}

INSTANTIATE_TEST_SUITE_P(Profiles, DownloadFolder,
                         ::testing::Values(TFolderCase{L"C:\\Users\\ann", L"C:\\Users\\ann\\Downloads\\"},
                                           TFolderCase{L"C:\\Users\\ann\\", L"C:\\Users\\ann\\Downloads\\"},
                                           TFolderCase{std::nullopt, L""}));

TEST_F(KIVWindow, ShowRecordsTheResellerNumberButKeepsItUnsetAndWrapsWithTheListFont) {
  Host.CharWidth = 120;  // "a b c" is 600 pixels: wider than 511
  Window.FormCreate();
  Window.FormShow();
  EXPECT_EQ(Reseller.Calls, 1);
  EXPECT_EQ(Window.ResellerId(), 0);
  ASSERT_EQ(Host.MeasuredFonts.size(), 1u);
  EXPECT_EQ(Host.MeasuredFonts[0], Window.EULA.Font);
  EXPECT_EQ(Window.EULA.Items, (std::vector<std::string>{"Licence title", "", "a b ", "c"}));
}

// While the download or the installer runs, the PC must not sleep either.
TEST_F(KIVWindow, CloseIsRefusedOnlyWhileTheInstallActionRuns) {
  Window.FormCreate();
  for (const int Tag : {0, 1, 2, 3}) {
    Window.lblInstall.Tag = Tag;
    bool CanClose = true;
    Window.FormCloseQuery(CanClose);
    EXPECT_EQ(CanClose, Tag != 1) << "tag " << Tag;
    EXPECT_EQ(Window.KeepsSystemAwake(), Tag == 1) << "tag " << Tag;
    EXPECT_EQ(Window.ShutdownBlockReason(),
              Tag == 1 ? "Vestora Editor is being installed. Please wait until it has finished." : "");
  }
}

TEST_F(KIVWindow, EraseBackgroundCountsAsDoneWithoutPainting) {
  ui::TMessage Erase{0x0014, 0, 0, 0};
  EXPECT_TRUE(Window.Dispatch(Erase));
  EXPECT_EQ(Erase.Result, 1);
  ui::TMessage Other{0x0201, 0, 0, 0};
  EXPECT_FALSE(Window.Dispatch(Other));
}

TEST_F(KIVWindow, DisagreeAsksForTheOrdinaryCloseAndTheTitleClickDoesNothing) {
  Window.FormCreate();
  Window.lblEULATitle1.OnClick(Window.lblEULATitle1);
  EXPECT_EQ(Host.CloseRequests, 0);
  Window.lblDontAgree.OnClick(Window.lblDontAgree);
  EXPECT_EQ(Host.CloseRequests, 1);
}

TEST_F(KIVWindow, ClicksReachTheTopmostControlOfThePage) {
  Window.FormCreate();
  Window.Notebook1.PageIndex = 1;
  Window.imgInstallHL.Visible = true;
  // lblInstall lies inside the grey button face and above it.
  const ui::TRect Face = Window.imgInstallHL.Bounds;
  const ui::TRect Action = Window.lblInstall.Bounds;
  EXPECT_TRUE(Face.Left <= Action.Left && Action.Right() <= Face.Right() && Face.Top <= Action.Top &&
              Action.Bottom() <= Face.Bottom());
  EXPECT_EQ(Window.PageInstall.ControlAt(500, 300), &Window.lblInstall);
  EXPECT_EQ(Window.PageInstall.ControlAt(451, 285), &Window.imgInstallHL);
  // The grey bar, when shown, covers the percentage label.
  Window.imgProgressGrey.Bounds = Window.imgProgress.Bounds;
  Window.imgProgressGrey.Visible = true;
  EXPECT_EQ(Window.PageInstall.ControlAt(200, 170), &Window.imgProgressGrey);
  Window.imgProgressGrey.Visible = false;
  EXPECT_EQ(Window.PageInstall.ControlAt(200, 170), &Window.lblProgress);
}

TEST_F(KIVWindow, PaintBackgroundsFillEveryPage) {
  for (const ui::TPage* Page : Window.Notebook1.Pages) {
    auto* Background = dynamic_cast<ui::TImage*>(Page->Controls.front());
    ASSERT_NE(Background, nullptr) << Page->Caption;
    EXPECT_TRUE(Background->Visible && Background->Stretch);
    EXPECT_EQ(Background->Bounds.Left, 0);
    EXPECT_EQ(Background->Bounds.Top, 0);
    EXPECT_EQ(Background->Bounds.Width, Window.ClientWidth);
    EXPECT_EQ(Background->Bounds.Height, Window.ClientHeight);
  }
}

TEST_F(KIVWindow, LicenceRowsAreDrawnAlikeOneRunAtTheInset) {
  struct TCall {
    std::string What;
    ui::TRect Rect;
    std::string Text;
  };
  class TRecordingCanvas final : public ui::ICanvas {
  public:
    void FillRect(ui::TRect Rect, ui::TColor Color) override { Calls.push_back({"fill" + std::to_string(Color), Rect, ""}); }
    void TextOut(int X, int Y, const std::string& Text, const ui::TFont& Font) override {
      Calls.push_back({"text" + std::to_string(Font.Color), {X, Y, 0, 0}, Text});
    }
    void DrawFocusRect(ui::TRect Rect) override { Calls.push_back({"focus", Rect, ""}); }
    std::vector<TCall> Calls;
  } Canvas;
  Window.EULA.OnDrawItem(Window.EULA, Canvas, 2, {0, 34, 521, 17});
  ASSERT_EQ(Canvas.Calls.size(), 2u);
  EXPECT_EQ(Canvas.Calls[0].What, "fill" + std::to_string(ui::clWhite));
  EXPECT_EQ(Canvas.Calls[1].What, "text" + std::to_string(app::clGreyText));
  EXPECT_EQ(Canvas.Calls[1].Rect.Left, 1);
  EXPECT_EQ(Canvas.Calls[1].Rect.Top, 34);
  EXPECT_EQ(Canvas.Calls[1].Text, "a b c");
}

}  // namespace
