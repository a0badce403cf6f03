#include "tests/unit/WindowFixture.h"

namespace {

using StatusLines = wizard::WindowTest;

TEST_F(StatusLines, SplitAtTheFirstSeparatorAndFillEmptyLinesWithDefaults) {
  const struct {
    const char* Text;
    const char* Line1;
    const char* Line2;
  } Cases[] = {
      {"A\xAC" "B", "A", "B"},
      {"A", "A", "Please wait"},
      {"", "Downloading...", "Please wait"},
      {"\xAC" "B", "Downloading...", "B"},
      {"A\xAC", "A", "Please wait"},
      {"A\xAC" "B\xAC" "C", "A", "B\xAC" "C"},
      {"\xAC", "Downloading...", "Please wait"},
  };
  Window.FormCreate();
  for (const auto& Case : Cases) {
    Window.SetStatusText(Case.Text, "Downloading...", "Please wait", false);
    EXPECT_EQ(Window.lblProgressInfo1.Caption, Case.Line1) << Case.Text;
    EXPECT_EQ(Window.lblProgressInfo2.Caption, Case.Line2) << Case.Text;
  }
}

TEST_F(StatusLines, EmptyDefaultsLeaveTheLinesEmpty) {
  Window.FormCreate();
  Window.SetStatusText("", "", "", false);
  EXPECT_EQ(Window.lblProgressInfo1.Caption, "");
  EXPECT_EQ(Window.lblProgressInfo2.Caption, "");
}

TEST_F(StatusLines, AnErrorReddensLineOneOnlyUntilTheNextMessage) {
  Window.FormCreate();
  Window.SetStatusText("Failed\xAC" "why", "", "", true);
  EXPECT_EQ(Window.lblProgressInfo1.Font.Color, app::clErrorRed);
  EXPECT_EQ(Window.lblProgressInfo2.Font.Color, app::clGreyText);
  Window.SetStatusText("Fine", "", "", false);
  EXPECT_EQ(Window.lblProgressInfo1.Font.Color, app::clGreyText);
}

TEST_F(StatusLines, GreyBarTakesTheColouredBarsCurrentBounds) {
  Window.FormCreate();
  for (const int Width : {0, 123}) {
    Window.imgProgress.Visible = true;
    Window.imgProgress.Bounds.Width = Width;
    Window.GreyOutProgressBar();
    EXPECT_EQ(Window.imgProgressGrey.Bounds.Left, 171);
    EXPECT_EQ(Window.imgProgressGrey.Bounds.Top, 159);
    EXPECT_EQ(Window.imgProgressGrey.Bounds.Width, Width);
    EXPECT_EQ(Window.imgProgressGrey.Bounds.Height, 36);
    EXPECT_TRUE(Window.imgProgressGrey.Visible);
    EXPECT_FALSE(Window.imgProgress.Visible);
  }
}

}  // namespace
