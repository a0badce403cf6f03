#include "app/PageArithmetic.h"
#include "tests/unit/WindowFixture.h"

namespace {

using StatusLines = wizard::WindowTest;

TEST(SplitStatusText, SplitsAtTheFirstSeparatorAndFillsEmptyLinesWithDefaults) {
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
  for (const auto& Case : Cases) {
    const app::TStatusLines Lines = app::SplitStatusText(Case.Text, "Downloading...", "Please wait");
    EXPECT_EQ(Lines.Line1, Case.Line1) << Case.Text;
    EXPECT_EQ(Lines.Line2, Case.Line2) << Case.Text;
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
    EXPECT_EQ(Window.imgProgressGrey.Meaning, ui::TPictureMeaning::DimmedBar);  // grey in the contrast theme too
    EXPECT_FALSE(Window.imgProgress.Visible);
  }
}

// The bar of 371 pixels from x 171 with its 49-pixel label, as the install page lays it out.
TEST(ProgressFrame, TheLabelTravelsThenStopsAndBrightens) {
  const struct {
    int Step;
    int Width;
    const char* Percent;
    int Left;
    ui::TColor Colour;
  } Cases[] = {{0, 0, "0%", 171, app::clGreyText},       {1, 1, "0%", 172, app::clGreyText},
               {168, 311, "84%", 482, app::clGreyText},  {169, 313, "84%", 483, 0x686868},
               {199, 369, "99%", 483, 0xF9F9F9}};
  for (const auto& Case : Cases) {
    const app::TProgressFrame Frame = app::ProgressFrame(Case.Step, 171, 371, 49);
    EXPECT_EQ(Frame.BarWidth, Case.Width) << Case.Step;
    EXPECT_EQ(Frame.Percent, Case.Percent) << Case.Step;
    EXPECT_EQ(Frame.LabelLeft, Case.Left) << Case.Step;
    EXPECT_EQ(Frame.LabelColour, Case.Colour) << Case.Step;
  }
}

// The licence's 187 rows on a track of 138 pixels (168 less the 30-pixel thumb).
TEST(Scrollbar, ThumbAndLineMapOntoEachOther) {
  const struct {
    int Line;
    int Thumb;
  } Cases[] = {{0, 0}, {1, 0}, {93, 68}, {186, 137}};
  for (const auto& Case : Cases) EXPECT_EQ(app::ThumbTop(Case.Line, 187, 138), Case.Thumb) << Case.Line;
  EXPECT_EQ(app::ThumbTop(5, 0, 138), 0);  // an empty list keeps the thumb at the top
  EXPECT_EQ(app::LineAtThumb(15, 15, 187, 138), 0);
  EXPECT_EQ(app::LineAtThumb(84, 15, 187, 138), 93);
  EXPECT_EQ(app::LineAtThumb(0, 15, 187, 138), -20);  // the caller clamps to the first line
}

}  // namespace
